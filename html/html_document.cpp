#include "html/html_document.h"

#include <gumbo.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "core/text_encoding.h"

namespace vendigo {
namespace {

// Everything Gumbo allocates for one parse comes from here and goes at once when the parse's
// tree has been copied. Gumbo's own clean-up walks the tree recursively, so a page of a few
// hundred thousand nested tags would overflow the stack of the thread that frees it; handing
// out memory without giving it back one piece at a time also spares the allocator.
class ParseArena {
 public:
  static void *Allocate(void *arena, std::size_t size) {
    return static_cast<ParseArena *>(arena)->Take(size);
  }
  static void Release(void *, void *) {}

 private:
  void *Take(std::size_t size) {
    size = (size + kAlignment - 1) / kAlignment * kAlignment;
    if (size > kBlockBytes / 4) {
      large_.push_back(std::make_unique<std::byte[]>(size));
      return large_.back().get();
    }
    if (blocks_.empty() || used_ + size > kBlockBytes) {
      blocks_.push_back(std::make_unique<std::byte[]>(kBlockBytes));
      used_ = 0;
    }
    void *piece = blocks_.back().get() + used_;
    used_ += size;
    return piece;
  }

  static constexpr std::size_t kAlignment = alignof(std::max_align_t);
  static constexpr std::size_t kBlockBytes = 256 * 1024;
  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::vector<std::unique_ptr<std::byte[]>> large_;
  std::size_t used_ = 0;
};

// The parse errors are not kept: the checks have rules of their own, and recording every error
// of a page costs the parser more than it saves anyone.
GumboOptions ParseOptions(ParseArena &arena) {
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;
  options.allocator = &ParseArena::Allocate;
  options.deallocator = &ParseArena::Release;
  options.userdata = &arena;
  return options;
}

bool IsAsciiWhitespace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string TagName(const GumboElement &element) {
  if (element.tag != GUMBO_TAG_UNKNOWN) return gumbo_normalized_tagname(element.tag);
  GumboStringPiece piece = element.original_tag;
  gumbo_tag_from_original_text(&piece);
  std::string name(piece.data ? piece.data : "", piece.length);
  for (char &c : name) c = AsciiLower(c);
  return name;
}

// The UTF-8 length of each Windows-1252 byte.
const std::array<unsigned char, 256> &Windows1252Widths() {
  static const std::array<unsigned char, 256> widths = [] {
    std::array<unsigned char, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
      table[byte] = static_cast<unsigned char>(
          Windows1252ToUtf8(std::string(1, static_cast<char>(byte))).size());
    }
    return table;
  }();
  return widths;
}

class TreeCopy {
 public:
  TreeCopy(std::vector<HtmlNode> &nodes, std::string_view text) : nodes_(nodes), text_(text) {}

  void Copy(const GumboNode *document) {
    struct Frame {
      const GumboVector *children;
      std::size_t index;  // of the node whose children these are; kNoNode for the document
      unsigned next;
    };
    std::vector<Frame> stack{{&document->v.document.children, HtmlNode::kNoNode, 0}};
    while (!stack.empty()) {
      Frame &frame = stack.back();
      if (frame.next == frame.children->length) {
        if (frame.index != HtmlNode::kNoNode) Finish(frame.index);
        stack.pop_back();
        continue;
      }
      const auto *child = static_cast<const GumboNode *>(frame.children->data[frame.next++]);
      const std::size_t parent = frame.index;
      const std::size_t index = Add(*child, parent);
      if (index == HtmlNode::kNoNode) continue;
      if (child->type == GUMBO_NODE_ELEMENT || child->type == GUMBO_NODE_TEMPLATE) {
        stack.push_back({&child->v.element.children, index, 0});
      } else {
        nodes_[index].end = index + 1;
      }
    }
  }

 private:
  std::size_t Add(const GumboNode &source, std::size_t parent) {
    HtmlNode node;
    node.parent = parent;
    switch (source.type) {
      case GUMBO_NODE_ELEMENT:
      case GUMBO_NODE_TEMPLATE: {
        const GumboElement &element = source.v.element;
        node.tag = TagName(element);
        node.written = element.original_tag.length > 0;
        node.endTagWritten = element.original_end_tag.length > 0;
        node.offset = element.start_pos.offset;
        node.attributes.reserve(element.attributes.length);
        for (unsigned i = 0; i < element.attributes.length; ++i) {
          const auto *attribute = static_cast<const GumboAttribute *>(element.attributes.data[i]);
          node.attributes.push_back(
              {attribute->name, attribute->value, attribute->name_start.offset,
               ValueOffset(attribute->name_start.offset, attribute->name_end.offset)});
        }
        break;
      }
      case GUMBO_NODE_TEXT:
      case GUMBO_NODE_WHITESPACE:
      case GUMBO_NODE_CDATA:
        node.kind = HtmlNodeKind::Text;
        node.text = source.v.text.text;
        node.offset = source.v.text.start_pos.offset;
        break;
      case GUMBO_NODE_COMMENT:
        node.kind = HtmlNodeKind::Comment;
        node.text = source.v.text.text;
        node.offset = source.v.text.start_pos.offset;
        break;
      default:
        return HtmlNode::kNoNode;
    }
    nodes_.push_back(std::move(node));
    return nodes_.size() - 1;
  }

