#include "check/product_data_rules.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "basket/order_reader.h"
#include "check/finding_at.h"
#include "core/currency_code.h"
#include "core/text_encoding.h"

namespace vendigo {
namespace {

using Json = nlohmann::json;

constexpr std::size_t kNoNode = HtmlNode::kNoNode;
constexpr std::size_t kMaxItemsNamed = 3;

bool IsJsonBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (IsJsonBlank(text.front()) || text.front() == '\f')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (IsJsonBlank(text.back()) || text.back() == '\f')) text.remove_suffix(1);
  return text;
}

// The end of the string token of valid JSON starting at its quote.
std::size_t StringEnd(std::string_view json, std::size_t quote) {
  std::size_t at = quote + 1;
  while (at < json.size() && json[at] != '"') at += json[at] == '\\' ? 2 : 1;
  return std::min(at + 1, json.size());
}

// The end of a number or literal of valid JSON.
std::size_t ScalarEnd(std::string_view json, std::size_t start) {
  if (json[start] == '"') return StringEnd(json, start);
  std::size_t at = start;
  while (at < json.size() && !IsJsonBlank(json[at]) && json[at] != ',' && json[at] != ']' &&
         json[at] != '}') {
    ++at;
  }
  return at;
}

// A key as a step of a path ("/offers/0/price"), "~" and "/" escaped as JSON pointers do.
std::string PathStep(std::string_view key) {
  std::string step = "/";
  for (const char c : key) {
    if (c == '~') {
      step += "~0";
    } else if (c == '/') {
      step += "~1";
    } else {
      step += c;
    }
  }
  return step;
}

// Where the wanted values of a valid JSON text begin, by their paths; of a key written twice,
// the last, as the parsed value keeps it. Walked without recursion, so no nesting exhausts the
// stack, and only the wanted paths are kept, so deep nesting takes no more memory.
std::map<std::string, std::size_t> ValuePlaces(std::string_view json,
                                               const std::set<std::string> &wanted) {
  struct Container {
    bool object;
    std::size_t count;
    std::size_t pathSize;
  };
  std::map<std::string, std::size_t> places;
  std::vector<Container> open;
  std::string path;
  std::size_t at = 0;
  const auto skipBlanks = [&] {
    while (at < json.size() && IsJsonBlank(json[at])) ++at;
  };
  // At the start of a value: a container is opened, a scalar is passed.
  const auto value = [&] {
    if (wanted.count(path)) places[path] = at;
    if (json[at] == '{' || json[at] == '[') {
      open.push_back({json[at] == '{', 0, path.size()});
      ++at;
      return true;
    }
    at = ScalarEnd(json, at);
    return false;
  };
  skipBlanks();
  if (at >= json.size()) return places;
  bool expectValue = value();
  while (!open.empty()) {
    skipBlanks();
    if (at >= json.size()) break;
    Container &container = open.back();
    const char c = json[at];
    if (c == '}' || c == ']') {
      path.resize(container.pathSize);
      open.pop_back();
      ++at;
      expectValue = false;
    } else if (!expectValue) {
      ++at;  // the comma
      expectValue = true;
    } else {
      path.resize(container.pathSize);
      if (container.object) {
        const std::size_t end = StringEnd(json, at);
        const std::string_view key = json.substr(at + 1, end - at - 2);
        path += key.find('\\') == std::string_view::npos
                    ? PathStep(key)
                    : PathStep(Json::parse(json.substr(at, end - at)).get<std::string>());
        at = end;
        skipBlanks();
        ++at;  // the colon
        skipBlanks();
      } else {
        path += "/" + std::to_string(container.count);
      }
      ++container.count;
      expectValue = value();
    }
  }
  return places;
}

// What the product data states about one offer, with the places of the file where it says it.
struct DataOffer {
  std::string source;  // "the product data" or the Open Graph tag
  std::optional<std::string> name;
  std::optional<double> price;
  std::string priceText;
  std::size_t priceOffset = 0;
  std::optional<std::string> currency;
  std::size_t currencyOffset = 0;
  std::optional<std::string> availability;  // the schema.org name, such as "OutOfStock"
  std::size_t availabilityOffset = 0;
};

bool IsProductName(const Json &type) {
  if (!type.is_string()) return false;
  const std::string &name = type.get_ref<const std::string &>();
  return name == "Product" || name.ends_with("/Product") || name.ends_with(":Product");
}

