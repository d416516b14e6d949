#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/html_escape.h"

namespace vendigo {

// A file name in the same folder as an address: every byte but ASCII letters, digits and
// "-._~" percent-encoded.
std::string FileAddress(std::string_view fileName);

// A product page ready to upload: an HTML5 document declaring UTF-8, titled with the product's
// description, with a link back to the index above the page's body, which is body unchanged.
// Lines end in CR LF, as the pages built from templates do. head, lines ending in CR LF, goes
// into the head after the title.
std::string ProductPageDocument(std::string_view description, std::string_view body,
                                std::string_view head = {});

// ProductPageDocument written into document around a body appended between the two calls.
void StartProductPageDocument(std::string &document, std::string_view description,
                              std::string_view head = {});
void EndProductPageDocument(std::string &document);
// The most bytes EndProductPageDocument adds.
inline constexpr std::size_t kProductPageDocumentEndSize = 32;

// One product of the index: its description, its price as shown (currency sign included) and
// the file name of its page.
struct CatalogueEntry {
  std::string Description;
  std::string Price;
  std::string FileName;
};

// The index page: an HTML5 document titled with the company's name, with a table of every
// product in the order given, each description a link to its page.
std::string CatalogueIndexDocument(std::string_view company,
                                   const std::vector<CatalogueEntry> &entries);

// The file name of the index's page `page`, counting from 1: "index.html", "index-2.html", ...
std::string CatalogueIndexPageName(std::size_t page);

// Whether name, in any letter case, is one CatalogueIndexPageName gives.
bool IsCatalogueIndexPageName(std::string_view name);

// Page `page` (from 1) of an index of `pages` pages: the index page of these entries, and when
// there are several pages, a line under the table with its number and links to the previous
// and the next page.
std::string CatalogueIndexDocument(std::string_view company,
                                   const std::vector<CatalogueEntry> &entries, std::size_t page,
                                   std::size_t pages);

}  // namespace vendigo
