#include "platform/dialog_codes.h"

#include "platform/ui.h"

namespace kv {

namespace {

std::string_view Trim(std::string_view s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::vector<std::string_view> Split(std::string_view s, std::string_view separators) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (true) {
    size_t at = s.find_first_of(separators, start);
    std::string_view part = Trim(s.substr(start, at == std::string_view::npos ? at : at - start));
    if (!part.empty()) parts.push_back(part);
    if (at == std::string_view::npos) break;
    start = at + 1;
  }
  return parts;
}

}  // namespace

MsgBoxLayout MsgBoxLayoutFor(int style) {
  MsgBoxLayout l;
  switch (style & kMsgButtonsMask) {
    case vbOKCancel: l.buttons = {vbOK, vbCancel}; l.escapeAnswer = vbCancel; break;
    case vbAbortRetryIgnore: l.buttons = {vbAbort, vbRetry, vbIgnore}; break;
    case vbYesNoCancel: l.buttons = {vbYes, vbNo, vbCancel}; l.escapeAnswer = vbCancel; break;
    case vbYesNo: l.buttons = {vbYes, vbNo}; break;
    case vbRetryCancel: l.buttons = {vbRetry, vbCancel}; l.escapeAnswer = vbCancel; break;
    default: l.buttons = {vbOK}; l.escapeAnswer = vbOK; break;
  }
  size_t def = static_cast<size_t>((style & kMsgDefaultMask) / vbDefaultButton2);
  l.defaultIndex = def < l.buttons.size() ? def : 0;
  switch (style & kMsgIconMask) {
    case vbCritical: l.icon = MsgBoxIcon::Critical; break;
    case vbQuestion: l.icon = MsgBoxIcon::Question; break;
    case vbExclamation: l.icon = MsgBoxIcon::Exclamation; break;
    case vbInformation: l.icon = MsgBoxIcon::Information; break;
    default: l.icon = MsgBoxIcon::None; break;
  }
  return l;
}

std::string MsgBoxButtonText(int answer) {
  switch (answer) {
    case vbOK: return "OK";
    case vbCancel: return "キャンセル";
    case vbAbort: return "中止";
    case vbRetry: return "再試行";
    case vbIgnore: return "無視";
    case vbYes: return "はい";
    case vbNo: return "いいえ";
  }
  return "";
}

std::vector<std::string> NameFiltersFromFilter(std::string_view filter) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= filter.size()) {
    size_t at = filter.find('|', start);
    parts.push_back(filter.substr(start, at == std::string_view::npos ? at : at - start));
    if (at == std::string_view::npos) break;
    start = at + 1;
  }
  std::vector<std::string> out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string_view desc = Trim(parts[i]);
    std::vector<std::string_view> patterns = Split(parts[i + 1], "; \t");
    if (patterns.empty()) continue;
    std::string joined;
    for (std::string_view p : patterns) {
      if (!joined.empty()) joined += ' ';
      joined += p;
    }
    // "Text (*.YZH)" already names its pattern: keep it as the user knows it.
    size_t open = desc.rfind('(');
    if (!desc.empty() && desc.back() == ')' && open != std::string_view::npos &&
        Split(desc.substr(open + 1, desc.size() - open - 2), "; \t") == patterns) {
      out.emplace_back(desc);
    } else if (desc.empty()) {
      out.push_back(joined);
    } else {
      out.push_back(std::string(desc) + " (" + joined + ")");
    }
  }
  return out;
}

}  // namespace kv
