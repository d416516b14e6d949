#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/settings.h"
#include "html/html_document.h"

namespace vendigo {

// A price spreadsheet that cannot be used: no header, a missing column, a bad row. The message
// names the line.
class PriceListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One product's new price, and new weight when the spreadsheet gives one.
struct PriceRow {
  std::string description;  // blanks around it dropped
  std::string price;        // "." before the decimals, no group marks
  std::string weight;       // empty: the weight stays
  std::size_t line = 0;     // where the row begins in the spreadsheet
};

// The rows of a price spreadsheet, found by description.
struct PriceList {
  std::vector<PriceRow> rows;
  std::unordered_map<std::string, std::size_t> byDescription;

  // The row for a description (blanks around it are dropped); nullptr when there is none.
  const PriceRow *Find(std::string_view description) const;
};

// Reads a spreadsheet saved as CSV by the catalogue's rules (pages/catalogue_csv.h): the columns
// Description and Price, Weight when wanted. A row without a description is skipped. Throws
// PriceListError for a missing column, a row that breaks a rule, and a description priced twice.
PriceList ReadPriceList(std::string_view bytes);

// One price (or weight) changed in a fragment.
struct PriceChange {
  std::string file;
  int line = 0;  // the line of the description in the fragment
  std::string description;
  std::string oldPrice;
  std::string newPrice;
  std::string oldWeight;
  std::string newWeight;     // equal to oldWeight when the weight stays
  std::string kind;          // the vendigo-html command that builds the fragment
  std::string kindName;      // the same in words: "quick link", "addit checkbox table"
  std::size_t fragment = 0;  // the fragment's start offset in the file
  std::size_t row = 0;       // the row of a table or list; 0 for a single item
};

// "shop/mug.html:12: Mug: 4.50 → 4.90 (quick link)", with ", weight 1 → 2" after the prices when
// the weight changes.
std::string FormatPriceChange(const PriceChange &change);

// A place the page still shows an old price beside a description, outside every fragment, or a
// fragment that could not be rebuilt: for the merchant to look at.
struct HandCheck {
  std::string file;
  int line = 0;
  std::string description;
  std::string text;  // the price as it stands, or why the fragment was not rebuilt
};

// "shop/index.html:30: Mug: 4.50 not changed: check by hand".
std::string FormatHandCheck(const HandCheck &check);

// A fragment's bytes and what they become, in the file's own encoding.
struct FragmentReplacement {
  SourcePlace start;
  SourcePlace end;  // just past its last byte
  std::string oldBytes;
  std::string newBytes;
};

// What repricing does to one page.
struct PageReprice {
  std::vector<PriceChange> changes;
  std::vector<FragmentReplacement> replacements;  // in file order, never overlapping
  std::vector<HandCheck> handChecks;
  std::vector<std::size_t> matchedRows;  // the spreadsheet rows some fragment of the page names
  std::string newBytes;                  // the whole page afterwards
  bool windows1252 = false;              // the page is written in Windows-1252
};

// Decides for each change found whether it is made; every change is made without one.
using AcceptChange = std::function<bool(const PriceChange &)>;

// Reprices one page given as the bytes of its file: each fragment that names a description of
// the list gets the new price (and weight), is built again by its own command with the settings
// it was built with, and takes the place of exactly its old bytes. Everything else stays byte
// for byte, in the page's own encoding.
PageReprice RepricePage(const std::string &file, std::string_view bytes, const PriceList &prices,
                        const Settings &settings, const AcceptChange &accept = {});

struct SiteRepriceOptions {
  bool write = true;  // false: nothing is written (a dry run, or changes to look at first)
  AcceptChange accept;
  // Pages whose bytes are given rather than read (documents open in an editor), by path as the
  // site lists it; they are never written.
  std::map<std::string, std::string> givenBytes;
};

// One page of a site as repriced.
struct SitePage {
  std::string file;
  PageReprice reprice;
  std::string error;  // why it could not be read or written; empty when all went well
  bool written = false;
};

struct SiteReprice {
  std::vector<SitePage> pages;      // every page, in file order
  std::vector<PriceRow> unmatched;  // the spreadsheet's rows that no fragment names
  std::size_t changes = 0;
  std::size_t changedPages = 0;
  std::size_t failedPages = 0;  // could not be read or written
  bool stopped = false;
};

// Reprices files, and folders read recursively for .html and .htm, on every core. A page is
// replaced whole (ReplaceFileContents, in a FileReplacementBatch) only when it changes; a page that
// cannot be read or written is reported and the others are done. progress(done, total) is called
// from the calling thread; returning false stops the run.
SiteReprice RepriceSite(
    const std::vector<std::string> &paths, const PriceList &prices, const Settings &settings,
    const SiteRepriceOptions &options = {},
    const std::function<bool(std::size_t done, std::size_t total)> &progress = {});

}  // namespace vendigo
