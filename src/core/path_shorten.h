#pragma once
// Shortening a file path for a menu or window caption: inner folders give way
// to "...", and when that is not enough the name is cut before its extension.
#include <string>
#include <string_view>

namespace kv {

// path: display text (UTF-8); n and every length in characters. The path
// itself when it has at most n characters, else a shortened form of at most n
// characters; "" when it cannot be shortened that far. "/" and "\" both
// separate folders (a path stored in the Windows form is shortened too).
std::string PathShorten(std::string_view path, int n);

}  // namespace kv
