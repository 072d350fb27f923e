#include "support/scripted_ui.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

namespace kv::test {

namespace {

std::string Key(std::string_view window, std::string_view control) {
  std::string k(window);
  k += '\n';
  k += control;
  return k;
}

const char* StateName(WindowState s) {
  switch (s) {
    case WindowState::Normal: return "Normal";
    case WindowState::Minimized: return "Minimized";
    case WindowState::Maximized: return "Maximized";
  }
  return "?";
}

std::string Call(std::string_view name, std::initializer_list<std::string_view> args) {
  std::string c(name);
  c += '(';
  bool first = true;
  for (std::string_view a : args) {
    if (!first) c += ", ";
    c += a;
    first = false;
  }
  c += ')';
  return c;
}

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";

void PutBigEndian32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

uint32_t BigEndian32(std::string_view b, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

}  // namespace

std::string PngHeader(int width, int height) {
  std::string png(kPngSignature);
  PutBigEndian32(png, 13);
  png += "IHDR";
  PutBigEndian32(png, static_cast<uint32_t>(width));
  PutBigEndian32(png, static_cast<uint32_t>(height));
  png += std::string("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA
  PutBigEndian32(png, 0);                            // CRC: not checked here
  return png;
}

std::optional<ImageSize> ScriptedUi::ImagePixelSize(std::string_view bytes) {
  if (bytes.size() < 24 || bytes.substr(0, 8) != kPngSignature || bytes.substr(12, 4) != "IHDR")
    return std::nullopt;
  const uint32_t w = BigEndian32(bytes, 16), h = BigEndian32(bytes, 20);
  if (w < 1 || h < 1 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) return std::nullopt;
  return ImageSize{static_cast<int>(w), static_cast<int>(h)};
}

const char* PromptKindName(PromptKind k) {
  switch (k) {
    case PromptKind::MsgBox: return "message box";
    case PromptKind::InputBox: return "input box";
    case PromptKind::OpenDialog: return "open dialog";
    case PromptKind::SaveDialog: return "save dialog";
    case PromptKind::Modal: return "modal window";
    case PromptKind::ColorDialog: return "colour dialog";
    case PromptKind::FontDialog: return "font dialog";
    case PromptKind::PrintDialog: return "print dialog";
  }
  return "?";
}

ScriptedUi::~ScriptedUi() { ExpectAllAnswered(); }

void ScriptedUi::ExpectAllAnswered() {
  for (const Entry& e : script_)
    ADD_FAILURE() << "scripted " << PromptKindName(e.kind) << " was never shown"
                  << (e.expect.empty() ? "" : " (expected \"" + e.expect + "\")");
  script_.clear();
}

ScriptedUi& ScriptedUi::AnswerMsgBox(int answer, std::string expectText) {
  script_.push_back({PromptKind::MsgBox, answer, std::nullopt, std::move(expectText), {}});
  return *this;
}
ScriptedUi& ScriptedUi::AnswerInput(std::optional<std::string> answer, std::string expectPrompt) {
  script_.push_back({PromptKind::InputBox, 0, std::move(answer), std::move(expectPrompt), {}});
  return *this;
}
ScriptedUi& ScriptedUi::AnswerOpenDialog(std::optional<std::string> path) {
  script_.push_back({PromptKind::OpenDialog, 0, std::move(path), {}, {}});
  return *this;
}
ScriptedUi& ScriptedUi::AnswerSaveDialog(std::optional<std::string> path) {
  script_.push_back({PromptKind::SaveDialog, 0, std::move(path), {}, {}});
  return *this;
}
ScriptedUi& ScriptedUi::AnswerColorDialog(std::optional<long> color) {
  Entry e{PromptKind::ColorDialog};
  e.color = color;
  script_.push_back(std::move(e));
  return *this;
}
ScriptedUi& ScriptedUi::AnswerFontDialog(std::optional<FontDialogFont> font) {
  Entry e{PromptKind::FontDialog};
  e.font = std::move(font);
  script_.push_back(std::move(e));
  return *this;
}
ScriptedUi& ScriptedUi::AnswerPrintDialog(std::optional<PrintDialogPages> pages) {
  Entry e{PromptKind::PrintDialog};
  e.pages = pages;
  script_.push_back(std::move(e));
  return *this;
}
ScriptedUi& ScriptedUi::AnswerModal(std::string windowName, std::function<void()> play) {
  script_.push_back({PromptKind::Modal, 0, std::nullopt, std::move(windowName), std::move(play)});
  return *this;
}

std::vector<std::string> ScriptedUi::MessageTexts() const {
  std::vector<std::string> out;
  for (const Prompt& p : prompts_)
    if (p.kind == PromptKind::MsgBox) out.push_back(p.text);
  return out;
}

std::vector<std::string> ScriptedUi::CallsStartingWith(std::string_view prefix) const {
  std::vector<std::string> out;
  for (const std::string& c : calls_)
    if (std::string_view(c).substr(0, prefix.size()) == prefix) out.push_back(c);
  return out;
}

std::string ScriptedUi::WindowText(std::string_view window, std::string_view control) const {
  auto it = texts_.find(Key(window, control));
  return it == texts_.end() ? std::string() : it->second;
}

bool ScriptedUi::ControlEnabled(std::string_view window, std::string_view control) const {
  auto it = enabled_.find(Key(window, control));
  return it == enabled_.end() || it->second;
}

bool ScriptedUi::WindowEnabled(std::string_view window) const {
  auto it = windowEnabled_.find(window);
  return it == windowEnabled_.end() || it->second;
}

bool ScriptedUi::TopMost(std::string_view window) const {
  auto it = topMost_.find(window);
  return it != topMost_.end() && it->second;
}

std::optional<ScriptedUi::Entry> ScriptedUi::Next(const Prompt& shown) {
  prompts_.push_back(shown);
  static constexpr const char* kCallNames[] = {"MsgBox",      "InputBox",   "OpenFileDialog",
                                               "SaveFileDialog", "ShowModal", "ColorDialog",
                                               "FontDialog",  "PrintDialog"};
  calls_.push_back(Call(kCallNames[static_cast<int>(shown.kind)], {shown.text}));
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected " << PromptKindName(shown.kind) << ": title \"" << shown.title
                  << "\", text \"" << shown.text << "\"";
    return std::nullopt;
  }
  Entry e = std::move(script_.front());
  script_.pop_front();
  if (e.kind != shown.kind) {
    ADD_FAILURE() << "expected a " << PromptKindName(e.kind) << ", but a " << PromptKindName(shown.kind)
                  << " was shown: title \"" << shown.title << "\", text \"" << shown.text << "\"";
    return std::nullopt;
  }
  if (!e.expect.empty()) {
    bool match = shown.kind == PromptKind::Modal ? shown.text == e.expect
                                                 : shown.text.find(e.expect) != std::string::npos;
    if (!match)
      ADD_FAILURE() << "expected " << PromptKindName(e.kind) << " \"" << e.expect << "\", but got \""
                    << shown.text << "\" (title \"" << shown.title << "\")";
  }
  return e;
}

int ScriptedUi::MsgBox(std::string_view text, int style, std::string_view title) {
  auto e = Next({PromptKind::MsgBox, std::string(title), std::string(text), style, {}});
  if (e) return e->answer;
  // Unscripted: the safest answer the box offers.
  switch (style & kMsgButtonsMask) {
    case vbOKCancel: case vbYesNoCancel: case vbRetryCancel: return vbCancel;
    case vbYesNo: return vbNo;
    case vbAbortRetryIgnore: return vbAbort;
    default: return vbOK;
  }
}

std::optional<std::string> ScriptedUi::InputBox(std::string_view prompt, std::string_view title,
                                                std::string_view initial) {
  inputBoxes.push_back({std::string(initial), InputBoxImeOn()});
  auto e = Next({PromptKind::InputBox, std::string(title), std::string(prompt), 0, {}});
  return e ? e->text : std::nullopt;
}

std::optional<std::string> ScriptedUi::OpenFileDialog(const FileDialogRequest& req) {
  auto e = Next({PromptKind::OpenDialog, req.title, req.title, 0, req});
  return e ? e->text : std::nullopt;
}

std::optional<std::string> ScriptedUi::SaveFileDialog(const FileDialogRequest& req) {
  auto e = Next({PromptKind::SaveDialog, req.title, req.title, 0, req});
  return e ? e->text : std::nullopt;
}

std::optional<long> ScriptedUi::ColorDialog(const ColorDialogRequest& req) {
  Prompt shown{PromptKind::ColorDialog};
  shown.color = req;
  auto e = Next(shown);
  return e ? e->color : std::nullopt;
}

std::optional<FontDialogFont> ScriptedUi::FontDialog(const FontDialogRequest& req) {
  Prompt shown{PromptKind::FontDialog};
  shown.text = req.font.name;
  shown.font = req;
  auto e = Next(shown);
  return e ? e->font : std::nullopt;
}

std::optional<PrintDialogPages> ScriptedUi::PrintDialog(const PrintDialogRequest& req) {
  Prompt shown{PromptKind::PrintDialog};
  shown.print = req;
  auto e = Next(shown);
  return e ? e->pages : std::nullopt;
}

void ScriptedUi::SetBusyPointer(bool busy) {
  if (busy) ++busyOn_;
  busy_ = busy;
}

TextSize ScriptedUi::TextExtent(std::string_view text, std::string_view, double pointSize) {
  int units = 0;
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    bool halfKana = len == 3 && c == 0xEF && i + 1 < text.size() &&
                    (static_cast<unsigned char>(text[i + 1]) == 0xBD ||
                     static_cast<unsigned char>(text[i + 1]) == 0xBE);
    units += (len == 1 || halfKana) ? 1 : 2;
    i += len;
  }
  double scale = pointSize > 0 ? pointSize / 10.0 : 1.0;
  return {static_cast<int>(units * 8 * scale), static_cast<int>(16 * scale)};
}

void ScriptedUi::ProcessEvents() {
  ++processEvents_;
  calls_.push_back("ProcessEvents()");
  if (onProcessEvents) onProcessEvents();
}

void ScriptedUi::Beep() { calls_.push_back("Beep()"); }

void ScriptedUi::ShowModal(std::string_view windowName) {
  auto e = Next({PromptKind::Modal, std::string(windowName), std::string(windowName), 0, {}});
  if (e && e->play) e->play();
}

void ScriptedUi::ShowModeless(std::string_view windowName) {
  calls_.push_back(Call("ShowModeless", {windowName}));
  modeless_.emplace_back(windowName);
  loaded[std::string(windowName)] = true;
}

void ScriptedUi::UnloadWindow(std::string_view windowName) {
  calls_.push_back(Call("UnloadWindow", {windowName}));
  unloaded_.emplace_back(windowName);
  loaded.erase(std::string(windowName));
  // An unloaded window forgets what was set on it.
  std::string prefix = Key(windowName, "");
  std::erase_if(texts_, [&](const auto& kv) { return kv.first.starts_with(prefix); });
  std::erase_if(enabled_, [&](const auto& kv) { return kv.first.starts_with(prefix); });
  topMost_.erase(std::string(windowName));
  windowEnabled_.erase(std::string(windowName));
}

void ScriptedUi::TouchWindow(std::string_view windowName) {
  calls_.push_back(Call("TouchWindow", {windowName}));
}

void ScriptedUi::SetWindowText(std::string_view windowName, std::string_view control,
                               std::string_view text) {
  calls_.push_back(Call("SetWindowText", {windowName, control, text}));
  texts_[Key(windowName, control)] = std::string(text);
}

void ScriptedUi::SetControlEnabled(std::string_view windowName, std::string_view control,
                                   bool enabled) {
  calls_.push_back(Call("SetControlEnabled", {windowName, control, enabled ? "true" : "false"}));
  enabled_[Key(windowName, control)] = enabled;
}

void ScriptedUi::SetWindowEnabled(std::string_view windowName, bool enabled) {
  calls_.push_back(Call("SetWindowEnabled", {windowName, enabled ? "true" : "false"}));
  windowEnabled_[std::string(windowName)] = enabled;
}

void ScriptedUi::SetWindowTopMost(std::string_view windowName, bool topMost) {
  calls_.push_back(Call("SetWindowTopMost", {windowName, topMost ? "true" : "false"}));
  topMost_[std::string(windowName)] = topMost;
}

void ScriptedUi::SendWindowToBottom(std::string_view windowName) {
  calls_.push_back(Call("SendWindowToBottom", {windowName}));
}

WindowState ScriptedUi::GetWindowState(std::string_view windowName) {
  auto it = windowStates.find(windowName);
  return it == windowStates.end() ? WindowState::Normal : it->second;
}

void ScriptedUi::SetWindowState(std::string_view windowName, WindowState state) {
  calls_.push_back(Call("SetWindowState", {windowName, StateName(state)}));
  windowStates[std::string(windowName)] = state;
}

void ScriptedUi::ActivateWindow(std::string_view windowName) {
  calls_.push_back(Call("ActivateWindow", {windowName}));
}

std::optional<WindowRect> ScriptedUi::WindowBounds(std::string_view windowName) {
  auto it = windowRects.find(windowName);
  if (it == windowRects.end()) return std::nullopt;
  return it->second;
}

void ScriptedUi::MoveWindow(std::string_view windowName, int left, int top) {
  calls_.push_back(
      Call("MoveWindow", {windowName, std::to_string(left), std::to_string(top)}));
  auto it = windowRects.find(windowName);
  if (it != windowRects.end()) {
    it->second.left = left;
    it->second.top = top;
  }
}

bool ScriptedUi::IsWindowLoaded(std::string_view windowName) {
  auto it = loaded.find(windowName);
  return it != loaded.end() && it->second;
}

bool ScriptedUi::OpenDocument(std::string_view path) {
  openedDocuments.emplace_back(path);
  return openDocumentResult;
}

void ScriptedUi::EndProgram(int exitCode) {
  ended_ = exitCode;
  throw ProgramEnded{exitCode};
}

}  // namespace kv::test
