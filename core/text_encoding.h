#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vendigo {

// The core keeps all text as UTF-8. Files written by older Windows installations are in
// Windows-1252; these helpers tell the two apart and convert.

// True when bytes is well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Converts Windows-1252 text to UTF-8. The five bytes that Windows-1252 leaves undefined (81, 8D,
// 8F, 90, 9D) become the control characters of the same number (U+0081 and so on).
std::string Windows1252ToUtf8(std::string_view bytes);

// Converts UTF-8 text to Windows-1252. A character that Windows-1252 lacks is written as its HTML
// numeric character reference ("&#26479;"), as a browser sends it from a Windows-1252 page; a byte
// that is no UTF-8 is kept as it is. Windows1252ToUtf8 of the result gives the text back when
// every character has its byte.
std::string Utf8ToWindows1252(std::string_view text);

// The text of a file: valid UTF-8 is kept as it is, without a leading byte order mark; anything
// else is read as Windows-1252 and converted to UTF-8.
std::string DecodeTextFile(std::string_view bytes);

// The number of characters in UTF-8 text (continuation bytes are not counted).
std::size_t Utf8Length(std::string_view text);

// The first chars characters of UTF-8 text; all of it when it is shorter.
std::string Utf8Prefix(std::string_view text, std::size_t chars);

// Letter case and digits in the ASCII sense only: the rules that use them (key names,
// placeholders, prices) leave every other character, accented letters included, as it is.
inline char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
inline bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}
// Appends the UTF-8 bytes of one character.
void AppendUtf8(std::string &out, char32_t c);
// text with its ASCII letters lower-cased.
std::string AsciiLowered(std::string_view text);
// Equal, or beginning with prefix, when ASCII letter case is not told apart. Inline: the fragment
// readers ask this of nearly every tag name they look at.
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// One line of text and the line end that closed it: "\r\n", "\n", "\r", or "" for a last line
// without one.
struct TextLine {
  std::string text;
  std::string end;
};

// The lines of text, split at CR LF, LF or a lone CR. A line end after the last line does not
// start another line, so "" gives no lines.
std::vector<TextLine> SplitLines(std::string_view text);

// The place of the first CR or LF in text at or after from; npos when there is none. Faster than
// find_first_of("\r\n"), which looks each byte up in the set.
std::size_t FindLineBreak(std::string_view text, std::size_t from = 0);

}  // namespace vendigo
