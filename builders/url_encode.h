#pragma once

#include <string>
#include <string_view>

namespace vendigo {

// Form-style URL encoding of one query field. The text is taken as UTF-8; a character that
// Windows-1252 has is encoded as that one byte (é becomes %E9), any other character as a browser
// on a Windows-1252 page sends it, as its numeric character reference ("&#26479;" becomes
// %26%2326479%3B), so one value never mixes two encodings. Of each byte, the blank becomes "+", the
// letters A-Z and a-z, the digits and the six characters * - . / @ _ stay as they are, and every
// other byte becomes "%" and two upper-case hexadecimal digits. A byte that is not part of
// well-formed UTF-8 is encoded as itself.
std::string URLEnCode(std::string_view text);

// Appends byte as "%" and two upper-case hexadecimal digits.
void AppendPercentByte(std::string &out, unsigned char byte);

// bytes with each byte that kept(byte) refuses written as AppendPercentByte writes it.
template <typename Kept>
std::string PercentEncodeBytes(std::string_view bytes, Kept kept) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (kept(byte)) {
      out += c;
    } else {
      AppendPercentByte(out, byte);
    }
  }
  return out;
}

}  // namespace vendigo
