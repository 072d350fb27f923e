#pragma once
// Formula texts as characters: the byte form decoded into one element per
// Shift-JIS character (a double-byte character as lead byte x 256 + trail
// byte), so that the evaluator's scans never take the trail byte of a
// double-byte character for a sign, a mark or a letter. Broken bytes (a lone
// lead byte) stay single elements, so encoding gives the bytes back.
#include <string>
#include <string_view>

namespace kv {

using FormulaText = std::u16string;

// The full-width digits, "．", "＋", "－", "＊", "／", "（", "）", "＾" and the
// full-width blank are read as their half-width forms: what the user typed
// with the input method on computes as it reads.
FormulaText DecodeFormula(std::string_view bytes);

std::string EncodeFormula(std::u16string_view text);

}  // namespace kv
