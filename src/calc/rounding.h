#pragma once
// Rounding a number text to a multiple of a unit 10^keta, as the tax row, the
// expense rows and the equipment edition do. Number texts in, number texts
// out (the byte form: "." point, no grouping, "-" first, a blank may stand in
// front of a positive value). A text that is not a number reads 0.
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

inline constexpr int kRoundUp = 0;      // 切り上げ
inline constexpr int kRoundDown = 1;    // 切り捨て
inline constexpr int kRoundHalfUp = 2;  // 四捨五入

// keta is taken within 0..7 (unit 1 .. 10,000,000). Method kRoundUp,
// kRoundDown or kRoundHalfUp; any other method answers the value unchanged.
// A value whose whole part lies beyond the range of Currency is answered
// unchanged too.
std::string RoundByMethod(std::string_view value, int method, int keta);

// The magnitude rounded up to a multiple of `unit`, the sign kept, with as many
// decimal zeros as the value had decimals: 12.30 -> 13.00, 1234.5 @100 ->
// 1300.0, -12.3 -> -13.0.
std::string RoundUpToUnit(std::string_view value, std::int64_t unit);
// The magnitude cut to a multiple of `unit`, the sign kept; a whole number:
// 1239.99 @10 -> 1230, -12.7 -> -12.
std::string RoundDownToUnit(std::string_view value, std::int64_t unit);
// The magnitude rounded to the nearest multiple of `unit`, a half away from
// zero; a whole number. At unit 1 the fraction decides (12.5 -> 13, 12.41 ->
// 12); at larger units only the whole part (1235 @10 -> 1240, 1234.9 @10 ->
// 1230).
std::string RoundHalfUpToUnit(std::string_view value, std::int64_t unit);

}  // namespace kv
