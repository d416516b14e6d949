#include "pages/catalogue_cells.h"

#include <string_view>

#include "core/text_encoding.h"

namespace vendigo {
namespace {

// Checks cells one after another and keeps the first error.
class CellCheck {
 public:
  // entry: the number of a list cell's entry, counting from 1; 0 for a cell of its own.
  void operator()(std::string_view column, const std::string &text, bool oneLine,
                  std::size_t entry = 0) {
    if (!error_.empty()) return;
    const char *fault = text.find('\0') != std::string::npos
                            ? " holds a NUL character (a zero byte)"
                        : oneLine && FindLineBreak(text) != std::string::npos
                            ? " holds a line break; it must be one line"
                            : nullptr;
    if (!fault) return;
    error_ = std::string(column);
    if (entry > 0) error_ += " entry " + std::to_string(entry);
    error_ += fault;
  }

  template <typename Row>
  void Entries(std::string_view column, const std::vector<Row> &rows,
               std::initializer_list<std::string Row::*> parts) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
      for (const auto part : parts) (*this)(column, rows[r].*part, false, r + 1);
    }
  }

  const std::string &error() const { return error_; }

 private:
  std::string error_;
};

}  // namespace

std::string CellCharacterError(const CatalogueRow &row) {
  const ProductPageInput &page = row.Page;
  CellCheck check;
  check("Description", page.Description, true);
  check("Price", page.Price, true);
  check("Weight", page.Weight, true);
  check("SmartTaxCode", page.SmartTaxCode, true);
  check("ProductImage", row.ImagePath, true);
  check("File", row.FileName, true);
  check("LongText", page.LongText, false);
  check.Entries(
      "Descriptions", page.Descriptions,
      {&DescriptionRow::CartDescription, &DescriptionRow::Price, &DescriptionRow::Weight,
       &DescriptionRow::Taxable, &DescriptionRow::SmartTax, &DescriptionRow::ReadableText});
  for (std::size_t g = 0; g < page.Options.size(); ++g) {
    const std::string group = "Option" + std::to_string(g + 1);
    check(group + "Name", page.Options[g].Name, true);
    check.Entries(
        group + "Rows", page.Options[g].Rows,
        {&OptionRow::Description, &OptionRow::Price, &OptionRow::Weight, &OptionRow::ReadableText});
  }
  check.Entries("Related", page.Related,
                {&RelatedRow::CartDescription, &RelatedRow::Price, &RelatedRow::Weight,
                 &RelatedRow::Taxable, &RelatedRow::SmartTax});
  return check.error();
}

}  // namespace vendigo
