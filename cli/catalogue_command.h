#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "pages/catalogue_row.h"

namespace vendigo::cli {

inline constexpr char kCatalogueCommand[] = "catalogue";
inline constexpr char kCatalogueSummary[] =
    "a product page per row of --input FILE (CSV, or JSON Lines when it ends in .jsonl) into "
    "--output DIR, with index.html";

struct CatalogueArguments {
  std::string templateFile;
  std::string inputFile;
  std::string outputFolder;
  bool force = false;   // replace pages, pictures and the index that exist already
  bool quiet = false;   // no progress bar and no closing count
  std::string baseUrl;  // the site's address; empty: no sitemap and feed
};

// The "catalogue" command: the rows' pages and their index written into the output folder, each
// skipped row reported on standard error as "line N: reason", a progress bar on standard error
// when it is a terminal. With a base URL, sitemap.xml and feed.xml are written too; a base URL
// that is no http or https address, or settings without a currency code, are refused before any
// file is written. Returns the exit status: 0 when every row gave a page and the index (and the
// sitemap and feed) was written, 1 otherwise, 130 when Ctrl+C stopped the run (after the pages
// under way, and with the index of the pages written). Throws InputError (status 2) when the input,
// the template or the output folder cannot be used at all.
int RunCatalogueCommand(const Settings &settings, const CatalogueArguments &arguments);

}  // namespace vendigo::cli
