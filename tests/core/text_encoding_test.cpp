#include "core/text_encoding.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vendigo {
namespace {

TEST(TextEncodingTest, IsValidUtf8) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"", true},
      {"caf\xC3\xA9 \xE2\x82\xAC", true},
      {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
      {"caf\xE9", false},           // Windows-1252 e acute
      {"\xE2\x82", false},          // cut short
      {"\x80", false},              // lone continuation byte
      {"\xC0\xAF", false},          // overlong
      {"\xE0\x80\xAF", false},      // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
      {"\xE2\x82\x28", false},      // third byte is no continuation
      // ASCII is taken eight bytes at a time: what follows a run of it is still checked.
      {"Order a mug caf\xE9", false},
      {"1234567\xC3\xA9 and on", true},
      {"12345678\xE2\x82", false},
  };
  for (const auto &[bytes, valid] : cases) {
    EXPECT_EQ(IsValidUtf8(bytes), valid) << testing::PrintToString(bytes);
  }
}

TEST(TextEncodingTest, Windows1252ToUtf8) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"Order!", "Order!"},
      {"\x80", "\xE2\x82\xAC"},
      {"\x93Hi\x94", "\xE2\x80\x9CHi\xE2\x80\x9D"},
      {"\x99\x9F", "\xE2\x84\xA2\xC5\xB8"},
      // The five undefined bytes become the control characters of the same number.
      {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
      {"\xA0\xE9\xFF", "\xC2\xA0\xC3\xA9\xC3\xBF"},
  };
  for (const auto &[bytes, utf8] : cases) {
    EXPECT_EQ(Windows1252ToUtf8(bytes), utf8) << testing::PrintToString(bytes);
    EXPECT_EQ(Utf8ToWindows1252(utf8), bytes) << testing::PrintToString(utf8);
  }
  // What Windows-1252 lacks becomes a character reference; a byte that is no UTF-8 stays.
  EXPECT_EQ(Utf8ToWindows1252("\xE6\x9D\xAF \xF0\x9F\x98\x80 \xC2\x80 \xFF"),
            "&#26479; &#128512; &#128; \xFF");
}

TEST(TextEncodingTest, DecodeTextFile) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"caf\xC3\xA9\r\n", "caf\xC3\xA9\r\n"},
      {bom + "abc", "abc"},
      {bom, ""},
      {"a" + bom, "a" + bom},  // only a leading mark is dropped
      {"caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC"},
      // Not valid UTF-8 as a whole, so the mark's bytes are Windows-1252 characters too.
      {"\xEF\xBB\xBF\xE9", "\xC3\xAF\xC2\xBB\xC2\xBF\xC3\xA9"},
  };
  for (const auto &[bytes, text] : cases) {
    EXPECT_EQ(DecodeTextFile(bytes), text) << testing::PrintToString(bytes);
  }
}

TEST(TextEncodingTest, LengthAndPrefix) {
  struct Case {
    std::string text;
    std::size_t length;
    std::size_t chars;
    std::string prefix;
  };
  const std::vector<Case> cases = {
      {"", 0, 3, ""},
      {"abc", 3, 0, ""},
      {"abc", 3, 2, "ab"},
      {"caf\xC3\xA9", 4, 3, "caf"},
      {"caf\xC3\xA9", 4, 4, "caf\xC3\xA9"},
      {"\xE2\x82\xAC\xF0\x9F\x98\x80x", 3, 1, "\xE2\x82\xAC"},
      {"\xE2\x82\xAC\xF0\x9F\x98\x80x", 3, 2, "\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {"ab", 2, 5, "ab"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(Utf8Length(c.text), c.length) << c.text;
    EXPECT_EQ(Utf8Prefix(c.text, c.chars), c.prefix) << c.text << " " << c.chars;
  }
}

}  // namespace
}  // namespace vendigo
