#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "builders/order_item_value.h"
#include "core/settings.h"

namespace vendigo {

inline constexpr char kDefaultLinkCaption[] = "BUY!";
inline constexpr char kDefaultStatusText[] =
    "Clicking this link will add this item to your shopping cart.";

// The status bar texts the dialog offers, in order.
const std::vector<std::string> &StatusTextChoices();

// What a quick link is built from: the item, the caption of the link, the text the browser's
// status bar shows over the link, and the two options.
struct QuickLink {
  OrderItem item;
  std::string linkCaption = kDefaultLinkCaption;
  std::string statusText = kDefaultStatusText;
  bool insertProductInfo = false;  // name and price in front of the link
  bool brackets = false;           // the link between "[" and "]"

  friend bool operator==(const QuickLink &, const QuickLink &) = default;
};

// The price text does not convert to a number while the product info wants it. what() is the
// message the user sees: Currency conversion error "<price>".
class CurrencyConversionError : public std::runtime_error {
 public:
  explicit CurrencyConversionError(const std::string &price);
};

// One anchor pointing at the cart program (CGI_BIN as stored) with the item value in the query
// parameter pelluxadd, each field URL-encoded and the carets plain. Backslashes, apostrophes, CR
// and LF in the status text are written as \\, \', \r and \n for the script, then double quotes
// as "&quot;" for the attribute. The caption and the product info's description are written as
// typed. Throws CurrencyConversionError when the product info is wanted and the price does not
// convert.
std::string QuickLinkHtml(const Settings &settings, const QuickLink &link);

}  // namespace vendigo
