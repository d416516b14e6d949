#pragma once

#include <string>
#include <vector>

#include "check/page_orders.h"
#include "check/site_check.h"
#include "core/settings.h"
#include "html/html_document.h"

namespace vendigo {

// An item a page can send (a pelluxadd, addit or pelluxqa_ value), for the rule across pages.
struct OfferedItem {
  std::string description;
  std::string priceText;  // as the page writes it
  double price = 0;
  CheckFinding place;  // file and place only
  std::string field;   // the field that sends it: pelluxadd, addit or pelluxqa_...
};

// What the rules about orders find in one page, and the items it offers.
struct OrderCheck {
  std::vector<CheckFinding> findings;
  std::vector<OfferedItem> items;
};

// The rules about the orders of one page:
// - field-outside-form (error): an order field no form sends;
// - form-not-sendable (error): a form with order fields and no way to send it;
// - cart-address-placeholder (error): the address is still the settings' prompt;
// - test-cart-address (error): the address is the test cart on this machine;
// - cart-address-differs (warning): the address is not the settings' CGI_BIN;
// - price-not-number, empty-description, quantity-not-number (errors): a value the page writes
//   that the cart cannot read, whether or not the page as it stands sends it;
// - cart-refusal (error): any other reason the cart refuses an order the page sends;
// - price-differs (error): the price shown beside a product differs from the price it sends.
OrderCheck CheckOrders(const std::string &path, const HtmlDocument &document,
                       const PageOrders &orders, const Settings &settings);

// description-prices-differ (warning): one finding at each place where a description is sent
// at a price that another place sends it at another price, naming those places.
std::vector<CheckFinding> CheckSamePrices(const std::vector<OfferedItem> &items);

}  // namespace vendigo
