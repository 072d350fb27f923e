#pragma once
// A tool window beside the editor (the unit list, the classification
// master): modeless, without an owner, a menu bar over one grid that fills
// the client area. Its logic remembers where it stood (outer rectangles in
// twips, as the settings files keep them), its state, and reaches the
// editor's sheet and non-print row lock; the window hands it resizes, state
// changes and the close (which the logic may refuse).
#include <QWidget>
#include <string>
#include <string_view>

#include "platform/grid/grid_model.h"
#include "platform/ui.h"

class QMenuBar;

namespace kv {

struct ProgramState;
class QtUi;
class GridView;

class ToolWindow : public QWidget {
 public:
  // `name`: the window's name with the Qt seam; `sheetName`: the grid's.
  // `availableScreen`: a place counts as on the screen only inside the
  // screens' available area (without the task bars).
  ToolWindow(ProgramState& st, QtUi& ui, std::string_view name, const char* sheetName, bool availableScreen);
  ~ToolWindow() override;

 protected:
  // The placement, state, editor and unload members every tool window's
  // port has, bound to this window.
  template <class Port>
  void BindToolPort(Port& port) {
    port.Bounds = [this] { return Bounds(); };
    port.SetBounds = [this](const WindowRect& r) { SetBounds(r); };
    port.CenterAt = [this](int widthTw, int heightTw) { CenterAt(widthTw, heightTw); };
    port.ScreenTwips = [this] { return ScreenArea(); };
    port.State = [this] { return State(); };
    port.SetState = [this](WindowState s) { SetState(s); };
    port.HiinsatuStateSet = [this](bool locked) { EditorHiinsatuStateSet(locked); };
    port.EditorSheetFocus = [this] { EditorSheetFocus(); };
    port.EditorSheet = [this] { return EditorSheet(); };
    port.Unload = [this] { close(); };
  }

  // A resize or a change of the window state.
  virtual void Resized() = 0;
  // The close: false keeps the window open.
  virtual bool QueryUnload() = 0;

  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

  int Tw(int px) const;
  int Px(int twips) const;

  ProgramState& st_;
  QtUi& ui_;
  GridModel sheet_;
  QMenuBar* bar_ = nullptr;
  GridView* view_ = nullptr;

 private:
  WindowRect Bounds() const;
  void SetBounds(const WindowRect& r);
  // Gives the window this outer size and centres it on the screen.
  void CenterAt(int widthTw, int heightTw);
  TextSize ScreenArea() const;
  WindowState State() const;
  void SetState(WindowState s);
  void EditorHiinsatuStateSet(bool locked);
  void EditorSheetFocus();
  GridModel* EditorSheet();

  std::string name_;
  bool availableScreen_ = false;
};

// A rectangle given in twips, in pixels of `w`'s screen.
QRect TwipsRect(const QWidget& w, int left, int top, int width, int height);

}  // namespace kv
