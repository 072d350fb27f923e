#pragma once
// Rewriting a reference estimate saved with another column layout into the
// editor's layout, field by field, by a mapping of editor fields to reference
// fields (a conversion rule). Records are Shift-JIS byte strings; positions
// are 1-based byte positions, the first field starting at byte 20.
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct ProgramState;

// One field of a level-1 layout: its caption (display text), "N" numeric or
// "C" character, decimals, first byte and width in bytes.
struct RefField {
  std::string name;
  std::string type;
  int decimals = 0;
  int offset = 0;
  int width = 0;
};

// The most fields a side of a rule holds.
inline constexpr int kMaxRuleFields = 53;

// What a conversion needs: the editor's fields, the reference's fields and,
// for each editor field, the 0-based reference field feeding it (-1: none).
struct RefConvRule {
  std::vector<RefField> m;
  std::vector<RefField> r;
  std::vector<int> map;
};

// The level-1 fields of the layout file of `workBase`, read through the one
// layout reader: types "N" for the numeric type codes ("0".."4", "A"), else
// "C"; offsets from byte 20 on. False, with `problem` telling why, when the
// file is missing or refused.
bool RefFldInfoRead(const ProgramState& st, const std::string& workBase, std::vector<RefField>& fields,
                    std::string& problem);

// A number as the conversion takes it: an optional sign, digits with
// digit-group commas, an optional point with digits.
bool IsConvNumber(std::string_view text);

// Fits a numeric text (blanks trimmed) to a field of `width` bytes with
// `decimals`: right-aligned with the point at width - decimals, a fraction cut
// (never rounded) and padded with blanks, digit-group commas dropped. A text
// holding "++" or "--" becomes that mark repeated over the width, and so does
// a number whose integer part does not fit ("+", or "-" for a negative one).
// A text that is no number comes back unchanged.
std::string ChgAnsFormat(std::string_view text, int width, int decimals);

// One record converted: bytes outside the editor's fields kept, unmapped
// fields blank, numeric to numeric through ChgAnsFormat, otherwise the text
// copied left-aligned (a two-line text of a wider source wrapped again at
// half the width), cut without splitting a double-byte character and padded
// with blanks. Memo-type rows, whose text runs across the fields, come back
// byte for byte.
std::string ScStrConv(std::string_view source, const RefConvRule& rule);

// Converts every record of every level file of the work set `base` (level by
// level until one is missing). All or nothing: every level file is checked
// first (whole records, sound numbers and chains), the converted records go
// to temporary files beside them, and these replace the originals only once
// all are written. Only files in the reference work folder are touched.
// False, with the files as they were and `reason` telling why, on any
// failure.
bool RefDataChgMain(ProgramState& st, const std::string& base, const RefConvRule& rule, std::string& reason);

}  // namespace kv
