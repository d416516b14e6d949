#include "builders/addit_table.h"

#include <optional>

#include "builders/order_item_value.h"
#include "builders/price_rules.h"
#include "builders/product_interface.h"

namespace vendigo {

namespace {

// The fields of a taken row as they are written, the price formatted.
OrderItem WrittenFields(const AddItRow &row, double price) {
  return {QuoteToEntity(row.Description), FormatPrice(price), QuoteToEntity(row.Weight),
          QuoteToEntity(row.Taxable), QuoteToEntity(row.SmartTax)};
}

std::string PriceCell(const std::string &currency, const std::string &price) {
  return "</TD><TD ALIGN=\"RIGHT\"><FONT COLOR=\"#FF0000\">" + PriceDisplay(currency, price) +
         "</FONT></TD></TR>\r\n";
}

std::string TableRow(AddItMode mode, const OrderItem &item, const std::string &currency) {
  std::string out = "<TR><TD align=\"center\"><INPUT TYPE=\"";
  switch (mode) {
    case AddItMode::QuantityTable:
      out += "TEXT\" SIZE=\"3\" MAXLENGTH=\"3\" NAME=\"pelluxqa_" + OrderItemUnderscoreValue(item) +
             "\" VALUE=\"0\">";
      break;
    case AddItMode::RadioTable:
      out += "radio\" NAME=\"addit\" VALUE=\"" + OrderItemValue(item) + "\">";
      break;
    default:
      out += "checkbox\" NAME=\"addit\" VALUE=\"" + OrderItemValue(item) + "\">";
      break;
  }
  return out + "</TD><TD>" + item.Description + PriceCell(currency, item.Price);
}

}  // namespace

bool IsAddItTable(AddItMode mode) {
  return mode != AddItMode::SelectList;
}

std::string BuildAddItHtml(AddItMode mode, const std::vector<AddItRow> &rows,
                           const std::string &currency) {
  const bool table = IsAddItTable(mode);
  std::string out = table ? "<CENTER><DIV ALIGN=\"center\"><TABLE WIDTH=\"400\" CELLPADDING=\"3\" "
                            "CELLSPACING=\"1\" BORDER=\"1\"><TR><TH>Buy</TH><TH>Description</"
                            "TH><TH>Price</TH></TR>"
                          : "<SELECT NAME=\"addit\">\r\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const AddItRow &row = rows[i];
    if (row.Description.empty()) continue;
    if (table && !IsNumberText(row.Weight, true)) continue;
    const std::optional<double> price = ConvertPrice(row.Price);
    if (!price) continue;
    const OrderItem item = WrittenFields(row, *price);
    if (table) {
      out += TableRow(mode, item, currency);
    } else {
      out += "<OPTION VALUE=\"" + OrderItemValue(item) + "\"";
      if (i == 0) out += " SELECTED";
      out += ">" + item.Description + " -- " + PriceDisplay(currency, item.Price) + "\r\n";
    }
  }
  out += table ? "</TABLE></DIV></CENTER>" : "</SELECT>";
  return out;
}

std::string BuildAddItFragment(AddItMode mode, const std::vector<AddItRow> &rows,
                               const Settings &settings, bool wholeInterface,
                               const std::vector<std::string> &templateLines) {
  std::string html = BuildAddItHtml(mode, rows, settings.Currency);
  if (IsAddItTable(mode) && wholeInterface) {
    html = WrapInProductInterface(html, templateLines, settings);
  }
  return html + kAddItClosing;
}

void ApplyAddItCellRules(AddItRow &row, int column) {
  switch (column) {
    case kAddItDescription:
      ApplyDefaultRowFill(row.Description, row.Price, row.Weight);
      break;
    case kAddItPrice:
      row.Price = CheckedNumberCell(row.Price, true);
      break;
    case kAddItWeight:
      row.Weight = CheckedNumberCell(row.Weight, false);
      break;
    case kAddItTaxable:
      if (!IsTaxableText(row.Taxable)) row.Taxable.clear();
      break;
    default:
      break;
  }
}

}  // namespace vendigo
