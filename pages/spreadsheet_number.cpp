#include "pages/spreadsheet_number.h"

namespace vendigo {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The length of the group mark at the start of text (0: none), and its kind: blanks of every
// sort are one kind.
struct GroupMark {
  std::size_t length = 0;
  char kind = 0;
};

GroupMark GroupMarkAt(std::string_view text, bool decimalComma) {
  if (!decimalComma) return text.starts_with(',') ? GroupMark{1, ','} : GroupMark{};
  if (text.starts_with('.')) return {1, '.'};
  if (text.starts_with(' ')) return {1, ' '};
  if (text.starts_with("\xC2\xA0")) return {2, ' '};      // no-break space
  if (text.starts_with("\xE2\x80\xAF")) return {3, ' '};  // narrow no-break space
  return {};
}

std::string_view WithoutBlanksAround(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<std::string> ReadSpreadsheetNumber(std::string_view cell, char separator) {
  const bool decimalComma = separator != ',';
  const char decimalMark = decimalComma ? ',' : '.';
  const std::string_view text = WithoutBlanksAround(cell);
  std::string number;
  std::size_t groupDigits = 0;  // since the last group mark, or since the start
  char groupKind = 0;           // of the marks met so far; 0 before the first
  std::size_t at = 0;
  for (; at < text.size() && text[at] != decimalMark;) {
    if (IsDigit(text[at])) {
      number += text[at++];
      ++groupDigits;
      continue;
    }
    const GroupMark mark = GroupMarkAt(text.substr(at), decimalComma);
    if (mark.length == 0) return std::nullopt;
    const bool groupFits = groupKind == 0 ? groupDigits >= 1 && groupDigits <= 3
                                          : groupDigits == 3 && mark.kind == groupKind;
    if (!groupFits) return std::nullopt;
    groupKind = mark.kind;
    groupDigits = 0;
    at += mark.length;
  }
  if (groupKind != 0 && groupDigits != 3) return std::nullopt;
  if (at < text.size()) {
    const std::string_view decimals = text.substr(at + 1);
    for (const char c : decimals) {
      if (!IsDigit(c)) return std::nullopt;
    }
    number += '.';
    number += decimals;
  }
  if (number.find_first_of("0123456789") == std::string::npos) return std::nullopt;
  return number;
}

std::string_view DecimalMarkRule(char separator) {
  return separator == ','
             ? R"(in a comma-separated file, "." is the decimal mark and "," groups thousands)"
             : R"(in a file separated by semicolons or tabs, "," is the decimal mark and "." or a )"
               R"(blank groups thousands)";
}

}  // namespace vendigo
