#include "calc/formula_evaluate.h"

#include <array>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

#include "state/program_state.h"
#include "calc/formula_chars.h"
#include "core/column_letter.h"
#include "core/currency.h"
#include "core/number_text.h"
#include "platform/codepage.h"
#include "platform/decimal.h"

namespace kv {
namespace {

// The evaluator's messages, stored into the result exactly as they stand.
struct Messages {
  std::string parenCount = ToSjis("Err()の数が違います");
  std::string closeFirst = ToSjis("Err) ﾊ ﾀﾞﾒ");
  std::string operatorFirst = ToSjis("Err初ﾒﾉ*/ﾊ ﾀﾞﾒ");
  std::string undefined = ToSjis("Err 未定義ﾃﾞｽ");
  std::string badName = ToSjis("Err変数定義間違ｲ");
  std::string tooManyNames = ToSjis("Err変数定義ﾊ250個ﾏﾃﾞ");
  std::string powerSetup = ToSjis("Err 式の設定ｴﾗｰ");
  std::string onePower = ToSjis("＾記号は式の中で１ｹの仕様です");
  std::string oneLog = ToSjis("LOG記号は式の中で１ｹの仕様です");
  std::string formula = ToSjis("Err 数式等のエラーです!");
  std::string assignFirst = "Err ???";
};

const Messages& Msg() {
  static const Messages messages;
  return messages;
}

// Ends the evaluation of the whole formula with `result`; `range` is the
// sign of a value beyond the calculable range (0 for any other failure).
struct Stop {
  std::string result;
  int range = 0;
};

constexpr size_t kMaxTokens = 250;
constexpr size_t kMaxTokensWithProducts = 248;
constexpr int kProductDecimals = 20;
constexpr int kQuotientDecimals = 14;
constexpr int kPowerFractionDigits = 14;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsSign(char16_t c) { return c == u'+' || c == u'-'; }
bool IsKanaLetter(char16_t c) { return c >= 0xB1 && c <= 0xDD; }  // "ｱ" .. "ﾝ"
bool IsLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
// What may stand before "^" at the end of a plain base, or after it at the
// start of a named exponent: "A".."z" as a range of codes.
bool OpensOperand(char16_t c) { return IsDigit(c) || IsKanaLetter(c) || (c >= u'A' && c <= u'z'); }
// The characters a plain base or exponent is made of.
bool InOperand(char16_t c) { return IsDigit(c) || c == u'.' || IsLetter(c) || IsKanaLetter(c); }

std::u16string_view TrimBlanks(std::u16string_view s) {
  while (!s.empty() && s.front() == u' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == u' ') s.remove_suffix(1);
  return s;
}

size_t FindLog(std::u16string_view s) {
  for (size_t i = 0; i + 4 <= s.size(); ++i)
    if ((s[i] == u'L' || s[i] == u'l') && (s[i + 1] == u'O' || s[i + 1] == u'o') &&
        (s[i + 2] == u'G' || s[i + 2] == u'g') && s[i + 3] == u'(')
      return i;
  return std::u16string_view::npos;
}

// The ")" that closes the "(" at `open`; npos when none does.
size_t MatchForward(std::u16string_view s, size_t open) {
  int depth = 0;
  for (size_t i = open; i < s.size(); ++i) {
    if (s[i] == u'(') ++depth;
    if (s[i] == u')' && --depth == 0) return i;
  }
  return std::u16string_view::npos;
}

// The "(" that the ")" at `close` closes; npos when none does.
size_t MatchBackward(std::u16string_view s, size_t close) {
  int depth = 0;
  for (size_t i = close + 1; i-- > 0;) {
    if (s[i] == u')') ++depth;
    if (s[i] == u'(' && --depth == 0) return i;
  }
  return std::u16string_view::npos;
}

// The number a text begins with (the characters up to the first one outside
// the single-byte range take part).
ExactDecimal ValueOf(std::u16string_view s) {
  std::string ascii;
  for (char16_t c : s) {
    if (c > 0x7F) break;
    ascii += static_cast<char>(c);
  }
  std::optional<ExactDecimal> v = ExactDecimal::Parse(ascii);
  if (!v) throw Stop{Msg().formula};
  return *v;
}

// A flat result: "+x", "-x" or "0".
std::u16string SignedText(Currency v) {
  if (v.IsZero()) return u"0";
  std::string t = v.ToText();
  std::u16string out = v.Raw() > 0 ? u"+" : u"";
  for (char c : t) out += static_cast<char16_t>(c);
  return out;
}

std::u16string ToFormula(std::string_view ascii) {
  std::u16string out;
  for (char c : ascii) out += static_cast<char16_t>(static_cast<unsigned char>(c));
  return out;
}

// The value's shortest text, as Currency writes it ("1234.5", ".5",
// "-.25", "0"): every statement's result passes here.
std::string ShortestText(Currency v) {
  char buf[kShortestNumberChars];
  char* end = buf + sizeof buf;
  const char* begin = ShortestNumberText(v, end);
  return std::string(begin, static_cast<size_t>(end - begin));
}

// The rounding marks of one statement.
struct Marks {
  bool up = false;     // "@"
  bool down = false;   // "!"
  bool half = false;   // "~"
};

struct Token {
  char16_t op = 0;    // "*" or "/" for an operator token
  char16_t sign = 0;  // "+" or "-" the operand begins with, 0 for none
  size_t begin = 0, end = 0;
};

class Evaluator {
 public:
  Evaluator(ProgramState& st, const LevelContext& ctx, std::string_view record)
      : st_(st), ctx_(ctx), record_(record) {}

  std::string Statement(std::u16string_view written, std::string* assigned) {
    written = TrimBlanks(written);
    if (written.empty()) throw Stop{"0"};
    std::u16string s(written);
    Marks marks;
    marks.up = RemoveFirst(s, u'@');
    marks.down = RemoveFirst(s, u'!');
    marks.half = RemoveFirst(s, u'~');
    const size_t eq = s.find(u'=');
    if (eq == std::u16string::npos) {
      const Currency v = Expression(std::move(s));
      return StatementResult(v, marks);
    }
    if (s[0] == u'=') throw Stop{Msg().assignFirst + EncodeFormula(s) + "|" + EncodeFormula(written)};
    if (s[0] == u'+' || s[0] == u'-' || s[0] == u'/' || s[0] == u'*' || s[0] == u'.' || s[0] == u' ')
      throw Stop{Msg().badName};
    readsState_ = true;
    const std::string name = EncodeFormula(std::u16string_view(s).substr(0, eq));
    auto& table = st_.FormulaVariableTable;
    size_t index = 0;
    while (index < table.size() && table[index].name != name) ++index;
    if (index == table.size()) {
      if (table.size() >= static_cast<size_t>(kFormulaVariableMax)) throw Stop{Msg().tooManyNames};
      table.push_back({name, ""});
    }
    const Currency v = Expression(s.substr(eq + 1));
    std::string value = InternalValue(v, marks);
    table[index].value = value;
    if (assigned) *assigned = std::move(value);
    return "";
  }

 private:
  static bool RemoveFirst(std::u16string& s, char16_t mark) {
    const size_t at = s.find(mark);
    if (at == std::u16string::npos) return false;
    s.erase(at, 1);
    return true;
  }

  // The whole number a mark rounds V to; empty when no mark applies.
  static std::optional<std::int64_t> Rounded(Currency v, const Marks& marks) {
    const std::int64_t raw = v.Raw();
    const std::int64_t scale = Currency::kScale;
    const bool whole = raw % scale == 0;
    std::int64_t q = raw / scale;  // towards zero
    if (marks.up) {
      if (whole) return std::nullopt;
      return raw > 0 ? q + 1 : q;
    }
    if (marks.down) {
      if (whole) return std::nullopt;
      return raw < 0 ? q - 1 : q;
    }
    if (marks.half) {
      const __int128 shifted = static_cast<__int128>(raw) + scale / 2;
      __int128 f = shifted / scale;
      if (shifted % scale != 0 && shifted < 0) --f;
      return static_cast<std::int64_t>(f);
    }
    return std::nullopt;
  }

  static std::string StatementResult(Currency v, const Marks& marks) {
    if (std::optional<std::int64_t> r = Rounded(v, marks)) return std::to_string(*r);
    return ShortestText(v);
  }

  // The value an assignment stores: "+5", "-3", "0", or a rounded value with
  // a blank in place of its sign (" 4").
  static std::string InternalValue(Currency v, const Marks& marks) {
    if (std::optional<std::int64_t> r = Rounded(v, marks)) return (*r >= 0 ? " " : "") + std::to_string(*r);
    if (v.IsZero()) return "0";
    return (v.Raw() > 0 ? "+" : "") + v.ToText();
  }

  // Power, logarithm, parentheses and arithmetic of an expression.
  Currency Expression(std::u16string s) {
    s = Power(std::move(s));
    s = Log(std::move(s));
    return ParensAndFlat(s);
  }

  // A group or a plain operand: logarithm, then parentheses and arithmetic.
  Currency Operand(std::u16string s) {
    s = Log(std::move(s));
    return ParensAndFlat(s);
  }

  std::u16string Power(std::u16string s) {
    const size_t p = s.find(u'^');
    if (p == std::u16string::npos) return s;
    if (p == 0) throw Stop{Msg().formula};
    const bool second = s.find(u'^', p + 1) != std::u16string::npos;
    // The base, ending just before "^".
    size_t baseStart;
    const char16_t before = s[p - 1];
    if (before == u')') {
      baseStart = MatchBackward(s, p - 1);
      if (baseStart == std::u16string::npos) throw Stop{Msg().powerSetup};
    } else if (OpensOperand(before)) {
      size_t i = p - 1;
      while (i >= 1 && InOperand(s[i])) --i;
      if (i >= 1) {
        baseStart = i + 1;
      } else {
        baseStart = s[0] == u'(' ? 1 : 0;
      }
    } else {
      throw Stop{Msg().powerSetup};
    }
    if (baseStart >= p) throw Stop{Msg().powerSetup};
    // The exponent, starting just after "^".
    const size_t q = p + 1;
    if (q >= s.size()) throw Stop{Msg().powerSetup};
    size_t expEnd;
    const char16_t after = s[q];
    if (after == u'(') {
      const size_t close = MatchForward(s, q);
      if (close == std::u16string::npos) throw Stop{Msg().powerSetup};
      expEnd = close + 1;
    } else if (IsDigit(after) || IsSign(after) || after == u'.') {
      size_t k = IsSign(after) ? q + 1 : q;
      const size_t runStart = k;
      while (k < s.size() && (IsDigit(s[k]) || s[k] == u'.')) ++k;
      if (k == runStart) throw Stop{Msg().powerSetup};
      expEnd = k;
    } else if (OpensOperand(after)) {
      size_t k = q;
      while (k < s.size() && InOperand(s[k])) ++k;
      if (k == q) throw Stop{Msg().powerSetup};
      expEnd = k;
    } else {
      throw Stop{Msg().powerSetup};
    }
    const Currency base = Operand(s.substr(baseStart, p - baseStart));
    const Currency exponent = Operand(s.substr(q, expEnd - q));
    const ExactDecimal power = Raise(ExactDecimal::FromCurrency(base), exponent);
    std::string text;
    if (power.Abs() >= ExactDecimal::FromInt(1)) {
      text = power.ToText();
    } else {
      text = (power.IsNegative() ? "-0." : "0.") + power.FractionDigits(kPowerFractionDigits);
    }
    if (!power.IsNegative()) text.insert(0, "+");
    s = s.substr(0, baseStart) + ToFormula(text) + s.substr(expEnd);
    if (second) throw Stop{Msg().onePower};
    return s;
  }

  // base ^ exponent: exactly by repeated multiplication for a whole exponent,
  // else in long double rounded to 15 significant digits.
  static ExactDecimal Raise(const ExactDecimal& base, Currency exponent) {
    if (exponent.Raw() % Currency::kScale == 0) {
      std::int64_t n = exponent.Raw() / Currency::kScale;
      const bool reciprocal = n < 0;
      std::uint64_t remaining = reciprocal ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
      ExactDecimal result = ExactDecimal::FromInt(1), square = base;
      while (remaining != 0) {
        if (remaining & 1) result = result * square;
        remaining >>= 1;
        if (remaining != 0) square = square * square;
      }
      if (!reciprocal) return result;
      if (result.IsZero()) throw Stop{Msg().formula};
      return ExactDecimal::Divide(ExactDecimal::FromInt(1), result, kQuotientDecimals, DecimalRounding::kTruncate);
    }
    const long double p = std::pow(base.ToLongDouble(), ExactDecimal::FromCurrency(exponent).ToLongDouble());
    std::optional<ExactDecimal> value = ExactDecimal::FromLongDouble(p);
    if (!value) throw Stop{Msg().formula};
    return *value;
  }

  std::u16string Log(std::u16string s) {
    const size_t at = FindLog(s);
    if (at == std::u16string::npos) return s;
    const size_t open = at + 3;
    const size_t close = MatchForward(s, open);
    if (close == std::u16string::npos) throw Stop{Msg().powerSetup};
    const Currency v = ParensAndFlat(s.substr(open, close - open + 1));
    if (v.IsZero()) throw Stop{"0"};
    if (v.Raw() < 0) throw Stop{Msg().formula};
    std::optional<ExactDecimal> l =
        ExactDecimal::FromLongDouble(std::log10(ExactDecimal::FromCurrency(v).ToLongDouble()));
    std::optional<Currency> fixed = l ? l->ToCurrency() : std::nullopt;
    if (!fixed) throw Stop{Msg().formula};
    s = s.substr(0, at) + ToFormula(fixed->ToText()) + s.substr(close + 1);
    if (FindLog(s) != std::u16string::npos) throw Stop{Msg().oneLog};
    return s;
  }

  // Innermost groups first, each replaced by its flat result (a sign meeting
  // the result's sign merges with it), then the rest.
  Currency ParensAndFlat(std::u16string_view s) {
    size_t opens = 0, closes = 0;
    for (char16_t c : s) {
      opens += c == u'(';
      closes += c == u')';
    }
    if (opens == 0 && closes == 0) return Flat(s);
    if (opens != closes) throw Stop{Msg().parenCount};
    if (s[0] == u')') throw Stop{Msg().closeFirst};
    std::u16string out;
    std::vector<size_t> openAt;
    for (char16_t c : s) {
      if (c == u'(') {
        openAt.push_back(out.size());
        out += c;
      } else if (c == u')') {
        if (openAt.empty()) throw Stop{Msg().formula};  // closes nothing
        const size_t at = openAt.back();
        openAt.pop_back();
        // A zero group is written "+0", so that a group directly after a
        // number adds to it ("2(5-5)" is 2 + 0, not 20).
        const Currency v = Flat(std::u16string_view(out).substr(at + 1));
        const std::u16string r = v.IsZero() ? u"+0" : SignedText(v);
        out.resize(at);
        if (!out.empty() && IsSign(out.back()) && IsSign(r[0])) {
          out.back() = out.back() == r[0] ? u'+' : u'-';
          out.append(r, 1);
        } else {
          out += r;
        }
      } else {
        out += c;
      }
    }
    return Flat(out);
  }

  Currency Flat(std::u16string_view s) {
    // Flat never runs inside another Flat: one buffer serves every call.
    thread_local std::vector<Token> tokens;
    Tokenize(s, tokens);
    return FlatValue(s, tokens);
  }

 public:
  // A plain statement split once (PlainFormulaOf): its value, as Statement
  // would answer it.
  std::string PlainStatement(const std::u16string& s, const std::vector<Token>& tokens) {
    return StatementResult(FlatValue(s, tokens), Marks{});
  }

  // The operands and operators of a flat expression.
  static void Tokenize(std::u16string_view s, std::vector<Token>& tokens) {
    tokens.assign(1, Token{});
    bool products = false;
    char16_t prev = u'~';
    for (size_t i = 0; i < s.size(); ++i) {
      const char16_t c = s[i];
      if (c == u'*' || c == u'/') {
        if (i == 0) throw Stop{Msg().operatorFirst};
        tokens.push_back({c, 0, i, i + 1});
        products = true;
      } else if (IsSign(c)) {
        if (IsSign(prev)) {
          Token& t = tokens.back();
          t.sign = t.sign == c ? u'+' : u'-';
          t.begin = t.end = i + 1;
        } else {
          tokens.push_back({0, c, i + 1, i + 1});
        }
      } else if (prev == u'*' || prev == u'/') {
        tokens.push_back({0, 0, i, i + 1});
      } else {
        tokens.back().end = i + 1;
      }
      prev = c;
      if (tokens.size() > kMaxTokens) throw Stop{Msg().formula};
    }
    if (products && tokens.size() > kMaxTokensWithProducts) throw Stop{Msg().formula};
  }

 private:
  Currency FlatValue(std::u16string_view s, const std::vector<Token>& tokens) {
    // Products and quotients left to right, then the sum.
    static const ExactDecimal kSmallest = *ExactDecimal::Parse("0.0001");
    ExactDecimal sum;
    for (size_t i = 0; i < tokens.size();) {
      if (tokens[i].op) throw Stop{Msg().formula};  // an operator without its left operand
      ExactDecimal term = OperandValue(s, tokens[i]);
      ++i;
      while (i < tokens.size() && tokens[i].op) {
        if (i + 1 >= tokens.size() || tokens[i + 1].op) throw Stop{Msg().formula};
        const ExactDecimal right = OperandValue(s, tokens[i + 1]);
        try {
          if (tokens[i].op == u'*') {
            term = ExactDecimal::Multiply(term, right, kProductDecimals, DecimalRounding::kHalfEven);
          } else if (right.IsZero()) {
            term = ExactDecimal{};  // division by zero gives 0
          } else {
            term = ExactDecimal::Divide(term, right, kQuotientDecimals, DecimalRounding::kTruncate);
          }
        } catch (const DecimalOverflow&) {
          throw Stop{Msg().formula, term.Sign() * right.Sign() < 0 ? -1 : 1};
        }
        i += 2;
      }
      if (term.Abs() >= kSmallest) sum += term;
    }
    std::optional<Currency> total = sum.ToCurrency();
    if (!total) throw Stop{Msg().formula, sum.IsNegative() ? -1 : 1};  // beyond the calculable range
    return *total;
  }

  ExactDecimal OperandValue(std::u16string_view s, const Token& t) {
    const std::u16string_view body = s.substr(t.begin, t.end - t.begin);
    if (body.empty()) return ExactDecimal{};  // an empty token or a sign alone
    ExactDecimal v = (IsDigit(body[0]) || body[0] == u'.') ? ValueOf(body) : Resolve(body);
    return t.sign == u'-' ? -v : v;
  }

  ExactDecimal Resolve(std::u16string_view name) {
    if (name[0] == u'[') return Reference(name);
    readsState_ = true;
    const std::string bytes = EncodeFormula(name);
    for (const FormulaVariable& var : st_.FormulaVariableTable)
      if (var.name == bytes) return ValueOf(ToFormula(var.value));
    throw Stop{bytes + Msg().undefined};
  }

  // "[[X" this row, "[$X" the parent row, "[#X" the closing record, "[u" 0.
  ExactDecimal Reference(std::u16string_view ref) {
    readsState_ = true;
    const char16_t kind = ref.size() > 1 ? ref[1] : 0;
    if (kind == u'u') return ExactDecimal{};
    if (kind != u'[' && kind != u'$' && kind != u'#') throw Stop{Msg().formula};
    int level = ctx_.level;
    std::string_view record = kind == u'#' ? ctx_.totalRecord : record_;
    if (kind == u'$') {
      if (level <= 1) return ExactDecimal{};  // no parent row above level 1
      --level;
      record = ctx_.parentRow;
    }
    const char16_t letter = ref.size() > 2 ? ref[2] : 0;
    const char ascii = static_cast<char>(letter);
    const int col = letter > 0 && letter < 0x80 ? ColLetterToNum(std::string_view(&ascii, 1)) : 0;
    if (level < 1 || level > 8 || col < 1 || col > st_.ColCount[level]) throw Stop{Msg().formula};
    const size_t start = static_cast<size_t>(std::max(st_.ColStart[level][col], 1)) - 1;
    const size_t width = static_cast<size_t>(std::max(st_.ColWidth[level][col], 0));
    std::string_view cell = start < record.size() ? record.substr(start, width) : std::string_view{};
    std::optional<ExactDecimal> v = ExactDecimal::Parse(cell);
    if (!v) throw Stop{Msg().formula};
    return *v;
  }

 public:
  // True once the evaluation read anything beyond the formula's own text: a
  // cell, a named variable, or an assignment into the variable table.
  bool ReadsState() const { return readsState_; }

 private:
  ProgramState& st_;
  const LevelContext& ctx_;
  std::string_view record_;
  bool readsState_ = false;
};

// A plain formula that is a sum of products of "[[X" cells and numbers,
// such as "[[D*[[F" or "[[C*1.1-[[E": its terms, each a signed product of up
// to three factors.
struct ProductSum {
  struct Factor {
    bool negative = false;
    int col = 0;            // the "[[" column; 0 for a number
    __int128 digits = 0;    // a number's digits
    int scale = 0;          // and its decimals
  };
  struct Term {
    std::array<Factor, 3> factors;
    int count = 0;
  };
  std::array<Term, 4> terms;
  int count = 0;
};

// A number written as digits with at most one point, blanks around it
// allowed and "-" before it when `sign` (the way a stored cell holds it), of
// at most 18 digits: its digits and decimals. Empty for anything else (the
// general reader takes it); an empty or blank text reads 0.
struct PlainDigits {
  bool negative = false;
  std::int64_t digits = 0;
  int scale = 0;
};
template <class Char>
std::optional<PlainDigits> ReadPlainDigits(std::basic_string_view<Char> s, bool sign) {
  size_t i = 0;
  if constexpr (sizeof(Char) == 1) {
    // Stored cells are right-aligned: eight blanks at a time first.
    constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
    for (std::uint64_t word = 0; i + sizeof word <= s.size(); i += sizeof word) {
      std::memcpy(&word, s.data() + i, sizeof word);
      if (word != kBlanks) break;
    }
  }
  while (i < s.size() && s[i] == Char(' ')) ++i;
  PlainDigits v;
  if (i == s.size()) return v;
  if (sign && s[i] == Char('-')) {
    v.negative = true;
    ++i;
  }
  int count = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    const Char c = s[i];
    if (c >= Char('0') && c <= Char('9')) {
      if (++count > 18) return std::nullopt;
      v.digits = v.digits * 10 + (c - Char('0'));
      if (point) ++v.scale;
    } else if (c == Char('.') && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (count == 0) return std::nullopt;
  while (i < s.size() && s[i] == Char(' ')) ++i;
  if (i != s.size()) return std::nullopt;
  return v;
}

std::optional<ProductSum> ProductSumOf(std::u16string_view text, const std::vector<Token>& tokens) {
  ProductSum form;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    const std::u16string_view body = text.substr(t.begin, t.end - t.begin);
    if (t.op) {
      if (t.op != u'*' || i + 1 >= tokens.size() || tokens[i + 1].op) return std::nullopt;
      continue;
    }
    const bool product = i > 0 && tokens[i - 1].op;
    if (body.empty()) {
      // An empty operand (before a leading sign) adds nothing, unless it
      // takes part in a product.
      if (product || (i + 1 < tokens.size() && tokens[i + 1].op)) return std::nullopt;
      continue;
    }
    ProductSum::Factor f;
    f.negative = t.sign == u'-';
    if (body.size() == 3 && body[0] == u'[' && body[1] == u'[' && IsLetter(body[2])) {
      const char ascii = static_cast<char>(body[2]);
      f.col = ColLetterToNum(std::string_view(&ascii, 1));
      if (f.col < 1) return std::nullopt;
    } else if (IsDigit(body[0]) || body[0] == u'.') {
      const std::optional<PlainDigits> n = ReadPlainDigits(body, false);
      if (!n || body.find(u' ') != std::u16string_view::npos) return std::nullopt;
      f.digits = n->digits;
      f.scale = n->scale;
    } else {
      return std::nullopt;
    }
    if (!product) {
      if (form.count == static_cast<int>(form.terms.size())) return std::nullopt;
      ++form.count;
    }
    ProductSum::Term& term = form.terms[static_cast<size_t>(form.count - 1)];
    if (term.count == static_cast<int>(term.factors.size())) return std::nullopt;
    term.factors[static_cast<size_t>(term.count++)] = f;
  }
  return form;
}

// A formula of one plain statement (no ":", "=", rounding mark, "^", "LOG("
// or parenthesis), decoded and split into its operands once.
struct PlainFormula {
  std::u16string text;  // blanks at either end removed
  std::vector<Token> tokens;
  // The "[[" columns read (bit per column); empty when an operand is a
  // named variable, whose value the variable table holds.
  std::optional<std::uint64_t> pureColumns;
  std::optional<ProductSum> productSum;  // empty: of another form
};

// What a plain formula reads: its "[[X" cells, or empty when any operand is
// a named variable. Operands that begin with a digit or "." are numbers;
// "[$", "[#", "[u" and malformed references depend on the context's fixed
// rows or on nothing.
std::optional<std::uint64_t> ColumnsRead(const PlainFormula& plain) {
  std::uint64_t columns = 0;
  for (const Token& t : plain.tokens) {
    if (t.op) continue;
    const std::u16string_view body = std::u16string_view(plain.text).substr(t.begin, t.end - t.begin);
    if (body.empty() || IsDigit(body[0]) || body[0] == u'.') continue;
    if (body[0] != u'[') return std::nullopt;
    if (body.size() > 2 && body[1] == u'[' && body[2] > 0 && body[2] < 0x80) {
      const char ascii = static_cast<char>(body[2]);
      const int col = ColLetterToNum(std::string_view(&ascii, 1));
      if (col >= 1 && col < 64) columns |= std::uint64_t{1} << col;
    }
  }
  return columns;
}

// An evaluation's outcome: the result text and the sign of a value beyond
// the calculable range (0 for none).
struct Answer {
  std::string result;
  int range = 0;
};

// What is kept of a formula text between evaluations.
struct KeptFormula {
  std::optional<PlainFormula> plain;  // empty: not plain, evaluated the whole way
  // The answer of a formula that read nothing but its own text: the same at
  // every evaluation (a quantity formula of numbers alone).
  std::optional<Answer> constant;
};

struct BytesHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// The formulas of a sheet are evaluated for every row with the same texts:
// each text is looked at once and kept by its bytes. The reference holds
// until the next call.
KeptFormula& KeptFormulaOf(std::string_view formula) {
  constexpr size_t kKept = 4096;
  thread_local std::unordered_map<std::string, KeptFormula, BytesHash, std::equal_to<>> kept;
  // The row definitions come again at every row: the last few texts found
  // are looked at before the table (the table's keys and values stay in
  // place until it is emptied, and the list with it).
  struct Recent {
    std::string_view text;
    KeptFormula* formula = nullptr;
  };
  thread_local std::array<Recent, 4> recent{};
  thread_local size_t nextRecent = 0;
  for (const Recent& r : recent)
    if (r.formula != nullptr && r.text == formula) return *r.formula;
  auto remember = [&](const std::string& key, KeptFormula& formula) -> KeptFormula& {
    recent[nextRecent] = {key, &formula};
    nextRecent = (nextRecent + 1) % recent.size();
    return formula;
  };
  if (const auto found = kept.find(formula); found != kept.end()) return remember(found->first, found->second);
  if (kept.size() >= kKept) {
    kept.clear();
    recent.fill(Recent{});
  }
  KeptFormula entry;
  const FormulaText decoded = DecodeFormula(formula);
  const std::u16string_view text = TrimBlanks(decoded);
  if (!text.empty() && text.find_first_of(u":=@!~^()") == std::u16string_view::npos &&
      FindLog(text) == std::u16string_view::npos) {
    PlainFormula& plain = entry.plain.emplace();
    plain.text.assign(text);
    try {
      Evaluator::Tokenize(plain.text, plain.tokens);
      plain.pureColumns = ColumnsRead(plain);
      plain.productSum = ProductSumOf(plain.text, plain.tokens);
    } catch (const Stop&) {
      entry.plain.reset();  // an error the whole way reports
    }
  }
  const auto added = kept.emplace(std::string(formula), std::move(entry)).first;
  return remember(added->first, added->second);
}

template <class Evaluate>
Answer Guarded(Evaluate&& evaluate) {
  try {
    return {evaluate(), 0};
  } catch (const Stop& stop) {
    return {stop.result, stop.range};
  } catch (const std::overflow_error&) {
    return {Msg().formula, 1};  // a value too large for the arithmetic
  }
}

// The answers of short formulas that read nothing but their own text, by
// the formula's bytes in a table of fixed size, two places for each hash (a
// text whose place others take is answered from the kept formulas again).
// Such an answer never changes; looked at before the kept formulas, whose
// table is larger and slower to reach (the quantity formulas differ from
// row to row, hundreds of them over the sheets of an estimate).
struct ConstantSlot {
  static constexpr size_t kText = 30;
  std::uint64_t hash = 0;
  std::uint8_t formulaLength = 0;  // 0: empty slot
  std::uint8_t resultLength = 0;
  std::int8_t range = 0;
  char formula[kText];
  char result[kText];

  bool Holds(std::uint64_t h, std::string_view text) const {
    return hash == h && formulaLength == text.size() && std::string_view(formula, formulaLength) == text;
  }
};

// The two places of a hash: the one written last first.
std::array<ConstantSlot, 2>& ConstantSlotsOf(std::uint64_t hash) {
  constexpr size_t kSets = 2048;
  thread_local std::vector<std::array<ConstantSlot, 2>> sets(kSets);
  return sets[hash & (kSets - 1)];
}

const ConstantSlot* KnownConstant(std::string_view formula) {
  if (formula.empty() || formula.size() > ConstantSlot::kText) return nullptr;
  const std::uint64_t hash = std::hash<std::string_view>{}(formula);
  for (const ConstantSlot& slot : ConstantSlotsOf(hash))
    if (slot.Holds(hash, formula)) return &slot;
  return nullptr;
}

void KeepConstant(std::string_view formula, const Answer& answer) {
  if (formula.empty() || formula.size() > ConstantSlot::kText || answer.result.size() > ConstantSlot::kText) return;
  const std::uint64_t hash = std::hash<std::string_view>{}(formula);
  std::array<ConstantSlot, 2>& slots = ConstantSlotsOf(hash);
  // The text's own place when it has one; else the older of the two goes.
  ConstantSlot* slot = &slots[0];
  if (slots[1].Holds(hash, formula)) {
    slot = &slots[1];
  } else if (!slots[0].Holds(hash, formula)) {
    slots[1] = slots[0];
  }
  slot->hash = hash;
  slot->formulaLength = static_cast<std::uint8_t>(formula.copy(slot->formula, formula.size()));
  slot->resultLength = static_cast<std::uint8_t>(answer.result.copy(slot->result, answer.result.size()));
  slot->range = static_cast<std::int8_t>(answer.range);
}

// Keeps the answer of a formula that read nothing but its own text.
void KeepIfConstant(const Evaluator& evaluator, std::string_view formula, KeptFormula& kept, const Answer& answer) {
  if (evaluator.ReadsState()) return;
  kept.constant = answer;
  KeepConstant(formula, answer);
}

Answer Evaluated(Evaluator& evaluator, std::string_view formula, std::string* assigned) {
  if (const ConstantSlot* known = KnownConstant(formula))
    return {std::string(known->result, known->resultLength), known->range};
  KeptFormula& kept = KeptFormulaOf(formula);
  if (kept.constant) {
    KeepConstant(formula, *kept.constant);  // its place was taken by another
    return *kept.constant;
  }
  if (kept.plain) {
    Answer answer = Guarded([&] { return evaluator.PlainStatement(kept.plain->text, kept.plain->tokens); });
    KeepIfConstant(evaluator, formula, kept, answer);
    return answer;
  }
  Answer answer = Guarded([&] {
    const FormulaText text = DecodeFormula(formula);
    const std::u16string_view all = text;
    std::string result;
    size_t start = 0;
    for (;;) {
      const size_t colon = all.find(u':', start);
      result = evaluator.Statement(all.substr(start, colon == std::u16string_view::npos ? colon : colon - start),
                                   assigned);
      if (colon == std::u16string_view::npos) return result;
      start = colon + 1;
    }
  });
  KeepIfConstant(evaluator, formula, kept, answer);
  return answer;
}

}  // namespace

std::string FormulaEvaluate(ProgramState& st, const LevelContext& ctx, std::string_view record,
                            std::string_view formula, std::string* assigned) {
  Evaluator evaluator(st, ctx, record);
  Answer answer = Evaluated(evaluator, formula, assigned);
  st.FormulaRangeSign = answer.range;
  return std::move(answer.result);
}

std::optional<std::uint64_t> PureFormulaColumns(std::string_view formula) {
  const KeptFormula& kept = KeptFormulaOf(formula);
  if (!kept.plain) return std::nullopt;
  return kept.plain->pureColumns;
}

namespace {

// 10^n for n in 0..38.
__int128 Pow10(int n) {
  static constexpr auto kPowers = [] {
    std::array<__int128, 39> all{};
    all[0] = 1;
    for (size_t i = 1; i < all.size(); ++i) all[i] = all[i - 1] * 10;
    return all;
  }();
  return kPowers[static_cast<size_t>(n)];
}

// The value of a product-sum form on a record, as the general evaluation
// computes it: each product exact (at most 20 decimals and 38 digits, else
// empty), a product below 0.0001 in size left out, the sum rounded to four
// decimals, halves to the even digit. Empty where the general evaluation
// would round, fail or read a cell otherwise.
std::optional<Currency> FormValue(const ProgramState& st, const LevelContext& ctx, std::string_view record,
                                  const ProductSum& form) {
  const int level = ctx.level;
  if (level < 1 || level > 8) return std::nullopt;
  constexpr int kMaxDecimals = 20;
  __int128 sum = 0;
  int sumScale = 0;
  for (int t = 0; t < form.count; ++t) {
    const ProductSum::Term& term = form.terms[static_cast<size_t>(t)];
    __int128 product = 1;
    int scale = 0;
    bool negative = false;
    for (int k = 0; k < term.count; ++k) {
      const ProductSum::Factor& f = term.factors[static_cast<size_t>(k)];
      __int128 digits = f.digits;
      int decimals = f.scale;
      negative ^= f.negative;
      if (f.col != 0) {
        if (f.col > st.ColCount[level]) return std::nullopt;
        const size_t start = static_cast<size_t>(std::max(st.ColStart[level][f.col], 1)) - 1;
        const size_t width = static_cast<size_t>(std::max(st.ColWidth[level][f.col], 0));
        const std::string_view cell = start < record.size() ? record.substr(start, width) : std::string_view{};
        const std::optional<PlainDigits> v = ReadPlainDigits(cell, true);
        if (!v) return std::nullopt;
        digits = v->digits;
        decimals = v->scale;
        negative ^= v->negative;
      }
      // Two factors of at most 18 digits each cannot overflow.
      if (k < 2) {
        product *= digits;
      } else if (__builtin_mul_overflow(product, digits, &product)) {
        return std::nullopt;
      }
      if (product >= Pow10(38)) return std::nullopt;
      scale += decimals;
      if (scale > kMaxDecimals) return std::nullopt;
    }
    // A product below 0.0001 in size is left out of the sum.
    if (product == 0 || (scale > 4 && product < Pow10(scale - 4))) continue;
    if (negative) product = -product;
    // Both on the larger scale.
    if (scale > sumScale) {
      if (__builtin_mul_overflow(sum, Pow10(scale - sumScale), &sum)) return std::nullopt;
      sumScale = scale;
    } else if (scale < sumScale) {
      if (__builtin_mul_overflow(product, Pow10(sumScale - scale), &product)) return std::nullopt;
    }
    if (__builtin_add_overflow(sum, product, &sum)) return std::nullopt;
    if (sum >= Pow10(38) || sum <= -Pow10(38)) return std::nullopt;
  }
  const bool negative = sum < 0;
  __int128 magnitude = negative ? -sum : sum;
  if (sumScale > 4) {
    const __int128 unit = Pow10(sumScale - 4);
    const __int128 rest = magnitude % unit;
    magnitude /= unit;
    if (rest * 2 > unit || (rest * 2 == unit && magnitude % 2 != 0)) ++magnitude;
  } else if (magnitude > std::numeric_limits<std::int64_t>::max()) {
    return std::nullopt;
  } else {
    magnitude *= Pow10(4 - sumScale);
  }
  if (magnitude > std::numeric_limits<std::int64_t>::max()) return std::nullopt;
  const auto raw = static_cast<std::int64_t>(magnitude);
  return Currency::FromRaw(negative ? -raw : raw);
}

}  // namespace

std::optional<Currency> ProductSumValue(ProgramState& st, const LevelContext& ctx, std::string_view record,
                                        std::string_view formula) {
  const KeptFormula& kept = KeptFormulaOf(formula);
  if (!kept.plain || !kept.plain->productSum) return std::nullopt;
  const std::optional<Currency> value = FormValue(st, ctx, record, *kept.plain->productSum);
  if (value) st.FormulaRangeSign = 0;
  return value;
}

std::optional<std::string> ProductSumAnswer(ProgramState& st, const LevelContext& ctx, std::string_view record,
                                            std::string_view formula) {
  const std::optional<Currency> value = ProductSumValue(st, ctx, record, formula);
  if (!value) return std::nullopt;
  return ShortestText(*value);
}

bool FormulaReadsNothing(std::string_view formula) {
  return KnownConstant(formula) != nullptr || KeptFormulaOf(formula).constant.has_value();
}

bool IsFormulaError(std::string_view result) {
  if (result.find("Err") != std::string_view::npos) return true;
  const Messages& messages = Msg();
  return result == messages.onePower || result == messages.oneLog;
}

}  // namespace kv
