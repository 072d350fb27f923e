#pragma once
// The running sums of the equipment steps (mark sums, group sums, the
// consumables totals), added to the expression service's variables without
// sending a statement when the amount is a plain number.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/decimal.h"

namespace kv {

struct ProgramState;

// An amount text and, when it is a plain number (an optional sign, then
// digits with at most one "."), its value as the expression service reads
// it: read once for every sum it joins. A plain number without "." of up to
// 18 digits is also held as a whole number.
struct EquipAmount {
  std::string text;
  std::optional<ExactDecimal> plain;
  std::optional<std::int64_t> whole;

  static EquipAmount Of(std::string text);
};

// The amount text of sheet row `row` read as `EquipAmount::Of` reads it;
// parsed again only when the row's text differs from the one read last
// (the steps read the same amounts one after the other). The answer for a
// row of the sheet (1 .. kMaxSheetRows + 1) stays valid until that row is
// read again; for any other row number, until the next call.
const EquipAmount& EquipRowAmount(int row, std::string_view text);

// The amount of sheet row `row` (`EquipRowAmount`) when its text is a number
// as `IsNumberText` reads one, else null. A plain number is one: its text is
// not read a second time.
const EquipAmount* EquipRowNumber(int row, std::string_view text);

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
// addition gives the same answer and stored value as `EquipSumAdd`, but
// whole amounts added to a variable already found are held back in a whole
// number and added to it in one step by `Flush` (whole numbers add up
// exactly in any order): flush before the variable is read or set
// otherwise. Every other amount flushes first; the sum flushes when it ends.
class EquipSum {
 public:
  explicit EquipSum(std::string name);
  EquipSum(EquipSum&& other) noexcept;
  EquipSum(const EquipSum&) = delete;
  EquipSum& operator=(const EquipSum&) = delete;
  EquipSum& operator=(EquipSum&&) = delete;
  ~EquipSum();

  const std::string& Name() const { return name_; }
  bool Add(ProgramState& st, const EquipAmount& amount);
  bool AddOrStart(ProgramState& st, const EquipAmount& amount);
  // The amounts held back, added to the variable; false when that fails.
  bool Flush(ProgramState& st);

 private:
  std::string name_;
  bool whole_;                      // a whole variable name
  ExactDecimal* value_ = nullptr;  // its stored value, once found
  std::int64_t held_ = 0;          // whole amounts not yet added
  ProgramState* heldFor_ = nullptr;
};

}  // namespace kv
