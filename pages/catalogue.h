#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "pages/catalogue_row.h"

namespace vendigo {

// A catalogue: one product page per row in the output folder, the pictures copied into its
// folder "images", and "index.html" listing every page written. An index of more products than
// a page holds goes on in "index-2.html", "index-3.html", ..., each page linking to the one
// before and the one after.
inline constexpr char kCatalogueIndexFile[] = "index.html";
inline constexpr char kCatalogueImageFolder[] = "images";
inline constexpr std::size_t kCatalogueIndexPageProducts = 1000;

struct CatalogueOptions {
  // Replace pages, pictures and the index that exist already; otherwise they are kept and the
  // rows they belong to are skipped.
  bool Replace = false;
  // How many threads build pages; 0 uses one per core. The files written are the same
  // whatever the number.
  unsigned Threads = 0;
  // The most products on one page of the index.
  std::size_t IndexPageProducts = kCatalogueIndexPageProducts;
  // The address the catalogue is published under, ending in "/" (SiteAddress); empty: not
  // known, so the pages' product data has no addresses and there is no sitemap or feed.
  std::string SiteAddress{};
};

// A row that gave no page, and why.
struct SkippedRow {
  std::size_t Line = 0;
  std::string Reason;

  friend bool operator==(const SkippedRow &, const SkippedRow &) = default;
};

struct CatalogueReport {
  std::size_t Rows = 0;  // the rows read
  std::size_t PagesWritten = 0;
  std::vector<SkippedRow> Skipped;  // in the order of the lines
  std::string IndexError;           // why index.html was not written; empty when it was
  bool ExistingKept = false;        // a page, picture or the index was kept because it existed
  bool Cancelled = false;           // cancel stopped the run; the rows not reached are not in
                                    // Skipped
  // Why there is no sitemap and feed when the pages have product data (kNoSiteAddressNote);
  // empty otherwise.
  std::string SearchDataNote;
  // Why sitemap.xml or feed.xml was not written when they were to be; empty when they were.
  std::string SearchFilesError;
};

// The notes of CatalogueReport::SearchDataNote.
inline constexpr char kNoSiteAddressNote[] =
    "Without the site's address (such as https://shop.example/) the pages' product data has no "
    "addresses, and no sitemap.xml or feed.xml is written.";

// Told the number of rows done and of all rows, from one thread at a time. While the input is
// being read the number of all rows is estimated from how much of it has been read.
using CatalogueProgress = std::function<void(std::size_t done, std::size_t total)>;

// Builds every row's page from the template text (as read by ReadTemplateText) with
// BuildProductPage, wraps it with ProductPageDocument and writes it whole, then writes the index
// of the pages written. When the settings give a currency code (ProductCurrencyCode), each page's
// head carries its product data for search engines (ProductHeadTags, from the row the order
// fields are made of); with options.SiteAddress too, sitemap.xml and feed.xml list the pages
// written (CatalogueSearchFiles). A row is skipped with its reason when it cannot be read, a price
// in it does not convert, the template has no placeholder for a part of it (the item field, the
// long text, the options, the related products, the picture), a cell holds a character the page or
// its name cannot (CellCharacterError), its picture cannot be read or is no plain file holding a
// PNG, JPEG, GIF or WebP picture (CataloguePictures), or its page cannot be written. The
// description goes into the page as text. Relative picture paths are taken from inputFolder.
// Pages are named by the rows' File cells first, then after their descriptions, in row order.
//
// The rows stream: a reader thread takes them from rows, checks and names them in row order,
// threads build the pages and one thread writes them in row order, with only a few rows under
// way at a time, so memory does not grow with the number of rows. The files are the same
// whatever the number of threads. An output folder the run makes is filled out of sight and
// appears with every file whole once the run ends, cancelled or not (StagedFolder); in one that
// exists, files are written as WriteFileWhole does, after the new files that killed runs left
// behind are removed. cancel, when set, stops the run after the rows under way. Throws FileError
// when the output folder cannot be made or put in place.
CatalogueReport BuildCatalogue(std::string_view templateText, CatalogueRowReader &rows,
                               const Settings &settings, const std::filesystem::path &inputFolder,
                               const std::filesystem::path &outputFolder,
                               const CatalogueOptions &options,
                               const CatalogueProgress &progress = {},
                               const std::atomic<bool> *cancel = nullptr);

// The same for rows read already.
CatalogueReport BuildCatalogue(std::string_view templateText, const std::vector<CatalogueRow> &rows,
                               const Settings &settings, const std::filesystem::path &inputFolder,
                               const std::filesystem::path &outputFolder,
                               const CatalogueOptions &options,
                               const CatalogueProgress &progress = {},
                               const std::atomic<bool> *cancel = nullptr);

}  // namespace vendigo
