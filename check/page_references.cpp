#include "check/page_references.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/text_encoding.h"
#include "html/html_document.h"

namespace vendigo {
namespace {

bool HasWord(std::string_view list, std::string_view word) {
  const std::string lower = AsciiLowered(list);
  std::size_t at = 0;
  while (at < lower.size()) {
    while (at < lower.size() && IsHtmlSpace(lower[at])) ++at;
    std::size_t end = at;
    while (end < lower.size() && !IsHtmlSpace(lower[end])) ++end;
    if (std::string_view(lower).substr(at, end - at) == word) return true;
    at = end;
  }
  return false;
}

// What an address in this attribute of this element brings into the page.
ReferenceKind KindOf(const HtmlDocument &document, std::size_t node, std::string_view attribute) {
  const HtmlNode &element = document.Node(node);
  if (attribute == "background" || attribute == "poster") return ReferenceKind::Picture;
  if (element.IsElement("img"))
    return attribute == "src" ? ReferenceKind::Picture : ReferenceKind::Other;
  if (element.IsElement("input") && attribute == "src") return ReferenceKind::Picture;
  if (element.IsElement("source") && document.Ancestor(node, "picture") != HtmlNode::kNoNode) {
    return ReferenceKind::Picture;
  }
  if (element.IsElement("script") && attribute == "src") return ReferenceKind::Script;
  if ((element.IsElement("a") || element.IsElement("area")) && attribute == "href") {
    return ReferenceKind::Link;
  }
  if (element.IsElement("link") && attribute == "href") {
    const std::string rel = element.Value("rel");
    if (HasWord(rel, "stylesheet")) return ReferenceKind::Stylesheet;
    if (HasWord(rel, "icon")) return ReferenceKind::Picture;
  }
  return ReferenceKind::Other;
}

// The url(...) addresses of CSS text, each with its offset in css; those after @import are
// stylesheets, the rest pictures (backgrounds, mostly).
void CssReferences(std::string_view css, std::size_t offset,
                   std::vector<PageReference> &references) {
  const std::string lower = AsciiLowered(css);
  for (std::size_t at = lower.find("url("); at != std::string::npos;
       at = lower.find("url(", at + 4)) {
    std::size_t start = at + 4;
    while (start < css.size() && IsHtmlSpace(css[start])) ++start;
    const char quote =
        start < css.size() && (css[start] == '"' || css[start] == '\'') ? css[start] : '\0';
    if (quote) ++start;
    const std::size_t end = css.find(quote ? quote : ')', start);
    if (end == std::string_view::npos) break;
    std::size_t before = lower.find_last_not_of(" \t\r\n\f", at == 0 ? 0 : at - 1);
    const bool imported = at > 0 && before != std::string::npos && before >= 6 &&
                          lower.compare(before - 6, 7, "@import") == 0;
    references.push_back({std::string(TrimHtmlSpace(css.substr(start, end - start))),
                          offset + start,
                          imported ? ReferenceKind::Stylesheet : ReferenceKind::Picture});
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiLower(c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

std::vector<PageReference> PageReferences(const HtmlDocument &document) {
  static constexpr std::array kAddressAttributes = {
      "href", "src", "action", "formaction", "background", "poster", "data", "cite", "longdesc"};
  std::vector<PageReference> references;
  const std::vector<HtmlNode> &nodes = document.Nodes();
  for (std::size_t node = 0; node < nodes.size(); ++node) {
    const HtmlNode &element = nodes[node];
    if (element.kind == HtmlNodeKind::Text && element.parent != HtmlNode::kNoNode &&
        nodes[element.parent].IsElement("style")) {
      const std::size_t first = references.size();
      CssReferences(element.text, element.offset, references);
      for (std::size_t i = first; i < references.size(); ++i) references[i].inAttribute = false;
    }
    if (element.kind != HtmlNodeKind::Element || !element.written) continue;
    for (const HtmlAttribute &attribute : element.attributes) {
      if (attribute.name == "style") {
        // The value is decoded: its addresses are found at the attribute.
        std::vector<PageReference> css;
        CssReferences(attribute.value, 0, css);
        for (PageReference &reference : css) reference.offset = attribute.valueOffset;
        references.insert(references.end(), css.begin(), css.end());
      } else if (attribute.name == "srcset") {
        const bool picture =
            KindOf(document, node, "src") == ReferenceKind::Picture || element.IsElement("source");
        std::string_view candidates = attribute.value;
        while (!candidates.empty()) {
          const std::size_t comma = candidates.find(',');
          const std::string_view candidate = TrimHtmlSpace(candidates.substr(0, comma));
          const std::size_t blank =
              std::find_if(candidate.begin(), candidate.end(), IsHtmlSpace) - candidate.begin();
          if (blank > 0) {
            references.push_back({std::string(candidate.substr(0, blank)), attribute.valueOffset,
                                  picture ? ReferenceKind::Picture : ReferenceKind::Other});
          }
          candidates = comma == std::string_view::npos ? "" : candidates.substr(comma + 1);
        }
      } else if (std::find(kAddressAttributes.begin(), kAddressAttributes.end(), attribute.name) !=
                 kAddressAttributes.end()) {
        references.push_back(
            {attribute.value, attribute.valueOffset, KindOf(document, node, attribute.name)});
      }
    }
  }
  return references;
}

// True for an address of a file beside the page: no scheme, not from the site's root, not only
// a fragment or a query of the page itself.
bool IsRelativeFileAddress(std::string_view address) {
  if (address.empty() || address.front() == '#' || address.front() == '?' ||
      address.front() == '/' || address.front() == '\\') {
    return false;
  }
  const std::size_t colon = address.find(':');
  return colon == std::string_view::npos || address.find_first_of("/?#") < colon;
}

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

}  // namespace vendigo
