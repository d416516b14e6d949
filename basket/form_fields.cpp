#include "basket/form_fields.h"

#include "core/text_encoding.h"

namespace vendigo {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PercentDecode(std::string_view encoded) {
  std::string bytes;
  bytes.reserve(encoded.size());
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    if (c == '+') {
      bytes += ' ';
    } else if (c == '%' && i + 2 < encoded.size() && HexDigit(encoded[i + 1]) >= 0 &&
               HexDigit(encoded[i + 2]) >= 0) {
      bytes += static_cast<char>(HexDigit(encoded[i + 1]) * 16 + HexDigit(encoded[i + 2]));
      i += 2;
    } else {
      bytes += c;
    }
  }
  return bytes;
}

std::string DecodeFieldText(std::string_view bytes) {
  return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

std::vector<FormField> ParseFormFields(std::string_view encoded) {
  std::vector<FormField> fields;
  std::size_t start = 0;
  while (start <= encoded.size()) {
    std::size_t end = encoded.find_first_of("&;", start);
    if (end == std::string_view::npos) end = encoded.size();
    const std::string_view pair = encoded.substr(start, end - start);
    if (!pair.empty()) {
      const std::size_t equals = pair.find('=');
      const std::string_view name = pair.substr(0, equals);
      const std::string_view value =
          equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1);
      fields.push_back(
          {DecodeFieldText(PercentDecode(name)), DecodeFieldText(PercentDecode(value))});
    }
    start = end + 1;
  }
  return fields;
}

std::vector<std::string> SplitAt(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at = text.find(separator); at != std::string_view::npos;
       at = text.find(separator, start)) {
    parts.emplace_back(text.substr(start, at - start));
    start = at + 1;
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

}  // namespace vendigo
