#include "storage/row_record.h"

#include "core/level_links.h"
#include "core/stored_number.h"

namespace kv {

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

std::optional<int> ReadStoredLink(std::string_view field, bool hex) { return StoredLinkRead(field, hex); }

std::string FitRecord(std::string_view rec, int length) {
  std::string out(rec.substr(0, static_cast<size_t>(length)));
  out.resize(static_cast<size_t>(length), ' ');
  return out;
}

}  // namespace kv
