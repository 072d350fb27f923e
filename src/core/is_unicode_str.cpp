#include "core/is_unicode_str.h"

#include "core/sjis_text.h"

namespace kv {

bool IsUnicodeStr(std::string_view value) { return ToUnicodeStr(ToAnsiBytes(value)) == value; }

}  // namespace kv
