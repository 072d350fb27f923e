#include "calc/equipment/equipment_sums.h"

#include <optional>
#include <string>
#include <vector>

#include "calc/calc_expression.h"
#include "calc/equipment/equipment_cells.h"
#include "platform/calc2.h"
#include "platform/decimal.h"
#include "state/program_state.h"
#include "state/sheet_state.h"

namespace kv {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsNameStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xA1 && c <= 0xDF) || c == '#' || c == '@' ||
         c == '[';
}

// A whole variable name as the expression service reads one: the statement
// "name=..." assigns exactly this name.
bool IsWholeName(std::string_view name) {
  if (name.empty() || !IsNameStart(static_cast<unsigned char>(name.front()))) return false;
  for (char c : name)
    if (!IsNameStart(static_cast<unsigned char>(c)) && !IsDigit(c)) return false;
  return true;
}

// The value of a plain number text, signed as the expression service signs
// the factor it reads; empty for any other text.
std::optional<ExactDecimal> PlainNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool point = false, digits = false;
  for (char c : text) {
    if (IsDigit(c)) {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  std::optional<ExactDecimal> value = ExactDecimal::Parse(text);
  if (value && negative) *value = -*value;
  return value;
}

// Through the expression service, as the statement.
bool Statement(ProgramState& st, std::string_view name, std::string_view rhs) {
  std::string statement;
  statement.reserve(name.size() * 2 + rhs.size() + 2);
  statement.append(name).append("=").append(rhs);
  std::string ignored;
  return CalcExpression(st, statement, ignored);
}

// name = name + amount: a plain amount added to the stored value found (and
// kept in `value`) when the name is whole; else the statement.
bool AddTo(ProgramState& st, std::string_view name, bool whole, ExactDecimal*& value, const EquipAmount& amount) {
  if (amount.plain && whole) {
    if (value == nullptr) {
      auto& values = st.Calc2Vars.values;
      if (const auto found = values.find(name); found != values.end()) value = &found->second;
    }
    if (value != nullptr) {
      try {
        *value = *value + *amount.plain;
        return true;
      } catch (const DecimalOverflow&) {
        // left to the statement, which fails the same way
      }
    } else if (Calc2ColumnOf(name) == 0) {
      // The statement reads the name first and fails on a name never set,
      // storing nothing: a sum not started yet fails here without it.
      return false;
    }
  }
  std::string rhs;
  rhs.append(name).append("+").append(amount.text);
  return Statement(st, name, rhs);
}

bool StartWith(ProgramState& st, std::string_view name, bool whole, const EquipAmount& amount) {
  if (whole && Calc2SetNumber(st.Calc2Vars, name, amount.text)) return true;
  return Statement(st, name, amount.text);
}

// The value of a text of an optional sign and 1 to 18 digits.
std::optional<std::int64_t> WholeNumber(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::int64_t v = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return negative ? -v : v;
}

}  // namespace

EquipAmount EquipAmount::Of(std::string text) {
  EquipAmount a;
  a.plain = PlainNumber(text);
  if (a.plain) a.whole = WholeNumber(text);
  a.text = std::move(text);
  return a;
}

const EquipAmount& EquipRowAmount(int row, std::string_view text) {
  // One slot per sheet row; slot 0 serves any other row number.
  thread_local std::vector<EquipAmount> read(static_cast<size_t>(kMaxSheetRows) + 2);
  EquipAmount& slot = read[row >= 1 && row <= kMaxSheetRows + 1 ? static_cast<size_t>(row) : 0];
  if (slot.text != text || (row < 1 || row > kMaxSheetRows + 1)) slot = EquipAmount::Of(std::string(text));
  return slot;
}

const EquipAmount* EquipRowNumber(int row, std::string_view text) {
  if (text.empty()) return nullptr;
  const EquipAmount& amount = EquipRowAmount(row, text);
  return amount.plain || IsNumberText(text) ? &amount : nullptr;
}

bool EquipSumAdd(ProgramState& st, std::string_view name, const EquipAmount& amount) {
  ExactDecimal* value = nullptr;
  return AddTo(st, name, IsWholeName(name), value, amount);
}

bool EquipSumAdd(ProgramState& st, std::string_view name, std::string_view amount) {
  return EquipSumAdd(st, name, EquipAmount::Of(std::string(amount)));
}

bool EquipSumAddOrStart(ProgramState& st, std::string_view name, const EquipAmount& amount) {
  return EquipSumAdd(st, name, amount) || StartWith(st, name, IsWholeName(name), amount);
}

EquipSum::EquipSum(std::string name) : name_(std::move(name)), whole_(IsWholeName(name_)) {}

EquipSum::EquipSum(EquipSum&& other) noexcept
    : name_(std::move(other.name_)),
      whole_(other.whole_),
      value_(other.value_),
      held_(other.held_),
      heldFor_(other.heldFor_) {
  other.held_ = 0;
  other.heldFor_ = nullptr;
}

EquipSum::~EquipSum() {
  if (heldFor_ != nullptr) Flush(*heldFor_);
}

bool EquipSum::Add(ProgramState& st, const EquipAmount& amount) {
  if (amount.whole && whole_) {
    if (value_ == nullptr) {
      auto& values = st.Calc2Vars.values;
      if (const auto found = values.find(name_); found != values.end()) value_ = &found->second;
    }
    std::int64_t held = 0;
    if (value_ != nullptr && !__builtin_add_overflow(held_, *amount.whole, &held)) {
      held_ = held;
      heldFor_ = &st;
      return true;
    }
  }
  return Flush(st) && AddTo(st, name_, whole_, value_, amount);
}

bool EquipSum::AddOrStart(ProgramState& st, const EquipAmount& amount) {
  return Add(st, amount) || StartWith(st, name_, whole_, amount);
}

bool EquipSum::Flush(ProgramState& st) {
  if (heldFor_ == nullptr) return true;
  EquipAmount held;
  held.text = std::to_string(held_);
  held.plain = ExactDecimal::FromInt(held_);
  held.whole = held_;
  held_ = 0;
  heldFor_ = nullptr;
  return AddTo(st, name_, whole_, value_, held);
}

}  // namespace kv
