#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "core/text_lines.h"
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
  bool force = false;  // replace pages, pictures and the index that exist already
  bool quiet = false;  // no progress bar and no closing count
};

// The products of a JSON Lines file: one "page" command input object per line, which may also
// hold "File", the page's file name. Blank lines are skipped; a line that is no such object
// becomes a row with its Error.
std::vector<CatalogueRow> ReadCatalogueJsonLines(std::string_view bytes);

// ReadCatalogueJsonLines one line at a time, from the text's lines as they are read.
class CatalogueJsonLinesReader : public CatalogueRowReader {
 public:
  explicit CatalogueJsonLinesReader(std::unique_ptr<TextLines> text);

  bool Next(CatalogueRow &row) override;
  void Rewind() override;
  double Progress() const override;

 private:
  std::unique_ptr<TextLines> text_;
  std::size_t line_ = 0;  // the number of the line read last
};

// The "catalogue" command: the rows' pages and their index written into the output folder, each
// skipped row reported on standard error as "line N: reason", a progress bar on standard error
// when it is a terminal. Returns the exit status: 0 when every row gave a page and the index was
// written, 1 otherwise, 130 when Ctrl+C stopped the run (after the pages under way, and with the
// index of the pages written). Throws InputError (status 2) when the input, the template or the
// output folder cannot be used at all.
int RunCatalogueCommand(const Settings &settings, const CatalogueArguments &arguments);

}  // namespace vendigo::cli
