#pragma once
// The running sums of the equipment steps (mark sums, group sums, the
// consumables totals), added to the expression service's variables without
// sending a statement when the amount is a plain number.
#include <optional>
#include <string>
#include <string_view>

#include "platform/decimal.h"

namespace kv {

struct ProgramState;

// An amount text and, when it is a plain number (an optional sign, then
// digits with at most one "."), its value as the expression service reads
// it: read once for every sum it joins.
struct EquipAmount {
  std::string text;
  std::optional<ExactDecimal> plain;

  static EquipAmount Of(std::string text);
};

// The amount text of sheet row `row` read as `EquipAmount::Of` reads it;
// parsed again only when the row's text differs from the one read last
// (the steps read the same amounts one after the other). The answer for a
// row of the sheet (1 .. kMaxSheetRows + 1) stays valid until that row is
// read again; for any other row number, until the next call.
const EquipAmount& EquipRowAmount(int row, std::string_view text);

// name = name + amount: the same answer and the same stored value as the
// statement through `CalcExpression`. A plain amount (an optional sign, then
// digits with at most one ".") is added in exact decimal arithmetic to the
// stored value; anything else, an unknown name or a sum beyond the range is
// left to the statement. False when the statement would fail.
bool EquipSumAdd(ProgramState& st, std::string_view name, std::string_view amount);
bool EquipSumAdd(ProgramState& st, std::string_view name, const EquipAmount& amount);

// name = name + amount, or name = amount when that fails (the first amount
// of a sum that has not been started).
bool EquipSumAddOrStart(ProgramState& st, std::string_view name, const EquipAmount& amount);

// A running sum that takes many amounts: its variable is looked up once and
// kept (the service's variables stay where they are until the next
// `CalcInit`, so a step keeps its sums no longer than its own run). Each
// addition gives the same answer and stored value as `EquipSumAdd`.
class EquipSum {
 public:
  explicit EquipSum(std::string name);
  const std::string& Name() const { return name_; }
  bool Add(ProgramState& st, const EquipAmount& amount);
  bool AddOrStart(ProgramState& st, const EquipAmount& amount);

 private:
  std::string name_;
  bool whole_;                      // a whole variable name
  ExactDecimal* value_ = nullptr;  // its stored value, once found
};

}  // namespace kv
