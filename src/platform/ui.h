#pragma once
// The seam between the logic and the user. Logic reaches the user only through
// this interface: the Qt build implements it with real widgets, tests with a
// scripted double that answers from a queue and records every prompt.
// All texts are display text (UTF-8).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Message box styles and answers, with the system's codes.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbDefaultButton1 = 0;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;

inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

inline constexpr int kMsgButtonsMask = 0x0F;
inline constexpr int kMsgIconMask = 0x70;
inline constexpr int kMsgDefaultMask = 0x300;

// What an open or save dialog is asked to show. `filter` has the system's form
// "description|pattern|description|pattern" (patterns separated by ";").
struct FileDialogRequest {
  std::string title;
  std::string filter;
  int filterIndex = 1;
  std::string initDir;
  std::string fileName;
  std::string defaultExt;
  int flags = 0;
};

// Flags of the open and save dialogs, with the system's codes (others are
// passed on and ignored).
inline constexpr int cdlOFNOverwritePrompt = 0x2;
inline constexpr int cdlOFNHideReadOnly = 0x4;
inline constexpr int cdlOFNPathMustExist = 0x800;
inline constexpr int cdlOFNFileMustExist = 0x1000;

// What the colour dialog starts from: a system colour value (red in the low
// byte, then green, then blue) and the caller's flags.
struct ColorDialogRequest {
  long color = 0;
  long flags = 0;
};

// A font as the font dialog shows and returns it: the family name as stored,
// the size in points, the styles, and the text colour (a system colour value).
struct FontDialogFont {
  std::string name;
  double pointSize = 0;
  bool bold = false;
  bool italic = false;
  bool strikethru = false;
  bool underline = false;
  long color = 0;
};

struct FontDialogRequest {
  FontDialogFont font;
  int minSize = 0;  // smallest and largest point size offered (0: no limit)
  int maxSize = 0;
  long flags = 0;
};

// The page range, the page limits and the copies of the print dialog: given
// to it, and the user's choice back.
struct PrintDialogPages {
  int fromPage = 0;
  int toPage = 0;
  int minPage = 0;
  int maxPage = 0;
  int copies = 0;
};

struct PrintDialogRequest {
  PrintDialogPages pages;
  long flags = 0;
  long hdc = 0;  // a device the caller already holds; 0 for none
};

// The print program renders pages to PDF: that output is a printer on every
// machine, listed after the system's printers.
inline constexpr std::string_view kPdfPrinterName = "TheKorvane PDF";

struct TextSize {
  int width = 0;   // pixels
  int height = 0;  // pixels
};

// Width and height of a picture, in its own pixels.
struct ImageSize {
  int width = 0;
  int height = 0;
};

// State of a top-level window.
enum class WindowState { Normal, Minimized, Maximized };

// Outer rectangle of a window on the screen, in pixels.
struct WindowRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Thrown by Ui::EndProgram in tests so that code after an "end the program"
// never runs; the Qt implementation ends the process instead.
struct ProgramEnded {
  int exitCode = 0;
};

class Ui {
 public:
  virtual ~Ui() = default;

  // Message box: `style` = buttons + icon + default button; returns vbOK ... vbNo.
  virtual int MsgBox(std::string_view text, int style, std::string_view title) = 0;

  // Plain text-input box; nullopt when cancelled.
  virtual std::optional<std::string> InputBox(std::string_view prompt, std::string_view title,
                                              std::string_view initial) = 0;
  // The input method of the input boxes shown from now on: on = Japanese
  // input switched on in the text box (as far as the desktop lets a program
  // ask); off = the box's own default. Read when a box is shown.
  void SetInputBoxImeOn(bool on) { inputBoxImeOn_ = on; }
  bool InputBoxImeOn() const { return inputBoxImeOn_; }

