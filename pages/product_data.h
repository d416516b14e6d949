#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "pages/product_page.h"

namespace vendigo {

// A product as search engines and shopping feeds are told of it, made from the same input as the
// page's order fields, so the two cannot disagree.
struct ProductOffer {
  std::string Name;  // the item's cart description
  double Price = 0;  // the price the item's order field sends
};

struct ProductFacts {
  std::string Name;         // plain text
  std::string Description;  // plain text
  std::string Sku;
  std::string Brand;
  std::string Gtin;
  Availability Stock = Availability::InStock;
  std::string CurrencyCode;  // ISO 4217
  std::string Url;           // the page's absolute address; empty: not known
  std::string ImageUrl;      // the picture's absolute address; empty: none or not known
  // One per item the page orders: the single item, or each entry of the item list, in order.
  std::vector<ProductOffer> Offers;
};

// "in stock", "out of stock" or "preorder" (letter case and blanks aside); empty is in stock.
std::optional<Availability> ReadAvailability(std::string_view text);
// Why text is no GTIN: it must be 8, 12, 13 or 14 digits ending in their check digit. Empty
// when it is one.
std::string GtinError(std::string_view text);

// The address a site's pages are published under, ending in "/": an http or https address with
// a host and no blanks, quotes or angle brackets. Sets error and returns empty otherwise.
std::string SiteAddress(std::string_view text, std::string &error);

// The facts of a product page's input. The description is text in a catalogue and HTML in the
// wizard (descriptionIsHtml); the long text is HTML; both are made plain text. The offers are the
// items whose order fields the page gets, as BuildProductPage makes them.
ProductFacts ProductFactsOf(const ProductPageInput &input, const Settings &settings,
                            bool descriptionIsHtml);

// The text of HTML: tags left out, the common entities read, runs of white space one blank.
std::string PlainText(std::string_view html);

// <script type="application/ld+json"> with a schema.org Product: name, description, image, sku,
// brand, gtin, and an Offer per item (price as a number, priceCurrency, availability, url), every
// "<" written \u003c so no text can end the script element.
std::string ProductDataScript(const ProductFacts &facts);

// What a page's head gets: ProductDataScript, the Open Graph properties and, when the address
// is known, the canonical link; one element a line, lines ending in CR LF.
std::string ProductHeadTags(const ProductFacts &facts);

// A price as a feed states it: two decimals, or as many as the order sends when it sends more,
// then a blank and the currency code ("4.50 EUR").
std::string FeedPrice(double price, std::string_view currencyCode);

// The availability as schema.org names it ("https://schema.org/InStock") and as a shopping feed
// does ("in_stock").
std::string_view SchemaAvailability(Availability stock);
std::string_view FeedAvailability(Availability stock);

}  // namespace vendigo
