#include "builders/price_rules.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
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

// A pattern prepared for case-blind search: its lower-cased bytes, the longest proper border of
// each of its prefixes (the Knuth-Morris-Pratt failure function), and the one or two bytes that
// can begin an occurrence. A short pattern, as a template's placeholders are, is kept in the
// object itself: a page is searched for dozens of them.
class FoldedPattern {
 public:
  explicit FoldedPattern(std::string_view pattern) : size_(pattern.size()) {
    if (size_ > kInline) {
      heapLower_.resize(size_ + 1);
      heapBorder_.resize(size_ + 1);
      lower_ = heapLower_.data();
      border_ = heapBorder_.data();
    }
    for (std::size_t i = 0; i < size_; ++i) lower_[i] = AsciiLower(pattern[i]);
    lower_[size_] = '\0';
    border_[0] = 0;
    border_[1] = 0;
    std::size_t k = 0;
    for (std::size_t i = 1; i < size_; ++i) {
      while (k > 0 && lower_[i] != lower_[k]) k = border_[k];
      if (lower_[i] == lower_[k]) ++k;
      border_[i + 1] = k;
    }
    first_ = lower_[0];
    firstUpper_ = first_ >= 'a' && first_ <= 'z' ? static_cast<char>(first_ - 'a' + 'A') : first_;
  }
  FoldedPattern(const FoldedPattern &) = delete;
  FoldedPattern &operator=(const FoldedPattern &) = delete;

  std::size_t size() const { return size_; }
  char first() const { return first_; }
  char firstUpper() const { return firstUpper_; }

  // The matcher's state (the length of the longest pattern prefix that ends the text read so far)
  // after one more byte.
  std::size_t Step(std::size_t state, char c) const {
    c = AsciiLower(c);
    while (state > 0 && lower_[state] != c) state = border_[state];
    return lower_[state] == c ? state + 1 : state;
  }

  // The state after reading text from the start.
  std::size_t StateAfter(std::string_view text) const {
    std::size_t state = 0;
    for (const char c : text) state = Step(state, c);
    return state;
  }

  // True when the pattern occurs in text at `at` (text holds at least size() bytes from there).
  bool OccursAt(std::string_view text, std::size_t at) const {
    for (std::size_t i = 0; i < size_; ++i) {
      if (AsciiLower(text[at + i]) != lower_[i]) return false;
    }
    return true;
  }

 private:
  static constexpr std::size_t kInline = 31;
  std::size_t size_;
  char inlineLower_[kInline + 1];
  std::size_t inlineBorder_[kInline + 1];
  std::vector<char> heapLower_;
  std::vector<std::size_t> heapBorder_;
  char *lower_ = inlineLower_;  // size_ bytes and a NUL
  std::size_t *border_ = inlineBorder_;
  char first_ = 0;
  char firstUpper_ = 0;
};

// Finds, from a position on, the next byte of text that can begin an occurrence, with memchr for
// each of the (at most two) letter cases. The next place of each case is kept until the search
// passes it, so no byte is looked at twice for the same case.
class OccurrenceStarts {
 public:
  OccurrenceStarts(std::string_view text, const FoldedPattern &pattern)
      : text_(text),
        lower_(pattern.first()),
        upper_(pattern.firstUpper()),
        nextLower_(Find(lower_, 0)),
        nextUpper_(lower_ == upper_ ? nextLower_ : Find(upper_, 0)) {}

  // The first position at or after from holding either byte; text.size() when there is none.
  std::size_t From(std::size_t from) {
    if (nextLower_ < from) nextLower_ = Find(lower_, from);
    if (lower_ == upper_) return nextLower_;
    if (nextUpper_ < from) nextUpper_ = Find(upper_, from);
    return nextLower_ < nextUpper_ ? nextLower_ : nextUpper_;
  }

 private:
  std::size_t Find(char c, std::size_t from) const {
    const void *found = std::memchr(text_.data() + from, c, text_.size() - from);
    return found ? static_cast<std::size_t>(static_cast<const char *>(found) - text_.data())
                 : text_.size();
  }

  std::string_view text_;
  char lower_;
  char upper_;
  std::size_t nextLower_;
  std::size_t nextUpper_;
};

