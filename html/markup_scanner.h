#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/text_encoding.h"
#include "html/html_document.h"

namespace vendigo {

// Reading markup byte by byte, as written: the fragment readers take values from the bytes a
// builder wrote (an attribute value between its quotes, a text up to the next tag), where a parser
// that decodes references and repairs the tree would lose them. Offsets are into the text given.

// One attribute as written: its name and its value without the quotes, nothing decoded.
struct RawAttribute {
  std::string_view name;
  std::string_view value;
};

// A start or end tag as written.
struct RawTag {
  static constexpr std::size_t kMaxAttributes = 12;

  std::string_view name;  // as written
  std::size_t start = 0;  // its "<"
  std::size_t end = 0;    // just past its ">"
  bool endTag = false;
  std::size_t attributeCount = 0;  // all of them; only the first kMaxAttributes are kept
  std::array<RawAttribute, kMaxAttributes> attributes;

  // The name without regard to ASCII case (lowerName in lower case).
  bool Is(std::string_view lowerName) const;
  // The first attribute of that name (lower case; written in any case); nullptr when none.
  const RawAttribute *Attribute(std::string_view lowerName) const;
  // Its value as written, "" when there is none.
  std::string_view Value(std::string_view lowerName) const;
};

// The tag whose "<" is text[at]: a letter (start tag) or "/" and a letter (end tag) must follow,
// and a ">" outside quoted values must end it. nullopt otherwise.
std::optional<RawTag> ReadRawTag(std::string_view text, std::size_t at);

bool EndsWithNoCase(std::string_view text, std::string_view suffix);
// The first place at or after from where needle occurs without regard to ASCII case; npos.
std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from = 0);
// The last such place at or after from; npos.
std::size_t FindLastNoCase(std::string_view text, std::string_view needle, std::size_t from = 0);

// Where literal, written by a builder, ends when it is written at text[at]: as written, or as a
// merchant may have retyped it (letters in another case, blanks added, removed or changed where
// the literal has a blank or a tag boundary). npos when it is not there. The literal as written
// always wins, so a value that follows it keeps its own leading blanks.
std::size_t MatchLoose(std::string_view text, std::size_t at, std::string_view literal);
// The first place at or after from where MatchLoose finds literal; npos. *matchEnd gets its end.
std::size_t FindLoose(std::string_view text, std::size_t from, std::string_view literal,
                      std::size_t *matchEnd);
// Blanks backwards: the first place before end from which text[place, end) is all blanks.
std::size_t SkipBlanksBack(std::string_view text, std::size_t end);
std::size_t SkipBlanks(std::string_view text, std::size_t at);

// A value written with QuoteToEntity, read back: each "&quot;" becomes a double quote. (A
// merchant's own "&quot;" reads as a quote too; both are written the same.)
std::string UnquoteEntity(std::string_view written);

}  // namespace vendigo
