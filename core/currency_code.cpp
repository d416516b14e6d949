#include "core/currency_code.h"

#include <array>

namespace vendigo {
namespace {

struct SignCode {
  std::string_view sign;
  std::string_view code;
};

// Signs that one currency alone uses. "$", "¥", "kr" and "Fr" are left out on purpose: the
// merchant chooses among the currencies they stand for.
constexpr std::array<SignCode, 18> kSigns = {{
    {"\xE2\x82\xAC", "EUR"},  // €
    {"\xC2\xA3", "GBP"},      // £
    {"\xE2\x82\xB9", "INR"},  // ₹
    {"\xE2\x82\xA9", "KRW"},  // ₩
    {"\xE2\x82\xBA", "TRY"},  // ₺
    {"\xE2\x82\xAA", "ILS"},  // ₪
    {"\xE2\x82\xB4", "UAH"},  // ₴
    {"\xE2\x82\xB1", "PHP"},  // ₱
    {"\xE2\x82\xAB", "VND"},  // ₫
    {"z\xC5\x82", "PLN"},     // zł
    {"US$", "USD"},
    {"C$", "CAD"},
    {"CA$", "CAD"},
    {"A$", "AUD"},
    {"AU$", "AUD"},
    {"NZ$", "NZD"},
    {"HK$", "HKD"},
    {"R$", "BRL"},
}};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string Capitalised(std::string_view text) {
  std::string upper(text);
  for (char &c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace

bool IsCurrencyCode(std::string_view code) {
  if (code.size() != 3) return false;
  for (const char c : code) {
    if (c < 'A' || c > 'Z') return false;
  }
  return true;
}

std::string CurrencyCodeOfSign(std::string_view sign) {
  sign = Trimmed(sign);
  for (const SignCode &known : kSigns) {
    if (Capitalised(known.sign) == Capitalised(sign)) return std::string(known.code);
  }
  const std::string code = Capitalised(sign);
  return IsCurrencyCode(code) ? code : "";
}

std::string ProductCurrencyCode(const Settings &settings) {
  const std::string chosen = Capitalised(Trimmed(settings.CurrencyCode));
  if (IsCurrencyCode(chosen)) return chosen;
  return CurrencyCodeOfSign(settings.Currency);
}

}  // namespace vendigo