// Calls found(at) for each occurrence of the pattern in text, leftmost first, each search going
// on after the end of the occurrence found before: the occurrences a non-empty replacement
// replaces. While no pattern prefix is pending, memchr jumps to the next byte that can begin an
// occurrence and the whole pattern is compared there; otherwise the matcher reads byte by byte.
// Stops early when found returns false.
template <typename Found>
void ForEachOccurrence(const FoldedPattern &folded, std::string_view text, Found found) {
  const std::size_t m = folded.size();
  OccurrenceStarts starts(text, folded);
  std::size_t state = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    if (state == 0) {
      at = starts.From(at);
      if (text.size() - at < m) return;
      if (folded.OccursAt(text, at)) {
        if (!found(at)) return;
        at += m;
        continue;
      }
    }
    state = folded.Step(state, text[at++]);
    if (state == m) {
      if (!found(at - m)) return;
      state = 0;
    }
  }
}

// ReplaceText with a non-empty replacement: each replacement is a barrier, so the occurrences
// are those of the source. When the text grows, they are counted first so the result is made
// in one allocation of its final size.
std::string ReplaceOccurrences(const FoldedPattern &folded, std::string_view source,
                               std::string_view replacement) {
  const std::size_t m = folded.size();
  std::size_t count = 0;
  if (replacement.size() > m) {
    ForEachOccurrence(folded, source, [&count](std::size_t) { return ++count, true; });
  }
  std::string result;
  result.reserve(source.size() + count * (replacement.size() > m ? replacement.size() - m : 0));
  std::size_t copied = 0;
  ForEachOccurrence(folded, source, [&](std::size_t at) {
    result.append(source.substr(copied, at - copied));
    result.append(replacement);
    copied = at + m;
    return true;
  });
  result.append(source.substr(copied));
  return result;
}

// ReplaceText with an empty replacement, which joins the texts on both sides of each removal.
std::string RemoveOccurrences(const FoldedPattern &folded, std::string_view source) {
  const std::size_t m = folded.size();
  OccurrenceStarts starts(source, folded);
  std::string result;
  result.reserve(source.size());
  std::size_t state = 0;
  std::size_t at = 0;
  while (at < source.size()) {
    if (state == 0) {
      const std::size_t start = starts.From(at);
      if (source.size() - start < m) break;
      result.append(source.substr(at, start - at));
      at = start;
      if (folded.OccursAt(source, at)) {
        // The result's end is untouched, so the state stays zero.
        at += m;
        continue;
      }
    }
    const char c = source[at++];
    state = folded.Step(state, c);
    result += c;
    if (state < m) continue;
    result.resize(result.size() - m);
    const std::size_t tail = result.size() < m - 1 ? result.size() : m - 1;
    state = folded.StateAfter(std::string_view(result).substr(result.size() - tail));
  }
  result.append(source.substr(at));
  return result;
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
// Since all occurrences have the same length, the first one to end is also the leftmost one,
// which a matcher reading the text once finds. A non-empty replacement is a barrier: nothing
// before it can take part in a later match, so the occurrences are simply those of the source
// (ReplaceOccurrences). An empty replacement joins the texts on both sides, so RemoveOccurrences
// copies the source to the result and goes on matching from the state of the result as it ends
// after each removal: the length of the longest pattern prefix that ends it. That state is
// shorter than the pattern and the result holds no occurrence, so it is found again by reading
// only the result's last (pattern length - 1) bytes. Each removal takes a pattern's length of
// bytes for good, which pays for that reading, and the matcher's fall-back steps are paid for by
// earlier increases of the state: both stay linear, with no memory beyond the result but the
// pattern's.
std::string ReplaceText(std::string_view pattern, std::string_view source,
                        std::string_view replacement) {
  if (pattern.empty() || pattern.size() > source.size()) return std::string(source);
  const FoldedPattern folded(pattern);
  return replacement.empty() ? RemoveOccurrences(folded, source)
                             : ReplaceOccurrences(folded, source, replacement);
}

bool ContainsText(std::string_view text, std::string_view pattern) {
  if (pattern.empty() || pattern.size() > text.size()) return false;
  bool found = false;
  ForEachOccurrence(FoldedPattern(pattern), text, [&found](std::size_t) {
    found = true;
    return false;
  });
  return found;
}

std::size_t CountText(std::string_view text, std::string_view pattern) {
  if (pattern.empty() || pattern.size() > text.size()) return 0;
  std::size_t count = 0;
  ForEachOccurrence(FoldedPattern(pattern), text, [&count](std::size_t) { return ++count, true; });
  return count;
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