// "@type" names one type or lists several.
bool IsProductType(const Json &type) {
  if (type.is_array()) return std::any_of(type.begin(), type.end(), IsProductName);
  return IsProductName(type);
}

// A schema.org availability without its address: "https://schema.org/InStock" is "InStock".
std::string AvailabilityName(std::string_view value) {
  const std::size_t cut = value.find_last_of("/:");
  return std::string(cut == std::string_view::npos ? value : value.substr(cut + 1));
}

bool SaysNotOrderable(std::string_view availability) {
  return availability == "OutOfStock" || availability == "SoldOut" ||
         availability == "Discontinued";
}

bool SaysOrderable(std::string_view availability) {
  return availability == "InStock" || availability == "PreOrder" || availability == "PreSale" ||
         availability == "BackOrder" || availability == "LimitedAvailability" ||
         availability == "OnlineOnly";
}

class ProductDataRules {
 public:
  ProductDataRules(const std::string &path, const HtmlDocument &document, const PageOrders &orders,
                   const std::vector<OfferedItem> &items, const Settings &settings,
                   std::vector<CheckFinding> &findings)
      : path_(path),
        document_(document),
        nodes_(document.Nodes()),
        orders_(orders),
        settings_(settings),
        currencyCode_(ProductCurrencyCode(settings)),
        findings_(findings) {
    for (const OfferedItem &item : items) {
      if (item.field == "pelluxadd" || item.field.starts_with("pelluxqa_")) {
        productItems_.push_back(&item);
      }
    }
    if (productItems_.empty()) {
      for (const OfferedItem &item : items) productItems_.push_back(&item);
    }
  }

  void Run() {
    for (std::size_t node = 0; node < nodes_.size(); ++node) {
      if (nodes_[node].IsElement("script") && IsLdJson(nodes_[node])) ReadScript(node);
      if (nodes_[node].IsElement("meta")) ReadMeta(nodes_[node]);
    }
    if (!hasData_) {
      CheckMissing();
      return;
    }
    for (const DataOffer &offer : offers_) CheckOffer(offer);
  }

 private:
  static bool IsLdJson(const HtmlNode &script) {
    const std::string type = AsciiLowered(Trimmed(script.Value("type")));
    return Trimmed(std::string_view(type).substr(0, type.find(';'))) == "application/ld+json";
  }

  void Add(std::size_t offset, std::string rule, std::string message) {
    findings_.push_back(FindingAt(path_, document_, offset, FindingSeverity::Warning,
                                  std::move(rule), std::move(message)));
  }

  std::string PlaceText(std::size_t offset) const {
    const SourcePlace place = document_.Place(offset);
    return std::to_string(place.line) + ":" + std::to_string(place.column);
  }

  // The script's text as written in the page, and where it begins.
  std::pair<std::string_view, std::size_t> ScriptText(std::size_t script) const {
    const std::string &text = document_.Text();
    if (script + 1 >= nodes_[script].end || nodes_[script + 1].kind != HtmlNodeKind::Text) {
      return {{}, nodes_[script].offset};
    }
    const std::size_t start = nodes_[script + 1].offset;
    std::size_t end = start;
    for (end = text.find("</", start); end != std::string::npos; end = text.find("</", end + 2)) {
      if (AsciiLowered(std::string_view(text).substr(end + 2, 6)) == "script") break;
    }
    return {std::string_view(text).substr(start, end == std::string::npos ? end : end - start),
            start};
  }

