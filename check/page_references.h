#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "html/html_document.h"

namespace vendigo {

// What an address brings into the page.
enum class ReferenceKind { Picture, Stylesheet, Script, Link, Other };

// An address a page refers to: in an address attribute (href, src, action, background, ...), a
// candidate of a srcset, or a url(...) of CSS in a style attribute or a <style> element. The
// address is decoded (character references) and trimmed of blanks except in plain attributes.
struct PageReference {
  std::string address;
  // The decoded offset of the attribute's value (HtmlAttribute::valueOffset) when inAttribute,
  // else of the address itself in a <style> element's text.
  std::size_t offset = 0;
  ReferenceKind kind = ReferenceKind::Other;
  bool inAttribute = true;
};

// Every address the page refers to, in document order; those of one attribute in the order they
// are written.
std::vector<PageReference> PageReferences(const HtmlDocument &document);

// True for an address of a file beside the page: no scheme, not from the site's root, not only
// a fragment or a query of the page itself.
bool IsRelativeFileAddress(std::string_view address);

// The text with each %XX (two hex digits) made the byte it stands for.
std::string PercentDecoded(std::string_view text);

}  // namespace vendigo
