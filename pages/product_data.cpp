#include "pages/product_data.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "builders/price_rules.h"
#include "core/html_escape.h"
#include "core/text_encoding.h"

namespace vendigo {
namespace {

std::string Utf8Encode(unsigned long code) {
  std::string out;
  AppendUtf8(out, static_cast<char32_t>(code));
  return out;
}

// The price as a number text: two decimals, or as many as the order sends when it sends more.
std::string PriceText(double price) {
  char two[64];
  std::snprintf(two, sizeof two, "%.2f", price);
  return ConvertPrice(two) == price ? two : nlohmann::json(price).dump();
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// The character an entity at the start of text stands for, and the entity's length; nullopt
// when text starts with no entity this reader knows.
std::optional<std::pair<std::string, std::size_t>> Entity(std::string_view text) {
  static constexpr std::pair<std::string_view, std::string_view> kNamed[] = {
      {"&amp;", "&"},   {"&lt;", "<"},   {"&gt;", ">"},
      {"&quot;", "\""}, {"&apos;", "'"}, {"&nbsp;", " "}};
  for (const auto &[entity, character] : kNamed) {
    if (text.starts_with(entity)) return std::pair{std::string(character), entity.size()};
  }
  if (!text.starts_with("&#")) return std::nullopt;
  const bool hex = text.size() > 2 && (text[2] == 'x' || text[2] == 'X');
  const std::size_t digits = hex ? 3 : 2;
  const std::size_t end = text.find(';');
  if (end == std::string_view::npos || end == digits || end > digits + 8) return std::nullopt;
  const std::string number(text.substr(digits, end - digits));
  char *stop = nullptr;
  const unsigned long code = std::strtoul(number.c_str(), &stop, hex ? 16 : 10);
  if (*stop != '\0' || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    return std::nullopt;
  }
  return std::pair{Utf8Encode(code), end + 1};
}

nlohmann::json Offer(const ProductFacts &facts, const ProductOffer &offer, bool named) {
  nlohmann::json json = {{"@type", "Offer"}};
  if (named) json["name"] = offer.Name;
  json["price"] = offer.Price;
  json["priceCurrency"] = facts.CurrencyCode;
  json["availability"] = SchemaAvailability(facts.Stock);
  if (!facts.Url.empty()) json["url"] = facts.Url;
  return json;
}

std::string MetaProperty(std::string_view property, std::string_view content) {
  return "<meta property=\"" + std::string(property) + "\" content=\"" + EscapeHtmlText(content) +
         "\">\r\n";
}

}  // namespace

std::optional<Availability> ReadAvailability(std::string_view text) {
  std::string key;
  for (const char c : text) {
    if (!IsSpace(c) && c != '_' && c != '-') key += AsciiLower(c);
  }
  if (key.empty() || key == "instock") return Availability::InStock;
  if (key == "outofstock") return Availability::OutOfStock;
  if (key == "preorder") return Availability::PreOrder;
  return std::nullopt;
}

std::string GtinError(std::string_view text) {
  const std::string quoted = "GTIN \"" + std::string(text) + "\"";
  for (const char c : text) {
    if (!IsAsciiDigit(c)) return quoted + " must be digits only";
  }
  if (text.size() != 8 && text.size() != 12 && text.size() != 13 && text.size() != 14) {
    return quoted + " must have 8, 12, 13 or 14 digits";
  }
  // From the right, the digits before the check digit weigh 3, 1, 3, ...
  int sum = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const int weight = (text.size() - 1 - i) % 2 == 1 ? 3 : 1;
    sum += weight * (text[i] - '0');
  }
  const int check = (10 - sum % 10) % 10;
  if (text.back() - '0' != check) {
    return quoted + " has the check digit " + text.back() + "; its digits make " +
           std::to_string(check);
  }
  return "";
}

std::string SiteAddress(std::string_view text, std::string &error) {
  std::string lower;
  for (const char c : text) lower += AsciiLower(c);
  const std::size_t scheme = lower.starts_with("https://")  ? 8
                             : lower.starts_with("http://") ? 7
                                                            : 0;
  const std::size_t hostEnd = text.find('/', scheme);
  const bool blanks = text.find_first_of(" \t\r\n\"'<>\\") != std::string_view::npos;
  if (scheme == 0 || blanks ||
      (hostEnd == std::string_view::npos ? text.size() : hostEnd) == scheme ||
      text.find_first_of("?#") != std::string_view::npos) {
    error = "the site's address \"" + std::string(text) +
            "\" must be an http or https address such as https://shop.example/ (with no blanks, "
            "quotes, query or fragment)";
    return "";
  }
  std::string address(text);
  if (!address.ends_with('/')) address += '/';
  return address;
}

std::string PlainText(std::string_view html) {
  std::string text;
  bool blank = false;
  for (std::size_t i = 0; i < html.size();) {
    const char c = html[i];
    if (c == '<' && i + 1 < html.size() &&
        (std::isalpha(static_cast<unsigned char>(html[i + 1])) || html[i + 1] == '/' ||
         html[i + 1] == '!')) {
      const std::size_t end = html.find('>', i);
      // Text-level tags join words; any other tag parts them.
      std::string name;
      for (std::size_t n = i + 1 + (html[i + 1] == '/');
           n < html.size() && std::isalnum(static_cast<unsigned char>(html[n])); ++n) {
        name += AsciiLower(html[n]);
      }
      static constexpr std::string_view kInline[] = {"a",      "b",    "i",     "u",    "em",
                                                     "strong", "span", "small", "font", "sup",
                                                     "sub",    "s",    "mark",  "code"};
      if (std::find(std::begin(kInline), std::end(kInline), name) == std::end(kInline)) {
        blank = true;
      }
      i = end == std::string_view::npos ? html.size() : end + 1;
      continue;
    }
    std::string piece(1, c);
    std::size_t length = 1;
    if (c == '&') {
      if (const auto entity = Entity(html.substr(i))) {
        piece = entity->first;
        length = entity->second;
      }
    }
    i += length;
    if (piece.size() == 1 && IsSpace(piece[0])) {
      blank = true;
      continue;
    }
    if (blank && !text.empty()) text += ' ';
    blank = false;
    text += piece;
  }
  return text;
}

ProductFacts ProductFactsOf(const ProductPageInput &input, const Settings &settings,
                            bool descriptionIsHtml) {
  ProductFacts facts;
  const auto plain = [descriptionIsHtml](const std::string &text) {
    return descriptionIsHtml ? PlainText(text) : text;
  };
  facts.Sku = input.Sku;
  facts.Brand = input.Brand;
  facts.Gtin = input.Gtin;
  facts.Stock = input.Stock;
  if (input.Mode == DescriptionMode::Single) {
    facts.Name = plain(input.Description);
    if (const std::optional<double> price = ConvertPrice(input.Price)) {
      facts.Offers.push_back({facts.Name, *price});
    }
  } else {
    // The rows the item list offers (GetPelluxAddSelect), with the prices they send.
    const bool readableColumn = settings.PelluxGeneration == 4;
    for (std::size_t r = 0; r < input.Descriptions.size() && r < kDescriptionRows; ++r) {
      const DescriptionRow &row = input.Descriptions[r];
      const std::optional<double> price = ConvertPrice(row.Price);
      if (row.CartDescription.empty() || !price || (readableColumn && row.ReadableText.empty())) {
        continue;
      }
      facts.Offers.push_back({row.CartDescription, *price});
    }
    facts.Name = plain(input.Description);
    if (facts.Name.empty() && !facts.Offers.empty()) facts.Name = facts.Offers.front().Name;
  }
  facts.Description = PlainText(input.LongText);
  if (facts.Description.empty()) facts.Description = facts.Name;
  return facts;
}

std::string ProductDataScript(const ProductFacts &facts) {
  nlohmann::json product = {
      {"@context", "https://schema.org"}, {"@type", "Product"}, {"name", facts.Name}};
  if (!facts.Description.empty()) product["description"] = facts.Description;
  if (!facts.ImageUrl.empty()) product["image"] = facts.ImageUrl;
  if (!facts.Url.empty()) product["url"] = facts.Url;
  if (!facts.Sku.empty()) product["sku"] = facts.Sku;
  if (!facts.Gtin.empty()) product["gtin"] = facts.Gtin;
  if (!facts.Brand.empty()) product["brand"] = {{"@type", "Brand"}, {"name", facts.Brand}};
  if (facts.Offers.size() == 1) {
    product["offers"] = Offer(facts, facts.Offers.front(), false);
  } else if (!facts.Offers.empty()) {
    nlohmann::json offers = nlohmann::json::array();
    for (const ProductOffer &offer : facts.Offers) offers.push_back(Offer(facts, offer, true));
    product["offers"] = std::move(offers);
  }
  const std::string json = product.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  std::string script = "<script type=\"application/ld+json\">";
  for (const char c : json) {
    if (c == '<') {
      script += "\\u003c";
    } else {
      script += c;
    }
  }
  return script + "</script>";
}

std::string ProductHeadTags(const ProductFacts &facts) {
  std::string tags = ProductDataScript(facts) + "\r\n";
  if (!facts.Url.empty())
    tags += "<link rel=\"canonical\" href=\"" + EscapeHtmlText(facts.Url) + "\">\r\n";
  tags += MetaProperty("og:type", "product");
  tags += MetaProperty("og:title", facts.Name);
  if (!facts.Description.empty()) tags += MetaProperty("og:description", facts.Description);
  if (!facts.Url.empty()) tags += MetaProperty("og:url", facts.Url);
  if (!facts.ImageUrl.empty()) tags += MetaProperty("og:image", facts.ImageUrl);
  if (facts.Offers.size() == 1) {
    tags += MetaProperty("product:price:amount", PriceText(facts.Offers.front().Price));
    tags += MetaProperty("product:price:currency", facts.CurrencyCode);
  }
  return tags;
}

std::string FeedPrice(double price, std::string_view currencyCode) {
  return PriceText(price) + " " + std::string(currencyCode);
}

std::string_view SchemaAvailability(Availability stock) {
  switch (stock) {
    case Availability::OutOfStock:
      return "https://schema.org/OutOfStock";
    case Availability::PreOrder:
      return "https://schema.org/PreOrder";
    case Availability::InStock:
      break;
  }
  return "https://schema.org/InStock";
}

std::string_view FeedAvailability(Availability stock) {
  switch (stock) {
    case Availability::OutOfStock:
      return "out_of_stock";
    case Availability::PreOrder:
      return "preorder";
    case Availability::InStock:
      break;
  }
  return "in_stock";
}

}  // namespace vendigo
