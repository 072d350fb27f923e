#include "storage/row_record.h"

#include "core/stored_number.h"

namespace kv {
namespace {

bool IsDecDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) {
  return IsDecDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

char RecordByte(std::string_view rec, int pos) {
  if (pos < 1 || pos > static_cast<int>(rec.size())) return ' ';
  return rec[pos - 1];
}

bool IsMemoTextRow(std::string_view rec) {
  constexpr std::string_view kMemoTextKinds = "123HD\xD2";
  const char kind = RecordByte(rec, kKindPos);
  return kind != ' ' && kMemoTextKinds.find(kind) != std::string_view::npos;
}

void SetRecordByte(std::string& rec, int pos, char c) {
  if (pos < 1) return;
  if (static_cast<int>(rec.size()) < pos) rec.resize(pos, ' ');
  rec[pos - 1] = c;
}

std::string_view LinkField(std::string_view rec, int pos) {
  if (pos < 1 || pos - 1 + kStoredNumberWidth > static_cast<int>(rec.size())) return {};
  return rec.substr(pos - 1, kStoredNumberWidth);
}

void SetLinkField(std::string& rec, int pos, int value, bool hex) {
  std::string field = StoredNumberField(value, hex);
  if (static_cast<int>(rec.size()) < pos - 1 + kStoredNumberWidth)
    rec.resize(pos - 1 + kStoredNumberWidth, ' ');
  rec.replace(pos - 1, kStoredNumberWidth, field);
}

std::optional<int> ReadStoredLink(std::string_view field, bool hex) {
  std::string_view t = field;
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  if (t.empty() || t == "-99") return kNoRecord;
  for (char c : t)
    if (!(hex ? IsHexDigit(c) : IsDecDigit(c))) return std::nullopt;
  int value = BaseStrToNum(t, hex);
  if (value == kNoRecord || value == 0) return kNoRecord;
  return value;
}

std::string FitRecord(std::string_view rec, int length) {
  std::string out(rec.substr(0, static_cast<size_t>(length)));
  out.resize(static_cast<size_t>(length), ' ');
  return out;
}

}  // namespace kv
