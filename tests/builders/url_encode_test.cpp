#include "builders/url_encode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text_encoding.h"

namespace vendigo {
namespace {

std::string AllAsciiBytes() {
  std::string bytes;
  for (int byte = 0x00; byte <= 0x7F; ++byte) bytes += static_cast<char>(byte);
  return bytes;
}

// Every character of Windows-1252's upper half, 0x80 to 0xFF in order, as UTF-8.
std::string UpperHalfAsUtf8() {
  std::string bytes;
  for (int byte = 0x80; byte <= 0xFF; ++byte) bytes += static_cast<char>(byte);
  return Windows1252ToUtf8(bytes);
}

std::string PercentRun(int first, int last) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (int byte = first; byte <= last; ++byte) {
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
  }
  return out;
}

TEST(URLEnCode, EncodesEachByteClassExactly) {
  struct Case {
    const char *name;
    std::string text;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"empty", "", ""},
      {"blank becomes plus", "Blue Mug", "Blue+Mug"},
      {"percent and exclamation", "50% off!", "50%25+off%21"},
      {"caret", "^", "%5E"},
      {"double quote", "say \"hi\"", "say+%22hi%22"},
      {"letters, digits and the six kept characters",
       "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789*-./@_",
       "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789*-./@_"},
      {"the other printable characters", "!#$%&'()+,:;<=>?[\\]^`{|}~",
       "%21%23%24%25%26%27%28%29%2B%2C%3A%3B%3C%3D%3E%3F%5B%5C%5D%5E%60%7B%7C%7D%7E"},
      {"line breaks and tab", "a\r\nb\tc", "a%0D%0Ab%09c"},
      {"every ASCII byte in order", AllAsciiBytes(),
       PercentRun(0x00, 0x1F) +
           "+%21%22%23%24%25%26%27%28%29*%2B%2C-./0123456789%3A%3B%3C%3D%3E%3F@"
           "ABCDEFGHIJKLMNOPQRSTUVWXYZ%5B%5C%5D%5E_%60abcdefghijklmnopqrstuvwxyz%7B%7C%7D%7E%7F"},
      {"e acute is its Windows-1252 byte", "Caf\xC3\xA9", "Caf%E9"},
      {"euro sign and trade mark from the 0x80 row", "\xE2\x82\xAC\xE2\x84\xA2", "%80%99"},
      {"no-break space and y diaeresis", "\xC2\xA0\xC3\xBF", "%A0%FF"},
      {"every Windows-1252 upper-half character in order", UpperHalfAsUtf8(),
       PercentRun(0x80, 0xFF)},
      // A character Windows-1252 lacks goes as a browser on a Windows-1252 page sends it: its
      // numeric character reference, percent-encoded, so one value keeps one encoding.
      {"Greek omega is not in Windows-1252", "\xCE\xA9", "%26%23937%3B"},
      {"arrow",
       "a\xE2\x86\x92"
       "b",
       "a%26%238594%3Bb"},
      {"emoji beyond the first plane", "\xF0\x9F\x98\x80", "%26%23128512%3B"},
      {"Chinese beside characters Windows-1252 has", "\xE6\x9D\xAF\xE5\xAD\x90 Mug \xE2\x82\xAC",
       "%26%2326479%3B%26%2323376%3B+Mug+%80"},
      {"a stray Windows-1252 byte stays one byte", "Caf\xE9 x", "Caf%E9+x"},
      {"a cut-off UTF-8 sequence: each byte", "\xE2\x86", "%E2%86"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(URLEnCode(c.text), c.expected);
  }
}

}  // namespace
}  // namespace vendigo
