#pragma once

#include <string>
#include <vector>

#include "check/order_rules.h"
#include "check/page_orders.h"
#include "check/site_check.h"
#include "core/settings.h"
#include "html/html_document.h"

namespace vendigo {

// The rules about what a page tells search engines of its product (schema.org Product in
// <script type="application/ld+json">, the Open Graph product:price:amount and
// product:price:currency tags) against what its order fields send:
//   product-data-price-differs (warning) an offer's price that no item of the product sends
//                              (an offer named by a description is held against the items of
//                              that description), a currency other than the settings' currency
//                              code, out of stock while an order button or cart link is enabled,
//                              or orderable while neither is (Enter in a text field is not seen);
//                              at the value in the script or the tag's content
//   product-data-invalid       (warning) an ld+json script that is no valid JSON, at the script
//   product-data-missing       (warning) a catalogue page (the catalogue's "All products" link
//                              to index.html above a product's order fields) without product
//                              data while the settings give a currency code, at its head
// items are those CheckOrders found in the page; the product's own are its pelluxadd and
// pelluxqa_ items (related products' addit items are not), or every item when it has none.
void AddProductDataFindings(const std::string &path, const HtmlDocument &document,
                            const PageOrders &orders, const std::vector<OfferedItem> &items,
                            const Settings &settings, std::vector<CheckFinding> &findings);

}  // namespace vendigo
