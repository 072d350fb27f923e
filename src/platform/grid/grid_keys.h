#pragma once
// Key codes of the grid's key event: the Windows virtual-key numbers the
// editor's key handlers test (13 Enter, 113 F2 ...). The Qt view maps its
// keys onto them; letters and digits are their upper-case ASCII codes.

namespace kv::gridkey {

inline constexpr int kBack = 8;
inline constexpr int kTab = 9;
inline constexpr int kReturn = 13;
inline constexpr int kShift = 16;
inline constexpr int kControl = 17;
inline constexpr int kMenu = 18;  // Alt
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kPageUp = 33;
inline constexpr int kPageDown = 34;
inline constexpr int kEnd = 35;
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kInsert = 45;
inline constexpr int kDelete = 46;
inline constexpr int kNumpad0 = 96;  // .. 105 = Numpad9
inline constexpr int kMultiply = 106;
inline constexpr int kAdd = 107;
inline constexpr int kSubtract = 109;
inline constexpr int kDecimal = 110;
inline constexpr int kDivide = 111;
inline constexpr int kF1 = 112;  // .. 123 = F12
inline constexpr int kF2 = 113;
inline constexpr int kF9 = 120;
inline constexpr int kF12 = 123;
inline constexpr int kOemPlus = 187;
inline constexpr int kOemComma = 188;
inline constexpr int kOemMinus = 189;
inline constexpr int kOemPeriod = 190;
// Given to PreEdit when an input-method composition opens the cell.
inline constexpr int kProcessKey = 229;

}  // namespace kv::gridkey
