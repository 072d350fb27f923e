#pragma once
// Removing blanks from a line of a definitions file.
#include <string>

namespace kv {

// Trims the text (byte form) and drops every half-width blank " " and every
// full-width blank "　" from it, character by character, so that the trail
// byte of another double-byte character is never taken for half a blank.
void StripSpaces(std::string& text);

}  // namespace kv
