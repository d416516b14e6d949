#include "html/markup_scanner.h"

#include <cstring>

#include "core/text_encoding.h"
#include "html/html_document.h"

namespace vendigo {

namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Where a tag boundary lets a retyped literal have blanks that the builder did not write.
bool IsTagBoundary(char c) {
  return c == '<' || c == '>' || c == '=';
}

}  // namespace

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
  const char lower = AsciiLower(needle.front());
  const char upper = static_cast<char>(lower >= 'a' && lower <= 'z' ? lower - 32 : lower);
  // Where c first occurs in text[from, before); before when it does not.
  const auto first = [&](char c, std::size_t before) {
    const void *hit = std::memchr(text.data() + from, c, before - from);
    return hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - text.data()) : before;
  };
  while (from + needle.size() <= text.size()) {
    const std::size_t last = text.size() - needle.size() + 1;
    // The first byte in either case: the upper case one looked for only before the lower case one.
    std::size_t at = first(lower, last);
    if (upper != lower) at = first(upper, at);
    if (at == last) return std::string_view::npos;
    if (EqualsNoCase(text.substr(at, needle.size()), needle)) return at;
    from = at + 1;
  }
  return std::string_view::npos;
}

std::size_t FindLastNoCase(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= text.size() ? text.size() : std::string_view::npos;
  if (needle.size() > text.size()) return std::string_view::npos;
  const char first = AsciiLower(needle.front());
  for (std::size_t at = text.size() - needle.size() + 1; at-- > from;) {
    if (AsciiLower(text[at]) == first && EqualsNoCase(text.substr(at, needle.size()), needle)) {
      return at;
    }
  }
  return std::string_view::npos;
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && IsHtmlSpace(text[at])) ++at;
  return at;
}

std::size_t SkipBlanksBack(std::string_view text, std::size_t end) {
  while (end > 0 && IsHtmlSpace(text[end - 1])) --end;
  return end;
}

bool RawTag::Is(std::string_view lowerName) const {
  return EqualsNoCase(name, lowerName);
}

const RawAttribute *RawTag::Attribute(std::string_view lowerName) const {
  const std::size_t kept = attributeCount < kMaxAttributes ? attributeCount : kMaxAttributes;
  for (std::size_t i = 0; i < kept; ++i) {
    if (EqualsNoCase(attributes[i].name, lowerName)) return &attributes[i];
  }
  return nullptr;
}

std::string_view RawTag::Value(std::string_view lowerName) const {
  const RawAttribute *attribute = Attribute(lowerName);
  return attribute ? attribute->value : std::string_view();
}

namespace {

// The tag at text[at] into tag; false when there is none.
bool ScanTag(std::string_view text, std::size_t at, RawTag &tag) {
  if (at + 1 >= text.size() || text[at] != '<') return false;
  tag.start = at;
  std::size_t i = at + 1;
  if (text[i] == '/') {
    tag.endTag = true;
    ++i;
  }
  if (i >= text.size() || !IsAsciiLetter(text[i])) return false;
  const std::size_t nameStart = i;
  while (i < text.size() && !IsHtmlSpace(text[i]) && text[i] != '/' && text[i] != '>') ++i;
  tag.name = text.substr(nameStart, i - nameStart);
  while (true) {
    while (i < text.size() && (IsHtmlSpace(text[i]) || text[i] == '/')) ++i;
    if (i >= text.size()) return false;
    if (text[i] == '>') {
      tag.end = i + 1;
      return true;
    }
    const std::size_t attributeName = i;
    while (i < text.size() && !IsHtmlSpace(text[i]) && text[i] != '/' && text[i] != '>' &&
           (text[i] != '=' || i == attributeName)) {
      ++i;
    }
    RawAttribute attribute{text.substr(attributeName, i - attributeName), {}};
    std::size_t afterName = SkipBlanks(text, i);
    if (afterName < text.size() && text[afterName] == '=') {
      i = SkipBlanks(text, afterName + 1);
      if (i >= text.size()) return false;
      if (text[i] == '"' || text[i] == '\'') {
        const std::size_t close = text.find(text[i], i + 1);
        if (close == std::string_view::npos) return false;
        attribute.value = text.substr(i + 1, close - i - 1);
        i = close + 1;
      } else {
        const std::size_t valueStart = i;
        while (i < text.size() && !IsHtmlSpace(text[i]) && text[i] != '>') ++i;
        attribute.value = text.substr(valueStart, i - valueStart);
      }
    }
    if (tag.attributeCount < RawTag::kMaxAttributes) tag.attributes[tag.attributeCount] = attribute;
    ++tag.attributeCount;
  }
}

}  // namespace

std::optional<RawTag> ReadRawTag(std::string_view text, std::size_t at) {
  // One tag object, filled in place and returned as it is: a tag is large to copy.
  std::optional<RawTag> tag(std::in_place);
  if (!ScanTag(text, at, *tag)) tag.reset();
  return tag;
}

std::size_t MatchLoose(std::string_view text, std::size_t at, std::string_view literal) {
  if (at > text.size()) return std::string_view::npos;
  if (text.substr(at, literal.size()) == literal) return at + literal.size();
  std::size_t t = at;
  std::size_t l = 0;
  while (l < literal.size()) {
    const bool literalBlank = IsHtmlSpace(literal[l]);
    const bool boundary = IsTagBoundary(literal[l]) || (l > 0 && IsTagBoundary(literal[l - 1]));
    if (literalBlank || boundary) {
      while (l < literal.size() && IsHtmlSpace(literal[l])) ++l;
      t = SkipBlanks(text, t);
      if (l == literal.size()) break;
    }
    if (t >= text.size() || AsciiLower(text[t]) != AsciiLower(literal[l])) {
      return std::string_view::npos;
    }
    ++t;
    ++l;
  }
  return t;
}

std::size_t FindLoose(std::string_view text, std::size_t from, std::string_view literal,
                      std::size_t *matchEnd) {
  if (literal.empty()) return std::string_view::npos;
  const char first = literal.front();
  const bool letter = IsAsciiLetter(first);
  for (std::size_t at = from; at < text.size(); ++at) {
    if (letter) {
      at = FindNoCase(text, std::string_view(&first, 1), at);
    } else {
      const void *hit = std::memchr(text.data() + at, first, text.size() - at);
      at = hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - text.data())
               : std::string_view::npos;
    }
    if (at == std::string_view::npos) return at;
    const std::size_t end = MatchLoose(text, at, literal);
    if (end != std::string_view::npos) {
      if (matchEnd) *matchEnd = end;
      return at;
    }
  }
  return std::string_view::npos;
}

std::string UnquoteEntity(std::string_view written) {
  if (written.find('&') == std::string_view::npos) return std::string(written);
  std::string out;
  out.reserve(written.size());
  std::size_t at = 0;
  while (at < written.size()) {
    const std::size_t entity = written.find("&quot;", at);
    if (entity == std::string_view::npos) break;
    out.append(written.substr(at, entity - at));
    out += '"';
    at = entity + 6;
  }
  out.append(written.substr(at));
  return out;
}

}  // namespace vendigo
