#include "platform/decimal.h"

// Placeholder bodies; the arithmetic follows.
namespace kv {

ExactDecimal ExactDecimal::FromInt(std::int64_t) { return {}; }
ExactDecimal ExactDecimal::FromCurrency(Currency) { return {}; }
std::optional<ExactDecimal> ExactDecimal::Parse(std::string_view) { return ExactDecimal{}; }
std::optional<ExactDecimal> ExactDecimal::FromLongDouble(long double, int) { return ExactDecimal{}; }
long double ExactDecimal::ToLongDouble() const { return 0; }
std::optional<Currency> ExactDecimal::ToCurrency() const { return Currency{}; }
bool ExactDecimal::IsWhole() const { return true; }
ExactDecimal ExactDecimal::Abs() const { return *this; }
ExactDecimal ExactDecimal::operator-() const { return *this; }
ExactDecimal ExactDecimal::Rounded(int, DecimalRounding) const { return *this; }
std::string ExactDecimal::ToText() const { return "0"; }
std::string ExactDecimal::ToFixedText(int) const { return "0"; }
std::string ExactDecimal::WholeDigits() const { return ""; }
std::string ExactDecimal::FractionDigits(int decimals) const { return std::string(decimals, '0'); }
ExactDecimal operator+(const ExactDecimal& a, const ExactDecimal&) { return a; }
ExactDecimal operator-(const ExactDecimal& a, const ExactDecimal&) { return a; }
ExactDecimal operator*(const ExactDecimal& a, const ExactDecimal&) { return a; }
ExactDecimal ExactDecimal::Divide(const ExactDecimal& a, const ExactDecimal&, int, DecimalRounding) { return a; }
std::strong_ordering operator<=>(const ExactDecimal&, const ExactDecimal&) { return std::strong_ordering::equal; }

}  // namespace kv
