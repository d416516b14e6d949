#pragma once

#include <string>
#include <vector>

#include "core/settings.h"

namespace vendigo {

// One data row of the addit grid. Taxable and SmartTax are empty for carts of generations
// other than 4, whose grid has no such columns.
struct AddItRow {
  std::string Description;
  std::string Price;
  std::string Weight;
  std::string Taxable;  // "", "0" or "1"
  std::string SmartTax;

  friend bool operator==(const AddItRow &, const AddItRow &) = default;
};

// The addit grid's columns, in order; the last two exist for generation 4 only.
enum AddItColumn {
  kAddItDescription = 0,
  kAddItPrice,
  kAddItWeight,
  kAddItTaxable,
  kAddItSmartTax
};

// The output chosen with the dialog's radio buttons.
enum class AddItMode { CheckboxTable, RadioTable, SelectList, QuantityTable };

inline constexpr char kProductInterfaceQuestion[] =
    "Would you like to insert this information as an entire product interface including a form "
    "container and order button?\r\rChoose Yes to create the entire product interface including "
    "the form container and order button.\r\rChoose No if you have already created a form "
    "container.";

// The paragraph that closes every addit fragment.
inline constexpr char kAddItClosing[] = "<P> &nbsp;</P>";

// What the addit builder builds from: the mode, the grid's rows and the answer to
// kProductInterfaceQuestion (wholeInterface; asked for the tables only).
struct AddItTable {
  AddItMode mode = AddItMode::CheckboxTable;
  std::vector<AddItRow> rows;
  bool wholeInterface = false;

  friend bool operator==(const AddItTable &, const AddItTable &) = default;
};

// The three tables offer to become a whole product interface; the select list does not.
bool IsAddItTable(AddItMode mode);

// The list or table for the rows (rows[0] is grid row 1), with currency the sign shown before
// each price. A row is taken when its Description is not empty, its price converts and, for the
// tables, its Weight passes the number check with points allowed. Prices are written with
// FormatPrice. Every double quote of a field that lands in an attribute is written "&quot;";
// the Description is written so in the shown text too.
std::string BuildAddItHtml(AddItMode mode, const std::vector<AddItRow> &rows,
                           const std::string &currency);

// The whole fragment of the dialog's OK: the list or table, wrapped into the product interface
// made from templateLines when the mode is a table and wholeInterface is true (the answer to the
// question), then the closing paragraph.
std::string BuildAddItFragment(AddItMode mode, const std::vector<AddItRow> &rows,
                               const Settings &settings, bool wholeInterface,
                               const std::vector<std::string> &templateLines);

// The cell rules after the text of a cell in column changed: the default fill after the
// Description, the number checks of Price and Weight, and Taxable kept to "", "0" or "1".
void ApplyAddItCellRules(AddItRow &row, int column);

}  // namespace vendigo
