#pragma once
// The conversion rules of the program folder's MDataChange.INI: under
// [変換ルール] the count ChgRuleCnt and the names ChgRuleName1..n; one section
// per rule name with
//   MFieldCnt = m, MField1..m = name,type,offset,width,decimals,map
//   RFieldCnt = r, RField1..r = name,type,offset,width,decimals
// (map: the 0-based reference field feeding the editor field, -1 for none).
// A value is split from the right, so a field name may hold commas. No rule
// is ever deleted.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "reference/ref_field_conv.h"

namespace kv {

struct ProgramState;

inline constexpr int kMaxRules = 1000;
inline constexpr const char* kRuleListSection = "変換ルール";

// AppPath/MDataChange.INI.
std::filesystem::path RuleFilePath(const ProgramState& st);

// The names of the rules in file order. A missing count means no rules; a
// count above 1000 is read as 1000.
struct RuleList {
  int RuleCount = 0;
  std::vector<std::string> RuleNames;  // RuleNames[k - 1] is rule k
};
RuleList ChgRuleNameGet(const std::filesystem::path& file);

// The first k (1-based) whose name equals `name` exactly, else the first
// whose name the rule file takes for the same section (letter case and
// surrounding blanks aside); -1 when none.
int FindRuleName(const RuleList& list, const std::string& name);

// One MField / RField value. False when it has too few items, a type other
// than "C" or "N", or a number item that is not a number.
bool ParseMFieldEntry(const std::string& value, RefField& field, int& map);
bool ParseRFieldEntry(const std::string& value, RefField& field);

// The value SaveRule writes for an editor field / a reference field.
std::string MFieldEntry(const RefField& field, int map);
std::string RFieldEntry(const RefField& field);

// The definitions of a stored rule. nullopt when the section is missing, a
// count is not 1..53, an entry cannot be read, or a mapping names a
// reference field the rule does not have.
std::optional<RefConvRule> ReadRuleDefinitions(const std::filesystem::path& file, const std::string& name);

// True when the stored rule has the current counts and, field by field on
// both sides, the same type, decimals, offset and width (names and mapping
// are not compared).
bool RuleMatchesCurrentFields(const RefConvRule& stored, const std::vector<RefField>& m,
                              const std::vector<RefField>& r);

enum class RuleSaveResult { Saved, Full, WriteFailed };

// Writes `rule` under `name`: over rule k (1-based) when k is not -1, else as
// a new rule at the end of the list (refused when 1000 rules are there).
// `list` is brought up to date with what was written.
RuleSaveResult SaveRule(const std::filesystem::path& file, RuleList& list, int k, const std::string& name,
                        const RefConvRule& rule);

// True when a rule name can be a section of the rule file: not blank, no
// "[", "]", "=", line break, and no leading or trailing blank.
bool RuleNameAcceptable(const std::string& name);

}  // namespace kv
