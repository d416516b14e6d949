#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vendigo {

// One name=value pair of a form submission or a query string, as text: percent escapes and "+"
// decoded, then read as UTF-8 when the bytes are valid UTF-8 and as Windows-1252 otherwise
// (quick links are encoded from Windows-1252 text, forms on UTF-8 pages send UTF-8).
struct FormField {
  std::string name;
  std::string value;
};

// The bytes of one percent-encoded component: "+" is a blank, "%41" is "A"; a "%" not followed by
// two hexadecimal digits stays as it is.
std::string PercentDecode(std::string_view encoded);

// Bytes read as UTF-8 when they are valid UTF-8, as Windows-1252 otherwise; the result is UTF-8.
std::string DecodeFieldText(std::string_view bytes);

// The fields of an application/x-www-form-urlencoded body or a query string, in their order.
// Pairs are split at "&" (and ";"); a pair without "=" is a name with an empty value; empty pairs
// are skipped.
std::vector<FormField> ParseFormFields(std::string_view encoded);

// The parts of a value or name between separators ("^" in an item, "_" in a pelluxqa_ name):
// one more than the separators, empty ones kept.
std::vector<std::string> SplitAt(std::string_view text, char separator);

}  // namespace vendigo
