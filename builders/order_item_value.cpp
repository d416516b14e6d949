#include "builders/order_item_value.h"

#include <initializer_list>

namespace vendigo {

namespace {

std::string Join(std::initializer_list<const std::string *> fields, char separator) {
  std::string out;
  bool first = true;
  for (const std::string *field : fields) {
    if (!first) out += separator;
    out += *field;
    first = false;
  }
  return out;
}

}  // namespace

std::string TaxableText(TaxState state) {
  switch (state) {
    case TaxState::Unchecked:
      return "0";
    case TaxState::Checked:
      return "1";
    case TaxState::Grayed:
      break;
  }
  return "";
}

bool IsTaxableText(std::string_view text) {
  return text.empty() || text == "0" || text == "1";
}

std::string OrderItemValue(const OrderItem &item) {
  return Join({&item.Description, &item.Price, &item.Weight, &item.Taxable, &item.SmartTaxCode},
              '^');
}

std::string OrderItemOptionValue(const OrderItem &item) {
  return Join({&item.Description, &item.Price, &item.Weight}, '^');
}

std::string OrderItemUnderscoreValue(const OrderItem &item) {
  return Join({&item.Description, &item.Price, &item.Weight, &item.Taxable, &item.SmartTaxCode},
              '_');
}

std::string QuoteToEntity(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '"') {
      out += "&quot;";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace vendigo
