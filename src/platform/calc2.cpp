#include "platform/calc2.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace kv {
namespace {

// Deeper nesting of parentheses is refused rather than followed.
constexpr int kMaxNesting = 200;
// Quotients are carried to this many decimals, halves to the even digit.
constexpr int kDivisionDecimals = 20;
constexpr int kAnswerDecimals = 6;

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xA1 && c <= 0xDF) || c == '#' || c == '@' ||
         c == '[';
}
bool IsNameChar(unsigned char c) { return IsNameStart(c) || IsDigit(c); }

// A failed evaluation; nothing is stored.
struct Failure {};

// The value of a plain number text ("-" and digits with at most one ".").
std::optional<ExactDecimal> PlainValue(std::string_view number) {
  const bool negative = !number.empty() && number.front() == '-';
  if (negative) number.remove_prefix(1);
  std::optional<ExactDecimal> value = ExactDecimal::Parse(number);
  if (value && negative) value = -*value;
  return value;
}

// The value of a column variable; Failure when it was never set.
ExactDecimal SlotValue(const Calc2ColumnSlot& slot) {
  switch (slot.state) {
    case Calc2ColumnSlot::State::Value:
      return slot.value;
    case Calc2ColumnSlot::State::Text:
      if (std::optional<ExactDecimal> v = PlainValue(std::string_view(slot.text.data(), slot.length))) return *v;
      throw Failure{};
    case Calc2ColumnSlot::State::Unset:
      break;
  }
  throw Failure{};
}

void Store(Calc2Variables& vars, std::string_view name, const ExactDecimal& value) {
  if (const int col = Calc2ColumnOf(name); col != 0) {
    Calc2ColumnSlot& slot = vars.columns[static_cast<size_t>(col)];
    slot.state = Calc2ColumnSlot::State::Value;
    slot.value = value;
  } else if (auto found = vars.values.find(name); found != vars.values.end()) {
    found->second = value;
  } else {
    vars.values.emplace(std::string(name), value);
  }
}

class Parser {
 public:
  Parser(const Calc2Variables& vars, std::string_view text) : vars_(vars), text_(text) {}

  // The statement's value; `assignTo` receives the name of an assignment.
  ExactDecimal Statement(std::string& assignTo) {
    SkipBlanks();
    const size_t start = pos_;
    if (pos_ < text_.size() && IsNameStart(Peek())) {
      std::string_view name = Name();
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == '=') {
        ++pos_;
        ExactDecimal value = Expression();
        End();
        assignTo = std::string(name);
        return value;
      }
      pos_ = start;
    }
    ExactDecimal value = Expression();
    End();
    return value;
  }

 private:
  unsigned char Peek() const { return static_cast<unsigned char>(text_[pos_]); }
  bool AtEnd() const { return pos_ >= text_.size(); }
  void SkipBlanks() {
    while (!AtEnd() && text_[pos_] == ' ') ++pos_;
  }
  void End() {
    SkipBlanks();
    if (!AtEnd()) throw Failure{};  // text left over
  }

  std::string_view Name() {
    const size_t start = pos_;
    while (!AtEnd() && IsNameChar(Peek())) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  ExactDecimal Expression() {
    ExactDecimal value = Term();
    for (;;) {
      SkipBlanks();
      if (AtEnd() || (text_[pos_] != '+' && text_[pos_] != '-')) return value;
      const char op = text_[pos_++];
      ExactDecimal right = Term();
      value = op == '+' ? value + right : value - right;
    }
  }

  ExactDecimal Term() {
    ExactDecimal value = Factor();
    for (;;) {
      SkipBlanks();
      if (AtEnd() || (text_[pos_] != '*' && text_[pos_] != '/')) return value;
      const char op = text_[pos_++];
      ExactDecimal right = Factor();
      if (op == '*') {
        value = value * right;
      } else {
        if (right.IsZero()) throw Failure{};
        value = ExactDecimal::Divide(value, right, kDivisionDecimals, DecimalRounding::kHalfEven);
      }
    }
  }

  ExactDecimal Factor() {
    bool negative = false;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) throw Failure{};
      if (text_[pos_] == '+' || text_[pos_] == '-') {
        negative ^= text_[pos_] == '-';
        ++pos_;
        continue;
      }
      break;
    }
    ExactDecimal value = Primary();
    return negative ? -value : value;
  }

  ExactDecimal Primary() {
    const unsigned char c = Peek();
    if (c == '(') {
      if (++depth_ > kMaxNesting) throw Failure{};
      ++pos_;
      ExactDecimal value = Expression();
      SkipBlanks();
      if (AtEnd() || text_[pos_] != ')') throw Failure{};
      ++pos_;
      --depth_;
      return value;
    }
    if (IsDigit(c) || c == '.') return Number();
    if (IsNameStart(c)) {
      const std::string_view name = Name();
      if (const int col = Calc2ColumnOf(name); col != 0) return SlotValue(vars_.columns[static_cast<size_t>(col)]);
      auto found = vars_.values.find(name);
      if (found == vars_.values.end()) throw Failure{};
      return found->second;
    }
    throw Failure{};
  }

  ExactDecimal Number() {
    const size_t start = pos_;
    bool point = false, digits = false;
    while (!AtEnd()) {
      const unsigned char c = Peek();
      if (IsDigit(c)) {
        digits = true;
      } else if (c == '.' && !point) {
        point = true;
      } else {
        break;
      }
      ++pos_;
    }
    if (!digits) throw Failure{};
    std::optional<ExactDecimal> value = ExactDecimal::Parse(text_.substr(start, pos_ - start));
    if (!value) throw Failure{};
    return *value;
  }

  const Calc2Variables& vars_;
  std::string_view text_;
  size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