  void Finish(std::size_t index) {
    HtmlNode &node = nodes_[index];
    node.end = nodes_.size();
    // An element the parser added has no place of its own: it stands where its content begins.
    if (!node.written) {
      node.offset = node.end > index + 1               ? nodes_[index + 1].offset
                    : node.parent != HtmlNode::kNoNode ? nodes_[node.parent].offset
                                                       : 0;
    }
  }

  // Where the value after the name ending at nameEnd is written: after "=" and any blanks; the
  // name's own place when it has no value. Read from the text, as Gumbo leaves the value's place
  // of an attribute without a value unset.
  std::size_t ValueOffset(std::size_t nameStart, std::size_t nameEnd) const {
    std::size_t at = std::min(nameEnd, text_.size());
    while (at < text_.size() && IsAsciiWhitespace(text_[at])) ++at;
    if (at == text_.size() || text_[at] != '=') return nameStart;
    ++at;
    while (at < text_.size() && IsAsciiWhitespace(text_[at])) ++at;
    return at;
  }

  std::vector<HtmlNode> &nodes_;
  std::string_view text_;
};

}  // namespace

const HtmlAttribute *HtmlNode::Attribute(std::string_view name) const {
  for (const HtmlAttribute &attribute : attributes) {
    if (attribute.name == name) return &attribute;
  }
  return nullptr;
}

std::string HtmlNode::Value(std::string_view name) const {
  const HtmlAttribute *attribute = Attribute(name);
  return attribute ? attribute->value : std::string();
}

HtmlDocument HtmlDocument::Read(std::string_view bytes) {
  HtmlDocument document;
  if (IsValidUtf8(bytes)) {
    document.skippedPrefix_ = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    document.text_ = bytes.substr(document.skippedPrefix_);
  } else {
    document.windows1252_ = true;
    document.text_ = Windows1252ToUtf8(bytes);
    const auto &widths = Windows1252Widths();
    std::size_t decoded = 0;
    std::size_t extra = 0;
    for (const char byte : bytes) {
      const std::size_t width = widths[static_cast<unsigned char>(byte)];
      decoded += width;
      if (width > 1) {
        extra += width - 1;
        document.widened_.emplace_back(decoded, extra);
      }
    }
  }

  const std::string &text = document.text_;
  document.lineStarts_.push_back(0);
  for (std::size_t at = text.find_first_of("\r\n"); at != std::string::npos;
       at = text.find_first_of("\r\n", at)) {
    at += text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
    document.lineStarts_.push_back(at);
  }

  // The output is not destroyed: it lives in the arena, which goes with this scope.
  ParseArena arena;
  const GumboOptions options = ParseOptions(arena);
  const GumboOutput *output = gumbo_parse_with_options(&options, text.data(), text.size());
  TreeCopy(document.nodes_, text).Copy(output->document);
  return document;
}

std::vector<std::size_t> HtmlDocument::Children(std::size_t node) const {
  std::vector<std::size_t> children;
  for (std::size_t child = node + 1; child < nodes_[node].end; child = nodes_[child].end) {
    children.push_back(child);
  }
  return children;
}

std::string HtmlDocument::TextOf(std::size_t node) const {
  std::string text;
  for (std::size_t i = node; i < nodes_[node].end; ++i) {
    if (nodes_[i].kind == HtmlNodeKind::Text) text += nodes_[i].text;
  }
  return text;
}

std::size_t HtmlDocument::Ancestor(std::size_t node, std::string_view tag) const {
  for (std::size_t at = nodes_[node].parent; at != HtmlNode::kNoNode; at = nodes_[at].parent) {
    if (nodes_[at].IsElement(tag)) return at;
  }
  return HtmlNode::kNoNode;
}

SourcePlace HtmlDocument::Place(std::size_t decodedOffset) const {
  decodedOffset = std::min(decodedOffset, text_.size());
  SourcePlace place;
  std::size_t extra = 0;
  auto widened = std::upper_bound(widened_.begin(), widened_.end(),
                                  std::pair(decodedOffset, static_cast<std::size_t>(-1)));
  if (widened != widened_.begin()) extra = std::prev(widened)->second;
  place.offset = skippedPrefix_ + decodedOffset - extra;
  const auto next = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), decodedOffset);
  place.line = static_cast<int>(next - lineStarts_.begin());
  std::size_t column = 1;
  for (std::size_t at = *std::prev(next); at < decodedOffset; ++at) {
    if ((static_cast<unsigned char>(text_[at]) & 0xC0) != 0x80) ++column;
  }
  place.column = static_cast<int>(column);
  return place;
}

std::string_view TrimHtmlSpace(std::string_view text) {
  while (!text.empty() && IsHtmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsHtmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::string CollapseWhitespace(std::string_view text) {
  std::string out;
  bool blank = false;
  for (const char c : text) {
    if (IsAsciiWhitespace(c)) {
      blank = !out.empty();
    } else {
      if (blank) out += ' ';
      blank = false;
      out += c;
    }
  }
  return out;
}

}  // namespace vendigo
