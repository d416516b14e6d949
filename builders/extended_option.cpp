#include "builders/extended_option.h"

#include "builders/order_item_value.h"
#include "builders/price_rules.h"

namespace vendigo {

std::string BuildExtendedOptionHtml(const std::string &name, const std::vector<OptionRow> &rows) {
  std::string out = name + ": <SELECT NAME=\"eop_" + QuoteToEntity(name) + "\">\r\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const OptionRow &row = rows[i];
    if (row.Description.empty()) continue;
    const OrderItem item{QuoteToEntity(row.Description), QuoteToEntity(row.Price),
                         QuoteToEntity(row.Weight), "", ""};
    out += "<OPTION VALUE=\"" + OrderItemOptionValue(item) + "\"";
    if (i == 0) out += " SELECTED";
    out += ">" + row.ReadableText + "\r\n";
  }
  out += "</SELECT>";
  return out;
}

void ApplyOptionCellRules(OptionRow &row, int column) {
  switch (column) {
    case kOptionDescription:
      ApplyDefaultRowFill(row.Description, row.Price, row.Weight);
      break;
    case kOptionPrice:
      row.Price = CheckedNumberCell(row.Price, true);
      break;
    case kOptionWeight:
      row.Weight = CheckedNumberCell(row.Weight, false);
      break;
    default:
      break;
  }
}

std::optional<std::string> SelectReadableTextCell(OptionRow &row, std::string_view currency) {
  row.Price = CheckedNumberCell(row.Price, true);
  if (!row.ReadableText.empty() || row.Description.empty()) return std::nullopt;
  const std::optional<double> price = ConvertPrice(row.Price);
  if (!price) return FloatConversionErrorMessage(row.Price);
  if (*price > 0) {
    row.ReadableText = row.Description + " --Add " + PriceDisplay(currency, row.Price);
  } else {
    row.ReadableText = row.Description;
  }
  return std::nullopt;
}

std::optional<std::string> ReadableTextEditorStart(const OptionRow &row) {
  if (!row.ReadableText.empty() || row.Description.empty()) return std::nullopt;
  const std::optional<double> price = ConvertPrice(row.Price);
  if (price && !(*price > 0)) return row.Description;
  return std::nullopt;
}

std::string FloatConversionErrorMessage(std::string_view text) {
  std::string message = "'";
  message.append(text);
  message += "' is not a valid floating point value.";
  return message;
}

}  // namespace vendigo
