#pragma once

#include <string>

#include "core/settings.h"

namespace vendigo {

// The five fragments that palette buttons insert at once. Each is plain concatenation of
// literals and settings values: nothing is escaped and no line breaks are added.

// The form that every product interface lives in, posting to the cart program.
std::string FormContainerHtml(const Settings &settings);
// A three-digit quantity input that starts at 1.
std::string QuantityBoxHtml();
// A link to the shopper's cart.
std::string ViewCartLinkHtml(const Settings &settings);
// The order button; empty when there is no order button.
std::string BuyButtonHtml(const Settings &settings);
// A form in which an auction winner enters item number, amount and shipping; empty when there
// is no order button.
std::string EbayFormHtml(const Settings &settings);

}  // namespace vendigo
