#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "basket/basket_line.h"
#include "basket/form_fields.h"

namespace vendigo {

// Bounds of what the test cart reads; anything larger is refused, not cut.
inline constexpr std::size_t kMaxRequestBytes = 64 * 1024;
inline constexpr std::size_t kMaxFields = 200;
inline constexpr std::size_t kMaxFieldBytes = 1024;
inline constexpr std::size_t kMaxBasketLines = 1000;

// Why a request added nothing: the field that could not be read (empty for the request as a
// whole) and the reason.
struct Refusal {
  std::string field;
  std::string reason;
};

// What one request orders: the lines to add, or the refusals when any field cannot be read
// (then nothing is added). Neither: the request only asks to see the basket.
struct Order {
  std::vector<BasketLine> lines;
  std::vector<Refusal> refusals;
};

// A price as the fragments write it: the FormatPrice text, thousands separated by "," in groups
// of three ("1,234.50"), or a price as typed ("4.5", "00.00", ".5"). nullopt when it is no price.
std::optional<double> ReadCartPrice(std::string_view text);

// ReadOrder of an encoded body or query string, refused as a whole when it is longer than
// kMaxRequestBytes or has more than kMaxFields fields.
Order ReadRequest(std::string_view encoded);

// Reads what the fragments send:
// - pelluxadd: an item, description^price^weight^taxable^tax code, in the number of pieces of
//   the quantity field (1 without one);
// - eop_<name>: the chosen option, description^price^weight, of the pelluxadd item;
// - textadd_<caption>_<price> with a value: the shopper's text for the pelluxadd item;
// - addit: an item (as pelluxadd), one piece each;
// - pelluxqa_<description>_<price>_<weight>_<taxable>_<tax code>: that item, as many pieces as
//   the value says when it is a whole number above 0;
// - the eBay form: description (the item number) and price (the amount), with eop_Shipping
//   holding the shipping charge as a bare price.
Order ReadOrder(const std::vector<FormField> &fields);

// Adds the order's lines to the basket, or gives the refusal when the basket would hold more
// than kMaxBasketLines.
std::optional<Refusal> AddToBasket(Basket &basket, const std::vector<BasketLine> &lines);

}  // namespace vendigo
