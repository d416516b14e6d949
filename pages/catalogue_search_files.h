#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "pages/catalogue_index_list.h"
#include "pages/product_data.h"

namespace vendigo {

// What a catalogue gives search engines and shopping sites besides its pages.
inline constexpr char kCatalogueSitemapFile[] = "sitemap.xml";
inline constexpr char kCatalogueFeedFile[] = "feed.xml";
// The most addresses one sitemap file may list; more go into sitemap-1.xml, sitemap-2.xml, ...
// with sitemap.xml their sitemap index.
inline constexpr std::size_t kSitemapAddresses = 50000;

// Gives a finished file, read from the start of the open file, its name in the output folder,
// whole or not at all.
using PlaceCatalogueFile = std::function<void(const std::string &name, std::FILE *bytes)>;

// The sitemap and the product feed of a catalogue, written through libxml2's text writer. The
// feed (RSS 2.0 with Google's merchant namespace) takes each product as its page is written and
// is kept in a temporary file, so memory does not grow with the products; the sitemap is made at
// the end from the index's list. One thread at a time.
class CatalogueSearchFiles {
 public:
  // siteAddress ends in "/" (SiteAddress). Throws FileError when there is no temporary file.
  CatalogueSearchFiles(std::string siteAddress, const std::string &company);
  ~CatalogueSearchFiles();
  CatalogueSearchFiles(const CatalogueSearchFiles &) = delete;
  CatalogueSearchFiles &operator=(const CatalogueSearchFiles &) = delete;

  // The feed's items of a product page written: one per offer, sharing an item group when there
  // are several. The id is the SKU, else the page's file name without ".html".
  void AddProduct(const ProductFacts &facts, const std::string &fileName);

  // Writes the sitemap of the index's pages (indexPages of them) and the products of index, then
  // the feed, each through place. Throws FileError when one cannot be made.
  void Finish(CatalogueIndexList &index, std::size_t indexPages, const PlaceCatalogueFile &place);

 private:
  struct Writer;
  std::string siteAddress_;
  std::unique_ptr<Writer> feed_;
};

}  // namespace vendigo
