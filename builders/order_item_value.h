#pragma once

#include <string>
#include <string_view>

namespace vendigo {

// The five fields of an orderable item, in the order the cart reads them. Fields are written as
// they are: no escaping here, the caller decides what to escape before filling them in.
struct OrderItem {
  std::string Description;
  std::string Price;
  std::string Weight;
  std::string Taxable;  // "1", "0" or empty (not stated)
  std::string SmartTaxCode;

  friend bool operator==(const OrderItem &, const OrderItem &) = default;
};

// The three states of an "Item is Taxable" check box; dialogs start it Grayed.
enum class TaxState { Unchecked, Checked, Grayed };

// "0" for Unchecked, "1" for Checked, empty for Grayed.
std::string TaxableText(TaxState state);
// True for the texts a Taxable field may hold: "1", "0" and "".
bool IsTaxableText(std::string_view text);

// Item form: the five fields joined by "^", e.g. "Mug^4.50^1^^". A "^" inside a field is written
// as it is and shifts every later field.
std::string OrderItemValue(const OrderItem &item);

// Option form, the value of an entry of an "eop_" select: Description^Price^Weight.
std::string OrderItemOptionValue(const OrderItem &item);

// The five fields joined by "_": the tail of the name of a "pelluxqa_" quantity input.
std::string OrderItemUnderscoreValue(const OrderItem &item);

// The text with every double quote written as "&quot;", for texts put between the double quotes
// of an HTML attribute. Nothing else is escaped.
std::string QuoteToEntity(std::string_view text);

}  // namespace vendigo