  void ReadScript(std::size_t script) {
    const auto [json, start] = ScriptText(script);
    Json data;
    try {
      data = Json::parse(json);
    } catch (const Json::parse_error &error) {
      hasData_ = true;
      // "[json.exception.parse_error.101] parse error at line 1, column 9: syntax error ...;
      // last read: ..." without what only repeats the script.
      std::string reason = error.what();
      const std::size_t column = reason.find("column ");
      if (column != std::string::npos) reason.erase(0, reason.find(": ", column) + 2);
      reason = reason.substr(0, reason.find("; last read"));
      const std::size_t at =
          start + std::min<std::size_t>(error.byte > 0 ? error.byte - 1 : 0, json.size());
      Add(nodes_[script].offset, "product-data-invalid",
          "the ld+json script is no valid JSON (" + reason + " at " + PlaceText(at) +
              "), so search engines ignore the data it holds");
      return;
    }
    // The products: the script's value, the entries of an array and of an "@graph".
    std::vector<std::pair<const Json *, std::string>> candidates;
    const auto addWithGraph = [&](const Json &value, const std::string &at) {
      candidates.emplace_back(&value, at);
      if (!value.is_object() || !value.contains("@graph") || !value["@graph"].is_array()) return;
      for (std::size_t i = 0; i < value["@graph"].size(); ++i) {
        candidates.emplace_back(&value["@graph"][i], at + "/@graph/" + std::to_string(i));
      }
    };
    if (data.is_array()) {
      for (std::size_t i = 0; i < data.size(); ++i) addWithGraph(data[i], "/" + std::to_string(i));
    } else {
      addWithGraph(data, "");
    }
    // The offers first; then where their values are written.
    std::vector<std::pair<std::size_t, std::string>> read;  // offer and its path
    for (const auto &[product, at] : candidates) {
      if (!product->is_object()) continue;
      const auto type = product->find("@type");
      if (type == product->end() || !IsProductType(*type)) continue;
      hasData_ = true;
      const auto found = product->find("offers");
      if (found == product->end()) continue;
      const Json &offers = *found;
      if (offers.is_object()) {
        if (ReadOffer(offers)) read.emplace_back(offers_.size() - 1, at + "/offers");
      } else if (offers.is_array()) {
        for (std::size_t i = 0; i < offers.size(); ++i) {
          if (ReadOffer(offers[i])) {
            read.emplace_back(offers_.size() - 1, at + "/offers/" + std::to_string(i));
          }
        }
      }
    }
    std::set<std::string> wanted;
    for (const auto &[offer, at] : read) {
      for (const char *key : {"/price", "/priceCurrency", "/availability"}) wanted.insert(at + key);
    }
    if (wanted.empty()) return;
    const std::map<std::string, std::size_t> places = ValuePlaces(json, wanted);
    const auto placeOf = [&](const std::string &valuePath) {
      const auto found = places.find(valuePath);
      return found == places.end() ? 0 : found->second;
    };
    for (const auto &[index, at] : read) {
      DataOffer &offer = offers_[index];
      const std::size_t price = placeOf(at + "/price");
      offer.priceOffset = start + price;
      if (offer.priceText.empty())
        offer.priceText = json.substr(price, ScalarEnd(json, price) - price);
      offer.currencyOffset = start + placeOf(at + "/priceCurrency");
      offer.availabilityOffset = start + placeOf(at + "/availability");
    }
  }

  // Adds what an offer of the product data states; its places are found after. False when it
  // is no offer.
  bool ReadOffer(const Json &offer) {
    if (!offer.is_object()) return false;
    DataOffer data;
    data.source = "the product data";
    if (offer.contains("name") && offer["name"].is_string()) data.name = offer["name"];
    if (offer.contains("price")) {
      // A number's text is taken as written, once its place is known.
      const Json &price = offer["price"];
      if (price.is_number()) {
        data.price = price.get<double>();
      } else if (price.is_string()) {
        data.priceText = price.get<std::string>();
        data.price = ReadCartPrice(data.priceText);
      }
    }
    if (offer.contains("priceCurrency") && offer["priceCurrency"].is_string()) {
      data.currency = offer["priceCurrency"];
    }
    if (offer.contains("availability") && offer["availability"].is_string()) {
      data.availability = AvailabilityName(offer["availability"].get<std::string>());
    }
    offers_.push_back(std::move(data));
    return true;
  }

  void ReadMeta(const HtmlNode &meta) {
    const std::string property = AsciiLowered(Trimmed(meta.Value("property")));
    const HtmlAttribute *content = meta.Attribute("content");
    if (!content || !property.starts_with("product:price:")) return;
    hasData_ = true;
    DataOffer data;
    data.source = "the " + property + " tag";
    if (property == "product:price:amount") {
      data.priceText = std::string(Trimmed(content->value));
      data.price = ReadCartPrice(data.priceText);
      data.priceOffset = content->valueOffset;
    } else if (property == "product:price:currency") {
      data.currency = std::string(Trimmed(content->value));
      data.currencyOffset = content->valueOffset;
    }
    offers_.push_back(std::move(data));
  }

  void CheckOffer(const DataOffer &offer) {
    if (offer.price) CheckPrice(offer);
    if (offer.currency && !currencyCode_.empty() &&
        AsciiLowered(*offer.currency) != AsciiLowered(currencyCode_)) {
      Add(offer.currencyOffset, "product-data-price-differs",
          offer.source + " gives the currency " + *offer.currency +
              ", but the settings' currency code is " + currencyCode_);
    }
    if (offer.availability && !availabilityTold_) CheckAvailability(offer);
  }

