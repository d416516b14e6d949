#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "core/text_lines.h"
#include "pages/catalogue_row.h"

namespace vendigo {

// The products of a catalogue spreadsheet saved as CSV: a header row naming the columns, then
// one product per row. Cells follow RFC 4180 (a cell in double quotes may hold the separator,
// line breaks and doubled quotes) and are taken as they stand. The separator is a comma, a
// semicolon or a tab, whichever the header row holds most of. Each line is UTF-8, or
// Windows-1252 when it is not valid UTF-8. Prices and weights are read by the decimal-mark
// rule of the separator (ReadSpreadsheetNumber) and kept with "." before the decimals.
//
// Columns, named in any letter case, blanks ignored; any may be left out:
//   Mode                 "single" (also when empty) or "multiple"
//   Description, Price, Weight, SmartTaxCode, LongText   the single item's texts
//   Taxable              "1", "0", "true", "false" or empty (not stated)
//   ProductImage         the picture file
//   File                 the page's file name (".html" is added when it has no ".html"/".htm")
//   Descriptions         the items of multiple mode: Cart Description | Price | Weight |
//                        Taxable | Smart Tax | Readable Text
//   Option1Name .. Option3Name, Option1Rows .. Option3Rows   the option groups: their names,
//                        and their choices: Cart Description | Price | Weight | Readable Text
//   Related              related products: Cart Description | Price | Weight | Taxable |
//                        Smart Tax
//   SKU, Brand           the product's stock keeping unit and brand, for search engines
//   Availability         "in stock" (also when empty), "out of stock" or "preorder"
//   GTIN                 8, 12, 13 or 14 digits with their check digit, or empty
// A list cell holds one entry per line (a line break inside the cell), its parts split at "|"
// with the blanks around each part dropped; blank lines are skipped and missing parts at an
// entry's end are empty.
//
// A row whose cells are all empty is skipped. A row that breaks a rule gets Error and is kept,
// so its line can be reported. Throws CatalogueInputError when there is no header row or the
// header names an unknown column or one column twice.
std::vector<CatalogueRow> ReadCatalogueCsv(std::string_view bytes);

// ReadCatalogueCsv one row at a time: a record is parsed when its row is asked for, from the
// text's lines as they are read.
class CatalogueCsvReader : public CatalogueRowReader {
 public:
  // Reads the header row; throws CatalogueInputError as ReadCatalogueCsv does. The bytes must
  // outlive the reader.
  explicit CatalogueCsvReader(std::string_view bytes);
  explicit CatalogueCsvReader(std::unique_ptr<TextLines> text);
  ~CatalogueCsvReader() override;

  bool Next(CatalogueRow &row) override;
  void Rewind() override;
  double Progress() const override;
  bool MayNameFiles() const override;
  // True when the header row names the column (as ReadCatalogueCsv compares names).
  bool HasColumn(std::string_view name) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vendigo
