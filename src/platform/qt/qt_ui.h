#pragma once
// The UI seam on Qt widgets: message boxes with the system's buttons and
// answers, the input box, the file dialogs, the busy pointer, the clipboard,
// fonts and printers, and the program's windows by name. Window code registers
// a factory for each window name; the named-window calls make, show, change and
// unload those windows.
#include <QPointer>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"

class QWidget;

namespace kv {

class QtUi : public Ui {
 public:
  // Makes a window when it is first used (its load). The window belongs to the
  // seam from then on: closing it (Qt::WA_DeleteOnClose) or UnloadWindow ends it.
  using WindowFactory = std::function<QWidget*()>;

  QtUi() = default;
  ~QtUi() override;
  QtUi(const QtUi&) = delete;
  QtUi& operator=(const QtUi&) = delete;

  void RegisterWindow(std::string_view windowName, WindowFactory factory);
  // The loaded window of that name, or null.
  QWidget* LoadedWindow(std::string_view windowName) const;

  int MsgBox(std::string_view text, int style, std::string_view title) override;
  std::optional<std::string> InputBox(std::string_view prompt, std::string_view title,
                                      std::string_view initial) override;
  std::optional<std::string> OpenFileDialog(const FileDialogRequest& req) override;
  std::optional<std::string> SaveFileDialog(const FileDialogRequest& req) override;
  void SetBusyPointer(bool busy) override;
  std::string ClipboardText() override;
  void SetClipboardText(std::string_view text) override;
  std::string ClipboardImage() override;
  // The size the picture's header gives; a picture small enough to decode
  // (within Qt's image allocation limit) must decode whole as well.
  std::optional<ImageSize> ImagePixelSize(std::string_view bytes) override;
  TextSize TextExtent(std::string_view text, std::string_view fontName, double pointSize) override;
  std::vector<std::string> FontFamilies() override;
  std::vector<std::string> PrinterNames() override;
  std::string DefaultPrinterName() override;
  // Always true: the PDF output is there without asking the print system.
  bool PrinterInstalled() override { return true; }
  std::optional<long> ColorDialog(const ColorDialogRequest& req) override;
  std::optional<FontDialogFont> FontDialog(const FontDialogRequest& req) override;
  std::optional<PrintDialogPages> PrintDialog(const PrintDialogRequest& req) override;
  void ProcessEvents() override;
  void Beep() override;
  void ShowModal(std::string_view windowName) override;
  void ShowModeless(std::string_view windowName) override;
  void UnloadWindow(std::string_view windowName) override;
  bool IsWindowLoaded(std::string_view windowName) override;
  // True when a factory is registered for the name.
  bool HasWindow(std::string_view windowName) override;
  void TouchWindow(std::string_view windowName) override;
  void SetWindowText(std::string_view windowName, std::string_view control,
                     std::string_view text) override;
  void SetControlEnabled(std::string_view windowName, std::string_view control,
                         bool enabled) override;
  void SetWindowEnabled(std::string_view windowName, bool enabled) override;
  void SetWindowTopMost(std::string_view windowName, bool topMost) override;
  void SendWindowToBottom(std::string_view windowName) override;
  WindowState GetWindowState(std::string_view windowName) override;
  void SetWindowState(std::string_view windowName, WindowState state) override;
  void ActivateWindow(std::string_view windowName) override;
  std::optional<WindowRect> WindowBounds(std::string_view windowName) override;
  void MoveWindow(std::string_view windowName, int left, int top) override;
  TextSize ScreenSize() override;
  bool OpenDocument(std::string_view path) override;
  [[noreturn]] void EndProgram(int exitCode) override;

 private:
  // The loaded window, made by its factory when not loaded yet; null when no
  // factory is registered for the name.
  QWidget* LoadWindow(std::string_view windowName);
  QWidget* Control(std::string_view windowName, std::string_view control);
  std::optional<std::string> FileDialog(const FileDialogRequest& req, bool save);
  // The print system's printers and its default, asked once, at the first
  // need (a round trip to the print service).
  void SystemPrintersLoad();

  std::map<std::string, WindowFactory, std::less<>> factories_;
  std::map<std::string, QPointer<QWidget>, std::less<>> windows_;
  bool busy_ = false;
  std::optional<std::vector<std::string>> systemPrinters_;
  std::string systemDefaultPrinter_;
};

}  // namespace kv
