#pragma once
// The equipment edition's unit rounding of all rows and its aggregation
// rules (SIKI): a row whose rule-column text starts with "*" is a rule row,
// the character after the "*" its group code; every row carrying that code
// in the rule column belongs to the group; the rule's body is evaluated with
// the group's column sums ("[#X") and the rule row's own texts ("[[X") and
// the result goes into the rule's result column. Rule rows inside a group are
// computed first, one level deeper (at most 10 deep). Both work on the sheet
// in memory at `CurrentLevel`.
#include <array>
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// Rounds the value column of every ZOKU pair on every item row up to its
// unit. Always true.
bool ZokuRoundAllRows(ProgramState& st, bool paint);

// A parsed rule.
struct SikiRule {
  int ruleCol = 0;
  std::string body;
  std::array<int, 10> bodyCols{};
  int bodyCount = 0;
  int resultCol = 0;
};
SikiRule SikiRuleParse(std::string_view rule);

// Every rule over every rule row. False after the message naming the row
// whose group nests too deeply (a group that contains itself).
bool SikiRulesApply(ProgramState& st, bool paint);

}  // namespace kv
