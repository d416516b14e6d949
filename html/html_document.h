#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vendigo {

// A place in the file on disk: its byte offset, its line (1-based) and its column (1-based,
// counted in characters of that line: a multibyte UTF-8 character, a Windows-1252 byte and a tab
// are one column each).
struct SourcePlace {
  std::size_t offset = 0;
  int line = 1;
  int column = 1;
};

// One attribute as a browser reads it: the name in lower case, the value with its character
// references decoded. Offsets are into the document's decoded text (HtmlDocument::Place maps
// them to the file).
struct HtmlAttribute {
  std::string name;
  std::string value;
  std::size_t nameOffset = 0;
  std::size_t valueOffset = 0;  // where the value is written (its quote); nameOffset without one
};

enum class HtmlNodeKind { Element, Text, Comment };

// An element, a text or a comment. The nodes of a document are kept in document order (each
// node before its children); the subtree of node i is the nodes from i + 1 to end - 1.
struct HtmlNode {
  HtmlNodeKind kind = HtmlNodeKind::Element;
  std::string tag;  // lower case, elements only
  std::vector<HtmlAttribute> attributes;
  std::string text;        // text with character references decoded; a comment's inside
  std::size_t offset = 0;  // decoded offset of the start tag's "<", the text or the comment
  bool written = true;     // false for an element the parser added without a tag in the file
  bool endTagWritten = false;
  std::size_t parent = kNoNode;
  std::size_t end = 0;

  static constexpr std::size_t kNoNode = static_cast<std::size_t>(-1);

  bool IsElement(std::string_view name) const {
    return kind == HtmlNodeKind::Element && tag == name;
  }
  // nullptr when the element has no such attribute (name in lower case).
  const HtmlAttribute *Attribute(std::string_view name) const;
  bool Has(std::string_view name) const { return Attribute(name) != nullptr; }
  // The attribute's value; "" when it is missing.
  std::string Value(std::string_view name) const;
};

// A page read as a browser reads it (HTML5 parsing: unclosed tags, upper-case names, unquoted
// attributes, comments and stray markup all end up in a tree as in a browser), from the bytes of
// its file: UTF-8 when they are valid UTF-8, Windows-1252 otherwise.
class HtmlDocument {
 public:
  static HtmlDocument Read(std::string_view bytes);

  const std::vector<HtmlNode> &Nodes() const { return nodes_; }
  const HtmlNode &Node(std::size_t index) const { return nodes_[index]; }
  // The text of the page as read, UTF-8.
  const std::string &Text() const { return text_; }
  bool IsWindows1252() const { return windows1252_; }

  // The children of a node, in order.
  std::vector<std::size_t> Children(std::size_t node) const;
  // The texts inside a node, joined; a text node's own text.
  std::string TextOf(std::size_t node) const;
  // The nearest ancestor element with that tag name; HtmlNode::kNoNode when there is none.
  std::size_t Ancestor(std::size_t node, std::string_view tag) const;

  // Where an offset of the decoded text lies in the file.
  SourcePlace Place(std::size_t decodedOffset) const;

 private:
  std::string text_;
  std::vector<HtmlNode> nodes_;
  bool windows1252_ = false;
  std::size_t skippedPrefix_ = 0;        // a UTF-8 byte order mark the text no longer holds
  std::vector<std::size_t> lineStarts_;  // decoded offsets where lines begin
  // Windows-1252 only: (decoded offset after a character written with more bytes than in the
  // file, the decoded bytes more than file bytes up to there), in order.
  std::vector<std::pair<std::size_t, std::size_t>> widened_;
};

// HTML's whitespace: space, tab, line feed, form feed and carriage return.
inline bool IsHtmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
// text without HTML whitespace at either end.
std::string_view TrimHtmlSpace(std::string_view text);

// Text with runs of ASCII whitespace made one blank and none at either end, as browsers take an
// option's text for its value.
std::string CollapseWhitespace(std::string_view text);

}  // namespace vendigo
