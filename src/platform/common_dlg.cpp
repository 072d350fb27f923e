#include "platform/common_dlg.h"

#include <filesystem>
#include <system_error>

#include "platform/ui.h"

namespace kv {

namespace {

// The first `n` characters of a UTF-8 text.
std::string FirstChars(std::string_view text, long n) {
  if (n <= 0) return {};
  size_t i = 0;
  long count = 0;
  while (i < text.size()) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (count == n) break;
      ++count;
    }
    ++i;
  }
  return std::string(text.substr(0, i));
}

std::string Trim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

}  // namespace

std::string FilterListToBars(std::string_view filterList) {
  std::string out(filterList);
  if (!out.empty() && out.back() == '\0') out.pop_back();
  for (char& c : out)
    if (c == '\0') c = '|';
  return out;
}

cCommonDlg::cCommonDlg(Ui& ui) : ui_(ui) {
  std::error_code ec;
  std::filesystem::path cwd = std::filesystem::current_path(ec);
  if (!ec) initDir_ = cwd.string();
}

void cCommonDlg::Filter(std::string_view strNewFilter) {
  filterText_ = strNewFilter;
  filterList_ = filterText_;
  for (char& c : filterList_)
    if (c == '|') c = '\0';
  if (filterList_.empty() || filterList_.back() != '\0') filterList_ += '\0';
}

void cCommonDlg::Action(int intNewAction) {
  action_ = intNewAction;
  if (intNewAction == 1) ShowOpen();
  if (intNewAction == 2) ShowSave();
}

void cCommonDlg::ShowFileDlg(int action) {
  action_ = action;

  FileDialogRequest req;
  req.title = dialogTitle_;
  req.filter = FilterListToBars(filterList_);
  req.filterIndex = filterIndex_;
  req.initDir = initDir_;
  // The name buffer holds MaxFileSize characters with its final NUL.
  req.fileName = FirstChars(fileName_, maxFileSize_ - 1);
  // An extension ends at its first NUL (the start value is NUL alone).
  req.defaultExt = defaultExt_.substr(0, defaultExt_.find('\0'));
  req.flags = static_cast<int>(flags_);

  std::optional<std::string> chosen =
      action == 1 ? ui_.OpenFileDialog(req) : ui_.SaveFileDialog(req);
  if (!chosen) {
    if (cancelError_) {
      cancelButton_ = true;
      fileName_.clear();
    }
    return;
  }
  fileName_ = *chosen;
  fileTitle_ = Trim(std::filesystem::path(*chosen).filename().string());
}

}  // namespace kv
