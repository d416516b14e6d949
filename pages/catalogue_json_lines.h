#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "core/text_lines.h"
#include "pages/catalogue_row.h"

namespace vendigo {

// True when the file's name ends in ".jsonl", in any letter case: a catalogue in JSON Lines.
bool IsJsonLinesFile(const std::filesystem::path &file);

// One line of a JSON Lines catalogue into row: the "page" command's input object
// (ReadProductPageInput), which may also hold "File", the page's file name; its "ProductImage"
// becomes the row's ImagePath. A line that is no such object gives the row its Error.
void ReadCatalogueJsonLine(const std::string &line, CatalogueRow &row);

// The products of a JSON Lines text, one at a time as its lines are read: a row per line that
// is not blank, read by ReadCatalogueJsonLine.
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

}  // namespace vendigo