  // The offer's price against the items it stands for: those of its name, else all of the
  // product's.
  void CheckPrice(const DataOffer &offer) {
    std::vector<const OfferedItem *> candidates;
    if (offer.name) {
      for (const OfferedItem *item : productItems_) {
        if (item->description == *offer.name) candidates.push_back(item);
      }
    }
    if (candidates.empty()) candidates = productItems_;
    const auto same = [&](const OfferedItem *item) {
      return std::fabs(item->price - *offer.price) <= 0.004;
    };
    if (candidates.empty() || std::any_of(candidates.begin(), candidates.end(), same)) return;
    std::string sent;
    std::size_t named = 0;
    std::vector<std::pair<std::string, std::string>> seen;
    for (const OfferedItem *item : candidates) {
      const std::pair key(item->description, item->priceText);
      if (std::find(seen.begin(), seen.end(), key) != seen.end()) continue;
      seen.push_back(key);
      if (named++ < kMaxItemsNamed) {
        sent += (sent.empty() ? "\"" : ", \"") + item->description + "\" at " + item->priceText;
      }
    }
    if (named > kMaxItemsNamed) sent += " and " + std::to_string(named - kMaxItemsNamed) + " more";
    Add(offer.priceOffset, "product-data-price-differs",
        offer.source + " gives the price " + offer.priceText + ", but the page sends " + sent);
  }

  // An order button or a cart link (Enter in a text field is no way a shopper sees).
  const FoundOrder *EnabledOrderButton() const {
    for (const FoundOrder &order : orders_.orders) {
      if (!order.order.way.starts_with("Enter in") && GoesToCart(order, settings_)) return &order;
    }
    return nullptr;
  }

  void CheckAvailability(const DataOffer &offer) {
    const std::string &availability = *offer.availability;
    const FoundOrder *button = EnabledOrderButton();
    if (SaysNotOrderable(availability) && button) {
      availabilityTold_ = true;
      Add(offer.availabilityOffset, "product-data-price-differs",
          offer.source + " says " + availability + ", but the page's order " +
              (button->link ? "link to the cart" : button->order.way) + " is enabled");
    } else if (SaysOrderable(availability) && !button) {
      availabilityTold_ = true;
      Add(offer.availabilityOffset, "product-data-price-differs",
          offer.source + " says " + availability +
              ", but the page has no enabled order button or link to the cart");
    }
  }

  // A page the catalogue made has its "All products" link back to the index; with a currency
  // code the catalogue gives it product data.
  void CheckMissing() {
    if (currencyCode_.empty()) return;
    const bool sendsItem =
        std::any_of(productItems_.begin(), productItems_.end(),
                    [](const OfferedItem *item) { return item->field == "pelluxadd"; });
    if (!sendsItem) return;
    std::size_t link = kNoNode;
    std::size_t head = kNoNode;
    for (std::size_t node = 0; node < nodes_.size() && link == kNoNode; ++node) {
      const HtmlNode &element = nodes_[node];
      if (element.IsElement("head") && element.written) head = node;
      if (element.IsElement("a") && Trimmed(element.Value("href")) == "index.html" &&
          CollapseWhitespace(document_.TextOf(node)) == "All products") {
        link = node;
      }
    }
    if (link == kNoNode) return;
    Add(nodes_[head != kNoNode ? head : link].offset, "product-data-missing",
        "the catalogue page has no product data for search engines: build the catalogue again "
        "with a currency code in Options (now " +
            currencyCode_ +
            ") and the site's address (Build Catalogue's \"Site address\", vendigo-html "
            "catalogue --base-url), so the data also holds the page's address");
  }

  const std::string &path_;
  const HtmlDocument &document_;
  const std::vector<HtmlNode> &nodes_;
  const PageOrders &orders_;
  const Settings &settings_;
  const std::string currencyCode_;
  std::vector<CheckFinding> &findings_;
  std::vector<const OfferedItem *> productItems_;
  std::vector<DataOffer> offers_;
  bool hasData_ = false;
  bool availabilityTold_ = false;
};

}  // namespace

void AddProductDataFindings(const std::string &path, const HtmlDocument &document,
                            const PageOrders &orders, const std::vector<OfferedItem> &items,
                            const Settings &settings, std::vector<CheckFinding> &findings) {
  ProductDataRules(path, document, orders, items, settings, findings).Run();
}

}  // namespace vendigo