  // File dialogs; nullopt when cancelled, else the chosen full path.
  virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& req) = 0;
  virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest& req) = 0;

  // Hourglass pointer on / off.
  virtual void SetBusyPointer(bool busy) = 0;

  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(std::string_view text) = 0;
  // The picture on the clipboard as PNG bytes; empty when there is none.
  virtual std::string ClipboardImage() = 0;
  // The pixel size of picture data (PNG, JPEG, BMP, GIF); nullopt when the
  // data is no picture that can be decoded.
  virtual std::optional<ImageSize> ImagePixelSize(std::string_view bytes) = 0;

  // Extent of a text in a font (family name as stored) at a point size.
  virtual TextSize TextExtent(std::string_view text, std::string_view fontName, double pointSize) = 0;

  // Installed font families.
  virtual std::vector<std::string> FontFamilies() = 0;

  // The printers the program can print to: the system's printers, then the
  // PDF output (kPdfPrinterName). Empty only where printing cannot happen.
  virtual std::vector<std::string> PrinterNames() = 0;
  // The printer a print goes to unless the user picks another: the system's
  // default printer when there is one, else the PDF output.
  virtual std::string DefaultPrinterName() = 0;
  // Whether there is any printer at all. A seam that always has the PDF
  // output answers without asking the print system.
  virtual bool PrinterInstalled() { return !PrinterNames().empty(); }

  // The colour, font and print dialogs; nullopt when cancelled.
  virtual std::optional<long> ColorDialog(const ColorDialogRequest& req) = 0;
  virtual std::optional<FontDialogFont> FontDialog(const FontDialogRequest& req) = 0;
  virtual std::optional<PrintDialogPages> PrintDialog(const PrintDialogRequest& req) = 0;

  // Lets pending window events run (while an outside program is waited for).
  virtual void ProcessEvents() = 0;

  // The system's warning sound (before a refusal the user should notice).
  virtual void Beep() = 0;

  // Windows by their own names ("Select_1", "EDTSHEET_FRM", ...). A modal
  // window returns when it is closed; its results are in the program state.
  virtual void ShowModal(std::string_view windowName) = 0;
  virtual void ShowModeless(std::string_view windowName) = 0;
  virtual void UnloadWindow(std::string_view windowName) = 0;
  virtual bool IsWindowLoaded(std::string_view windowName) = 0;

  // Whether the program has a window of that name at all (one that ShowModal
  // and ShowModeless can make). A command whose window is not there yet does
  // nothing of its own.
  virtual bool HasWindow(std::string_view windowName) = 0;

  // The window object is made at the window's first use; this only makes sure
  // the window exists for later use, without loading or showing it.
  virtual void TouchWindow(std::string_view windowName) = 0;

  // Texts and controls of a window, loading the window when needed (as setting
  // a property of a form does): `control` "" is the caption, otherwise the
  // control's own name ("S_Label", "S_Button(2)", "Label1(0)").
  virtual void SetWindowText(std::string_view windowName, std::string_view control,
                             std::string_view text) = 0;
  virtual void SetControlEnabled(std::string_view windowName, std::string_view control,
                                 bool enabled) = 0;
  // The window itself enabled or disabled (a disabled window takes no input);
  // nothing when it is not loaded.
  virtual void SetWindowEnabled(std::string_view windowName, bool enabled) = 0;

  // Window order and placement. Each does nothing when the window is not
  // loaded (a window that is not loaded reads as Normal).
  // Topmost band on or off, keeping place and size.
  virtual void SetWindowTopMost(std::string_view windowName, bool topMost) = 0;
  // Bottom of the window order.
  virtual void SendWindowToBottom(std::string_view windowName) = 0;
  virtual WindowState GetWindowState(std::string_view windowName) = 0;
  virtual void SetWindowState(std::string_view windowName, WindowState state) = 0;
  // Brings the window to the front with the keyboard focus (after an outside
  // program it waited for has ended).
  virtual void ActivateWindow(std::string_view windowName) {}
  // Outer rectangle; nullopt when the window is not loaded.
  virtual std::optional<WindowRect> WindowBounds(std::string_view windowName) = 0;
  // Moves the window's outer top-left corner.
  virtual void MoveWindow(std::string_view windowName, int left, int top) = 0;
  // Size of the screen in pixels.
  virtual TextSize ScreenSize() = 0;

  // Opens a document (a help file) with the desktop's default handler.
  virtual bool OpenDocument(std::string_view path) = 0;

  // Ends the program at once. Never returns.
  [[noreturn]] virtual void EndProgram(int exitCode) = 0;

 private:
  bool inputBoxImeOn_ = false;
};

}  // namespace kv
