#include "builders/url_encode.h"

#include <map>
#include <string>

#include "core/text_encoding.h"

namespace vendigo {

namespace {

// The UTF-8 form of every upper-half Windows-1252 byte, mapped back to the byte. Built from the
// one decoding table the program has, so both directions always agree.
const std::map<std::string, unsigned char> &Windows1252Bytes() {
  static const std::map<std::string, unsigned char> bytes = [] {
    std::map<std::string, unsigned char> map;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
      const char raw = static_cast<char>(byte);
      map.emplace(Windows1252ToUtf8(std::string_view(&raw, 1)), static_cast<unsigned char>(byte));
    }
    return map;
  }();
  return bytes;
}

// The length of the well-formed UTF-8 sequence at the start of text, or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text.front());
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || text.size() < length) return 0;
  return IsValidUtf8(text.substr(0, length)) ? length : 0;
}

// The code point of one well-formed UTF-8 sequence of two to four bytes.
char32_t CodePoint(std::string_view sequence) {
  const auto lead = static_cast<unsigned char>(sequence.front());
  char32_t point = lead & (sequence.size() == 2 ? 0x1F : sequence.size() == 3 ? 0x0F : 0x07);
  for (const char byte : sequence.substr(1)) {
    point = (point << 6) | (static_cast<unsigned char>(byte) & 0x3F);
  }
  return point;
}

bool IsKeptAsIs(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '*' || byte == '-' || byte == '.' || byte == '/' ||
         byte == '@' || byte == '_';
}

void AppendEncodedByte(std::string &out, unsigned char byte) {
  if (byte == ' ') {
    out += '+';
  } else if (IsKeptAsIs(byte)) {
    out += static_cast<char>(byte);
  } else {
    AppendPercentByte(out, byte);
  }
}

}  // namespace

void AppendPercentByte(std::string &out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

std::string URLEnCode(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  while (!text.empty()) {
    const auto first = static_cast<unsigned char>(text.front());
    const std::size_t length = first < 0x80 ? 1 : Utf8SequenceLength(text);
    if (length <= 1) {
      // ASCII, or a stray byte that is not UTF-8: the byte itself.
      AppendEncodedByte(out, first);
      text.remove_prefix(1);
      continue;
    }
    const std::string character(text.substr(0, length));
    const auto known = Windows1252Bytes().find(character);
    if (known != Windows1252Bytes().end()) {
      AppendEncodedByte(out, known->second);
    } else {
      // As a browser sends it from a Windows-1252 page: "&#" + the code point + ";".
      for (const char byte : "&#" + std::to_string(CodePoint(character)) + ";") {
        AppendEncodedByte(out, static_cast<unsigned char>(byte));
      }
    }
    text.remove_prefix(length);
  }
  return out;
}

}  // namespace vendigo
