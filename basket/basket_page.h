#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "basket/basket_line.h"
#include "basket/order_reader.h"

namespace vendigo {

// Where the basket page's buttons send the shopper.
inline constexpr char kRemoveLinePath[] = "/basket/remove";  // field "line": the line's index
inline constexpr char kEmptyBasketPath[] = "/basket/empty";

// The basket as a page: the refusals of the last request (when it was refused), one row per line
// (description, options, texts, unit price, quantity, weight, taxable, tax code, line total, a
// Remove button), the totals in the currency, Empty Basket, and a way back to backUrl (the
// browser's previous page when empty).
std::string BasketPageHtml(const Basket &basket, std::string_view currency,
                           const std::vector<Refusal> &refusals, std::string_view backUrl);

// The same as JSON: prices as text with two decimals, weights and quantities as numbers.
std::string BasketJson(const Basket &basket, std::string_view currency,
                       const std::vector<Refusal> &refusals);

}  // namespace vendigo
