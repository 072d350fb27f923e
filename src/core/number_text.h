#pragma once
// Number texts of numeric columns: the stored form fitted to a column's width
// and decimals, the display form with thousands separators, the form of total
// values, the display masks and the rounding step of a column. Computed on the
// decimal digits of the text; no binary floating point.
//
// Each operation takes the column's properties explicitly; the forms that read
// them from the column tables of the program state are in
// state/column_numbers.h.
#include <array>
#include <string>
#include <string_view>

#include "core/currency.h"

namespace kv {

// What the number texts of one column depend on.
struct NumColumn {
  int width = 0;             // byte width of the field
  int decimals = 0;          // 0..4
  bool wholeNumber = false;  // type code begins "0": no fraction is shown
  char zero = '0';           // fill of missing decimals: '0' or ' ' ([Boot] Zero)
};

// The properties of a column of that byte width and type code, with the
// setting `[Boot] Zero` (zeroSetting): the decimals the column definitions take
// from the type code, after its first character for "S", "A", "Q", "I" codes
// ("A2" gives 2), else from the whole code ("3" gives 3, "C" gives 0).
NumColumn NumColumnFor(int width, std::string_view typeCode, std::string_view zeroSetting);

// The text becomes exactly width characters: blanks for a value of 0 (and for
// a text that does not read as a number), all "+" / all "-" when the value
// lies beyond what the width holds, else the value with the column's decimals
// (cut, not rounded) right-aligned.
void NumFitColumn(std::string& text, const NumColumn& col);

// The shortest text of a value ("1234.5", ".5", "-.25", "0"), written
// backwards so as to end just before `end`; answers its first character.
// At most kShortestNumberChars characters.
inline constexpr size_t kShortestNumberChars = 24;
char* ShortestNumberText(Currency value, char* end);

// What NumFitColumn makes of the shortest text of `value`, into `out`,
// without the text being read back.
void NumFitValue(std::string& out, Currency value, const NumColumn& col);

// Display form: "," before every group of three integer digits (4 to 15
// integer characters), the fraction cut or blank-padded to decimals + 1
// characters, no fraction in a whole-number column; never longer than the
// column's mask through blanks at its end. An overflow mark stays as it is.
void NumCommaFormat(std::string& text, const NumColumn& col);

// Total values: blanks for 0 and the overflow marks of NumFitColumn, else the
// display form of NumCommaFormat (neither right-aligned nor padded).
void TotalFitColumn(std::string& text, const NumColumn& col);

// True for an overflow mark (a run of two or more "+" or of "-", blanks
// around it allowed).
bool IsOverflowMarkText(std::string_view text);

// The characters the display form of a column may take: the length of its
// mask (MakeColumnMask).
size_t ShownWidth(const NumColumn& col);

// The display mask of a numeric column of the given width and type code, e.g.
// width 8, type "2": "##,###.00".
std::string MakeColumnMask(int width, std::string_view typeCode);

// 0.1, 0.01, 0.001 or 0.0001 for 1..4 decimals; 0 otherwise.
Currency DecimalStep(int decimals);

}  // namespace kv
