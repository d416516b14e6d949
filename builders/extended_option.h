#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vendigo {

// One data row of the extended option grid: a choice of a product option.
struct OptionRow {
  std::string Description;
  std::string Price;
  std::string Weight;
  std::string ReadableText;  // what the shopper sees for this choice

  friend bool operator==(const OptionRow &, const OptionRow &) = default;
};

// What the extended option builder builds from: the list's name and the grid's rows.
struct ExtendedOption {
  std::string name;
  std::vector<OptionRow> rows;

  friend bool operator==(const ExtendedOption &, const ExtendedOption &) = default;
};

// The option grid's columns, in order.
enum OptionColumn { kOptionDescription = 0, kOptionPrice, kOptionWeight, kOptionReadableText };

// The drop-down list "eop_" + name whose option values are Description^Price^Weight. rows[0]
// is grid row 1 and only its option is preselected; rows with an empty Description are skipped.
// The name before the list and the Readable Texts are written as typed; every double quote that
// would land inside an attribute (the list's name, the cells of a value) is written as "&quot;".
std::string BuildExtendedOptionHtml(const std::string &name, const std::vector<OptionRow> &rows);

// The cell rules after the text of a cell in column changed: the default fill after the
// Description, the number checks of Price and Weight; nothing for the Readable Text.
void ApplyOptionCellRules(OptionRow &row, int column);

// Before the Readable Text cell of row becomes current: a Price that is no number text becomes
// "00.00"; an empty Readable Text of a described row is filled from the Description, with
// " --Add " and the price as typed after the currency sign when the price is above zero.
// Returns the error message when the price does not convert; the move must then not happen.
std::optional<std::string> SelectReadableTextCell(OptionRow &row, std::string_view currency);

// The text the editor of an empty Readable Text cell starts with when it opens: the Description
// when the row is described and its price converts to zero; nullopt keeps the cell's own text.
std::optional<std::string> ReadableTextEditorStart(const OptionRow &row);

// "'<text>' is not a valid floating point value.", the error of a failed number conversion.
std::string FloatConversionErrorMessage(std::string_view text);

}  // namespace vendigo
