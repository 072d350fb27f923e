#pragma once
// Test double of the UI seam: answers each prompt from a queue of scripted
// answers, records every prompt shown and every window operation asked for, and
// fails the running test when a prompt comes that the script did not expect.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"

namespace kv::test {

enum class PromptKind { MsgBox, InputBox, OpenDialog, SaveDialog, Modal, ColorDialog, FontDialog, PrintDialog };

const char* PromptKindName(PromptKind k);

// The start of a PNG file of this pixel size (signature and IHDR chunk): a
// picture as far as ScriptedUi::ImagePixelSize and the grid can tell.
std::string PngHeader(int width, int height);

// One prompt as the user saw it.
struct Prompt {
  PromptKind kind;
  std::string title;
  std::string text;     // message text, input prompt, dialog title or window name
  int style = 0;        // message box style
  FileDialogRequest dialog;  // for file dialogs
  ColorDialogRequest color;  // for the colour dialog
  FontDialogRequest font;    // for the font dialog
  PrintDialogRequest print;  // for the print dialog
};

class ScriptedUi : public Ui {
 public:
  ScriptedUi() = default;
  ~ScriptedUi() override;

  // --- The script, answered in order ---
  // A message box answered with `answer`; when `expectText` is not empty the
  // box's text must contain it.
  ScriptedUi& AnswerMsgBox(int answer, std::string expectText = {});
  ScriptedUi& AnswerInput(std::optional<std::string> answer, std::string expectPrompt = {});
  ScriptedUi& AnswerOpenDialog(std::optional<std::string> path);
  ScriptedUi& AnswerSaveDialog(std::optional<std::string> path);
  // The colour, font and print dialogs: the user's choice, nullopt for a cancel.
  ScriptedUi& AnswerColorDialog(std::optional<long> color);
  ScriptedUi& AnswerFontDialog(std::optional<FontDialogFont> font);
  ScriptedUi& AnswerPrintDialog(std::optional<PrintDialogPages> pages);
  // A modal window: `play` stands in for the user (sets the program state).
  ScriptedUi& AnswerModal(std::string windowName, std::function<void()> play = {});

  // Script entries not used yet.
  size_t Pending() const { return script_.size(); }
  // Fails the test when script entries remain (also done on destruction).
  void ExpectAllAnswered();

  // --- What was shown ---
  const std::vector<Prompt>& Prompts() const { return prompts_; }
  std::vector<std::string> MessageTexts() const;
  const std::vector<std::string>& ModelessShown() const { return modeless_; }
  const std::vector<std::string>& Unloaded() const { return unloaded_; }
  int BusyOnCount() const { return busyOn_; }
  bool Busy() const { return busy_; }
  int ProcessEventsCount() const { return processEvents_; }
  std::optional<int> EndedWith() const { return ended_; }
  // Every prompt and window operation in order, as "Name(args)" with the seam
  // call's name: "MsgBox(text)", "InputBox(prompt)", "OpenFileDialog(title)",
  // "SaveFileDialog(title)", "ColorDialog()", "FontDialog(font name)",
  // "PrintDialog()", "ShowModal(w)", "ShowModeless(w)",
  // "UnloadWindow(w)", "TouchWindow(w)", "SetWindowText(w, control, text)",
  // "SetControlEnabled(w, control, true|false)", "SetWindowEnabled(w,
  // true|false)", "SetWindowTopMost(w,
  // true|false)", "SendWindowToBottom(w)", "SetWindowState(w,
  // Normal|Minimized|Maximized)", "ActivateWindow(w)", "MoveWindow(w, left,
  // top)", "ProcessEvents()",
  // "Beep()".
  const std::vector<std::string>& Calls() const { return calls_; }
  // The calls that begin with `prefix` ("SetWindowTopMost(" ...), in order.
  std::vector<std::string> CallsStartingWith(std::string_view prefix) const;
  // Last text set for a window's caption (control "") or control; "" if none.
  std::string WindowText(std::string_view window, std::string_view control = {}) const;
  // Last enabled state set for a control (true when never set).
  bool ControlEnabled(std::string_view window, std::string_view control) const;
  // Last enabled state set for a window (true when never set).
  bool WindowEnabled(std::string_view window) const;
  // Last topmost state set for a window (false when never set).
  bool TopMost(std::string_view window) const;