int Calc2(Calc2Variables& vars, std::string_view expression, std::string& result) {
  std::string name;
  std::string answer;
  ExactDecimal value;
  try {
    Parser parser(vars, expression);
    value = parser.Statement(name);
    answer = value.ToFixedText(kAnswerDecimals);
  } catch (const Failure&) {
    return 0;
  } catch (const DecimalOverflow&) {
    return 0;
  } catch (const std::domain_error&) {
    return 0;
  }
  if (answer.size() + 1 > result.size()) return 0;
  result.replace(0, answer.size(), answer);
  result[answer.size()] = '\0';
  if (!name.empty()) Store(vars, name, value);
  return 1;
}

int Calc2ColumnOf(std::string_view name) {
  if (name.size() != 3 || name[0] != '[' || name[1] != '[') return 0;
  const char c = name[2];
  if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
  if (c >= 'a' && c <= 'z') return c - 'a' + 27;
  return 0;
}

bool Calc2SetNumber(Calc2Variables& vars, std::string_view name, std::string_view number) {
  constexpr size_t kMaxPlainLength = 30;  // far inside the range and the answer buffer
  if (number.size() > kMaxPlainLength) return false;
  const std::string_view whole = number;
  const bool negative = !number.empty() && number.front() == '-';
  if (negative) number.remove_prefix(1);
  bool point = false, digits = false;
  for (char c : number) {
    if (IsDigit(static_cast<unsigned char>(c))) {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (!digits) return false;
  if (const int col = Calc2ColumnOf(name); col != 0) {
    // Kept as text: most column variables are set for every row and never
    // read by an expression.
    Calc2ColumnSlot& slot = vars.columns[static_cast<size_t>(col)];
    slot.state = Calc2ColumnSlot::State::Text;
    slot.length = static_cast<unsigned char>(whole.size());
    std::copy(whole.begin(), whole.end(), slot.text.begin());
    return true;
  }
  // The number read and signed as the statement's factor reads it.
  std::optional<ExactDecimal> value = PlainValue(whole);
  if (!value) return false;
  Store(vars, name, *value);
  return true;
}

int Calc2Init(Calc2Variables& vars) {
  vars.values.clear();
  vars.columns.fill(Calc2ColumnSlot{});
  return 1;
}

}  // namespace kv
