#include "editor/typed_text.h"

#include <algorithm>

#include "platform/codepage.h"
#include "state/warn_msg_box.h"

namespace kv {

namespace {

size_t Utf8Length(unsigned char c) {
  if (c >= 0xF0) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::string UnstorableChar(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t n = std::min(Utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
    const std::string_view ch = text.substr(i, n);
    i += n;
    if (static_cast<unsigned char>(ch[0]) < 0x80) continue;
    const std::string sjis = ToSjis(ch);
    if (sjis.size() == 1 && sjis[0] == kSjisDefaultChar) return std::string(ch);
  }
  return {};
}

bool TypedTextStorable(ProgramState& st, std::string_view text) {
  const std::string bad = UnstorableChar(text);
  if (bad.empty()) return true;
  WarnMsgBox(st, "保存できない文字が含まれています: 「" + bad + "」");
  return false;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

}  // namespace kv