  // --- Environment the test controls ---
  std::string clipboard;
  // The picture on the clipboard (PNG bytes; empty: none).
  std::string clipboardImage;
  std::vector<std::string> fonts{"ＭＳ 明朝", "ＭＳ ゴシック", "IPAMincho", "IPAGothic"};
  // The printer list; the default printer is its first entry ("" when empty).
  std::vector<std::string> printers{"Test Printer"};
  std::vector<std::string> openedDocuments;
  bool openDocumentResult = true;
  // Called on each ProcessEvents call (lets a test act "while waiting").
  std::function<void()> onProcessEvents;
  // Windows the program does not have (HasWindow false); every other name
  // counts as a window of the program.
  std::set<std::string, std::less<>> missingWindows;
  // Windows that count as loaded.
  std::map<std::string, bool, std::less<>> loaded;
  // Window states (Normal when not listed); SetWindowState changes them.
  std::map<std::string, WindowState, std::less<>> windowStates;
  // Window rectangles (a window not listed has no bounds); MoveWindow moves them.
  std::map<std::string, WindowRect, std::less<>> windowRects;
  TextSize screen{1024, 768};
  // Each input box shown: its initial text and whether Japanese input was asked.
  struct InputBoxShown {
    std::string initial;
    bool imeOn = false;
  };
  std::vector<InputBoxShown> inputBoxes;

  // --- Ui ---
  int MsgBox(std::string_view text, int style, std::string_view title) override;
  std::optional<std::string> InputBox(std::string_view prompt, std::string_view title,
                                      std::string_view initial) override;
  std::optional<std::string> OpenFileDialog(const FileDialogRequest& req) override;
  std::optional<std::string> SaveFileDialog(const FileDialogRequest& req) override;
  void SetBusyPointer(bool busy) override;
  std::string ClipboardText() override { return clipboard; }
  void SetClipboardText(std::string_view text) override { clipboard = std::string(text); }
  std::string ClipboardImage() override { return clipboardImage; }
  // Reads the size from a PNG header (the IHDR chunk); other data is no
  // picture it can decode (PngHeader makes such data).
  std::optional<ImageSize> ImagePixelSize(std::string_view bytes) override;
  // Monospace stand-in: 8 px per byte of the UTF-8 text's display width
  // (1 for ASCII and half-width katakana, 2 for other characters) at 10 pt.
  TextSize TextExtent(std::string_view text, std::string_view fontName, double pointSize) override;
  std::vector<std::string> FontFamilies() override { return fonts; }
  std::vector<std::string> PrinterNames() override { return printers; }
  std::string DefaultPrinterName() override { return printers.empty() ? std::string() : printers.front(); }
  std::optional<long> ColorDialog(const ColorDialogRequest& req) override;
  std::optional<FontDialogFont> FontDialog(const FontDialogRequest& req) override;
  std::optional<PrintDialogPages> PrintDialog(const PrintDialogRequest& req) override;
  void ProcessEvents() override;
  void Beep() override;
  void ShowModal(std::string_view windowName) override;
  void ShowModeless(std::string_view windowName) override;
  void UnloadWindow(std::string_view windowName) override;
  bool IsWindowLoaded(std::string_view windowName) override;
  bool HasWindow(std::string_view windowName) override { return !missingWindows.contains(windowName); }
  bool OpenDocument(std::string_view path) override;
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
  TextSize ScreenSize() override { return screen; }
  [[noreturn]] void EndProgram(int exitCode) override;

 private:
  struct Entry {
    PromptKind kind;
    int answer = 0;
    std::optional<std::string> text;
    std::string expect;
    std::function<void()> play;
    std::optional<long> color;
    std::optional<FontDialogFont> font;
    std::optional<PrintDialogPages> pages;
  };
  // Takes the next entry, failing the test when it is not of the kind shown.
  std::optional<Entry> Next(const Prompt& shown);

  std::deque<Entry> script_;
  std::vector<Prompt> prompts_;
  std::vector<std::string> modeless_;
  std::vector<std::string> unloaded_;
  int busyOn_ = 0;
  bool busy_ = false;
  int processEvents_ = 0;
  std::optional<int> ended_;
  std::vector<std::string> calls_;
  std::map<std::string, std::string, std::less<>> texts_;  // "window\ncontrol"
  std::map<std::string, bool, std::less<>> enabled_;       // "window\ncontrol"
  std::map<std::string, bool, std::less<>> topMost_;
  std::map<std::string, bool, std::less<>> windowEnabled_;
};

}  // namespace kv::test
