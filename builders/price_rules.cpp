#include "builders/price_rules.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <system_error>
#include <vector>

#include "core/text_encoding.h"

namespace vendigo {

namespace {

// Adds one to a string of decimal digits, growing it when every digit was a nine.
void IncrementDigits(std::string &digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

// The value rounded half away from zero to hundredths, as the digits of its absolute value in
// cents without leading zeros ("0" for zero). The rounding is decided on the 18 significant
// digits of the value, the way it is written out for display; std::to_chars is exact and does
// not depend on the locale. Empty on a formatting failure.
std::string RoundedCents(double value) {
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                     std::chars_format::scientific, 17);
  if (written.ec != std::errc()) return {};
  const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
  // text is "d.ddddddddddddddddde[+-]xx".
  const std::size_t e = text.find('e');
  if (e == std::string_view::npos || e < 3) return {};
  std::string digits;
  digits += text[0];
  digits.append(text.substr(2, e - 2));
  std::string_view exponentText = text.substr(e + 1);
  const bool negativeExponent = !exponentText.empty() && exponentText.front() == '-';
  if (!exponentText.empty() && (exponentText.front() == '-' || exponentText.front() == '+')) {
    exponentText.remove_prefix(1);
  }
  int exponent = 0;
  const auto parsed =
      std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
  if (parsed.ec != std::errc() || parsed.ptr != exponentText.data() + exponentText.size()) {
    return {};
  }
  if (negativeExponent) exponent = -exponent;

  // The first digit stands for 10^exponent, so the cents are the first exponent + 3 digits.
  const long keep = static_cast<long>(exponent) + 3;
  std::string cents;
  if (keep >= static_cast<long>(digits.size())) {
    cents = digits;
    cents.append(static_cast<std::size_t>(keep) - digits.size(), '0');
  } else if (keep >= 0) {
    const auto kept = static_cast<std::size_t>(keep);
    cents = digits.substr(0, kept);
    if (digits[kept] >= '5') IncrementDigits(cents);
  }
  const std::size_t firstNonZero = cents.find_first_not_of('0');
  return firstNonZero == std::string::npos ? std::string("0") : cents.substr(firstNonZero);
}

// Longest proper border of each prefix of pattern (the Knuth-Morris-Pratt failure function).
std::vector<std::size_t> BorderTable(std::string_view pattern) {
  std::vector<std::size_t> border(pattern.size() + 1, 0);
  std::size_t k = 0;
  for (std::size_t i = 1; i < pattern.size(); ++i) {
    while (k > 0 && pattern[i] != pattern[k]) k = border[k];
    if (pattern[i] == pattern[k]) ++k;
    border[i + 1] = k;
  }
  return border;
}

}  // namespace

bool IsNumberText(std::string_view text, bool pointsAllowed) {
  for (const char c : text) {
    if (!IsAsciiDigit(c) && !(pointsAllowed && c == '.')) return false;
  }
  return true;
}

std::optional<double> ConvertPrice(std::string_view text) {
  const std::size_t point = text.find('.');
  const std::string_view integerDigits = text.substr(0, point);
  const std::string_view fractionDigits =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (text.empty() || !IsNumberText(integerDigits, false) || !IsNumberText(fractionDigits, false)) {
    return std::nullopt;
  }
  // Either run of digits may be missing; std::from_chars wants at least one digit before the
  // point, so the text is rewritten as "<int or 0>.<fraction or 0>".
  std::string normalized(integerDigits.empty() ? std::string_view("0") : integerDigits);
  normalized += '.';
  normalized.append(fractionDigits.empty() ? std::string_view("0") : fractionDigits);
  double value = 0;
  const char *end = normalized.data() + normalized.size();
  const auto result = std::from_chars(normalized.data(), end, value, std::chars_format::fixed);
  if (result.ptr != end) return std::nullopt;
  if (result.ec == std::errc::result_out_of_range) {
    // Below one the only way out of range is underflow: far less than a cent.
    if (integerDigits.find_first_not_of('0') == std::string_view::npos) return 0.0;
    return std::nullopt;
  }
  if (result.ec != std::errc()) return std::nullopt;
  return value;
}

std::string FormatPrice(double value) {
  if (!std::isfinite(value)) return kDefaultPriceText;
  std::string cents = RoundedCents(value);
  if (cents.empty()) return kDefaultPriceText;
  const bool negative = std::signbit(value) && cents != "0";
  if (cents.size() < 3) cents.insert(0, 3 - cents.size(), '0');

  const std::size_t integerLength = cents.size() - 2;
  std::string out;
  out.reserve(cents.size() + cents.size() / 3 + 2);
  if (negative) out += '-';
  for (std::size_t i = 0; i < integerLength; ++i) {
    if (i > 0 && (integerLength - i) % 3 == 0) out += ',';
    out += cents[i];
  }
  out += '.';
  out.append(cents, integerLength, 2);
  return out;
}

// Equivalent to: repeatedly find the leftmost occurrence of the lower-cased pattern in a
// lower-cased shadow of the text, replace it in the text, and fill its place in the shadow with
// as many "X" as the replacement has (which a lower-cased pattern cannot match). Doing that
// literally is quadratic; this does it in one pass.
//
// The source is copied into the result byte by byte while a matcher state (the length of the
// longest pattern prefix ending there) is kept for each result byte after a barrier. Since all
// occurrences have the same length, the first one to end is also the leftmost one. When the
// state reaches the pattern length the match is popped off the result. A non-empty replacement
// is then appended and becomes a barrier: nothing before it can take part in a later match. An
// empty replacement joins the texts on both sides, so matching goes on from the state of the byte
// now last in the result; that is why the states are kept as a stack in that case. The matcher's
// fall-back steps are paid for by earlier increases of the state, and a pop only lowers it, so
// the whole pass stays linear.
std::string ReplaceText(std::string_view pattern, std::string_view source,
                        std::string_view replacement) {
  if (pattern.empty() || pattern.size() > source.size()) return std::string(source);

  std::string lowerPattern(pattern);
  for (char &c : lowerPattern) c = AsciiLower(c);
  const std::vector<std::size_t> border = BorderTable(lowerPattern);
  const std::size_t m = lowerPattern.size();
  const bool joinsText = replacement.empty();

  std::string result;
  result.reserve(source.size());
  std::vector<std::size_t> states;  // one per result byte after the barrier; only when joinsText
  std::size_t state = 0;
  for (const char original : source) {
    const char c = AsciiLower(original);
    while (state > 0 && lowerPattern[state] != c) state = border[state];
    if (lowerPattern[state] == c) ++state;
    result += original;
    if (state < m) {
      if (joinsText) states.push_back(state);
      continue;
    }
    result.resize(result.size() - m);
    if (joinsText) {
      states.resize(states.size() - (m - 1));  // the last byte of the match was never pushed
      state = states.empty() ? 0 : states.back();
    } else {
      result.append(replacement);
      state = 0;
    }
  }
  return result;
}

std::string PriceDisplay(std::string_view currency, std::string_view price) {
  std::string out(currency);
  out.append(price);
  return out;
}

void ApplyDefaultRowFill(const std::string &description, std::string &price, std::string &weight) {
  if (description.empty()) return;
  if (price.empty()) price = kDefaultPriceText;
  if (weight.empty()) weight = kDefaultWeightText;
}

std::string CheckedNumberCell(std::string_view text, bool pointsAllowed) {
  if (IsNumberText(text, pointsAllowed)) return std::string(text);
  return pointsAllowed ? kDefaultPriceText : kDefaultWeightText;
}

}  // namespace vendigo
