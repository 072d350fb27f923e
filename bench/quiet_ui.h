#pragma once
// A user interface for benchmarks: every box is answered with its first
// button, every dialog cancelled, every window request ignored; the usual
// Japanese fonts, one printer and a fixed-width text extent (8 pixels a byte).
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace kv::bench {

class QuietUi : public Ui {
 public:
  int MsgBox(std::string_view, int, std::string_view) override { return vbOK; }
  std::optional<std::string> InputBox(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return std::nullopt; }
  void SetBusyPointer(bool) override {}
  std::string ClipboardText() override { return {}; }
  void SetClipboardText(std::string_view) override {}
  std::string ClipboardImage() override { return {}; }
  std::optional<ImageSize> ImagePixelSize(std::string_view) override { return std::nullopt; }
  TextSize TextExtent(std::string_view text, std::string_view, double) override {
    return {static_cast<int>(text.size()) * 8, 16};
  }
  std::vector<std::string> FontFamilies() override { return {"DejaVu Sans", "IPAMincho", "IPAGothic"}; }
  std::vector<std::string> PrinterNames() override { return {"Printer"}; }
  std::string DefaultPrinterName() override { return "Printer"; }
  std::optional<long> ColorDialog(const ColorDialogRequest&) override { return std::nullopt; }
  std::optional<FontDialogFont> FontDialog(const FontDialogRequest&) override { return std::nullopt; }
  std::optional<PrintDialogPages> PrintDialog(const PrintDialogRequest&) override { return std::nullopt; }
  void ProcessEvents() override {}
  void Beep() override {}
  void ShowModal(std::string_view) override {}
  void ShowModeless(std::string_view) override {}
  void UnloadWindow(std::string_view) override {}
  bool IsWindowLoaded(std::string_view) override { return false; }
  bool HasWindow(std::string_view) override { return true; }
  void TouchWindow(std::string_view) override {}
  void SetWindowText(std::string_view, std::string_view, std::string_view) override {}
  void SetControlEnabled(std::string_view, std::string_view, bool) override {}
  void SetWindowEnabled(std::string_view, bool) override {}
  void SetWindowTopMost(std::string_view, bool) override {}
  void SendWindowToBottom(std::string_view) override {}
  WindowState GetWindowState(std::string_view) override { return WindowState::Normal; }
  void SetWindowState(std::string_view, WindowState) override {}
  std::optional<WindowRect> WindowBounds(std::string_view) override { return std::nullopt; }
  void MoveWindow(std::string_view, int, int) override {}
  TextSize ScreenSize() override { return {1600, 1000}; }
  bool OpenDocument(std::string_view) override { return false; }
  [[noreturn]] void EndProgram(int exitCode) override { std::_Exit(exitCode); }
};

}  // namespace kv::bench
