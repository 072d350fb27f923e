#pragma once
// The fixed Japanese face names the system stores ("ＭＳ 明朝", "ＭＳ ゴシック",
// "標準明朝", "標準ゴシック") are not installed here: a view shows them with an
// installed Japanese Mincho or Gothic family. The stored name is never changed.
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The family to draw a stored font name with, given the installed families:
// the name itself when installed (compared without case); for the four fixed
// faces the first installed Mincho or Gothic family of a preference list;
// otherwise the name as stored (the toolkit then picks its own fallback).
std::string DisplayFontFamily(std::string_view stored, const std::vector<std::string>& installed);

}  // namespace kv
