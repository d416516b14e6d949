#include "basket/order_reader.h"

#include <cstdio>

#include "builders/price_rules.h"
#include "core/text_encoding.h"

namespace vendigo {

namespace {

constexpr std::size_t kMaxQuantityDigits = 5;
constexpr std::size_t kMaxWeightDigits = 6;
constexpr std::size_t kItemFields = 5;
constexpr std::size_t kOptionFields = 3;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string Fields(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " field" : " fields");
}

std::string Quoted(std::string_view text) {
  return "\"" + Utf8Prefix(text, 40) + (Utf8Length(text) > 40 ? "...\"" : "\"");
}

std::optional<long> ReadWholeNumber(std::string_view text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  long number = 0;
  for (char c : text) {
    if (!IsAsciiDigit(c)) return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

// Collects the refusals while the fields are read.
class Reading {
 public:
  std::vector<Refusal> refusals;

  void Refuse(const std::string &field, std::string reason) {
    refusals.push_back({field, std::move(reason)});
  }

  std::optional<double> Price(const std::string &field, std::string_view text) {
    std::optional<double> price = ReadCartPrice(text);
    if (!price) Refuse(field, "the price " + Quoted(text) + " is no number");
    return price;
  }

  std::optional<long> Weight(const std::string &field, std::string_view text) {
    if (text.empty()) return 0;
    std::optional<long> weight = ReadWholeNumber(text, kMaxWeightDigits);
    if (!weight) {
      Refuse(field, "the weight " + Quoted(text) + " is not a whole number of at most " +
                        std::to_string(kMaxWeightDigits) + " digits");
    }
    return weight;
  }

  // An item from its five fields, one piece.
  std::optional<BasketLine> Item(const std::string &field, const std::vector<std::string> &parts,
                                 std::string_view form) {
    if (parts.size() != kItemFields) {
      Refuse(field, "has " + Fields(parts.size()) + "; an item needs 5: " + std::string(form));
      return std::nullopt;
    }
    if (parts[0].empty()) Refuse(field, "the item has no description");
    const std::optional<double> price = Price(field, parts[1]);
    const std::optional<long> weight = Weight(field, parts[2]);
    if (parts[0].empty() || !price || !weight) return std::nullopt;
    return BasketLine{parts[0], *price, *weight, parts[3], parts[4], {}, {}, 1};
  }
};

}  // namespace

std::optional<double> ReadCartPrice(std::string_view text) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  if (whole.find(',') == std::string_view::npos) return ConvertPrice(text);
  // Thousands separators: one to three digits, then groups of a separator and three digits.
  std::string plain;
  const std::vector<std::string> groups = SplitAt(whole, ',');
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const std::size_t size = groups[i].size();
    if (size == 0 || size > 3 || (i > 0 && size != 3)) return std::nullopt;
    plain += groups[i];
  }
  if (point != std::string_view::npos) plain += text.substr(point);
  return ConvertPrice(plain);
}

Order ReadOrder(const std::vector<FormField> &fields) {
  Reading reading;
  std::vector<BasketLine> items;  // pelluxadd and the eBay form: they take options and texts
  std::vector<BasketLine> lines;  // addit and pelluxqa_
  std::vector<ChosenOption> options;
  std::vector<TypedText> texts;
  long quantity = 1;
  const FormField *ebayDescription = nullptr;
  const FormField *ebayPrice = nullptr;
  bool isEbay = false;
  for (const FormField &field : fields) {
    isEbay = isEbay || field.name == "description" || field.name == "price";
  }

  for (const FormField &field : fields) {
    const std::string &name = field.name;
    const std::string &value = field.value;
    if (name.size() > kMaxFieldBytes || value.size() > kMaxFieldBytes) {
      reading.Refuse(Utf8Prefix(name, 60), "is " + std::to_string(name.size() + value.size()) +
                                               " bytes long; a field name or value is read up to " +
                                               std::to_string(kMaxFieldBytes) + " bytes");
    } else if (name == "pelluxadd" || name == "addit") {
      const char *form = "description^price^weight^taxable^tax code";
      if (std::optional<BasketLine> item = reading.Item(name, SplitAt(value, '^'), form)) {
        (name == "pelluxadd" ? items : lines).push_back(*item);
      }
    } else if (name == "quantity") {
      const std::optional<long> pieces = ReadWholeNumber(value, kMaxQuantityDigits);
      if (pieces && *pieces > 0) {
        quantity = *pieces;
      } else {
        reading.Refuse(name,
                       "the quantity " + Quoted(value) + " is not a whole number from 1 to 99999");
      }
    } else if (StartsWith(name, "eop_")) {
      const std::string optionName = name.substr(4);
      const std::vector<std::string> parts = SplitAt(value, '^');
      if (isEbay && parts.size() == 1) {
        if (value.empty()) continue;
        if (std::optional<double> price = reading.Price(name, value)) {
          options.push_back({optionName, optionName, *price, 0});
        }
      } else if (parts.size() != kOptionFields) {
        reading.Refuse(
            name, "has " + Fields(parts.size()) + "; an option needs 3: description^price^weight");
      } else {
        const std::optional<double> price = reading.Price(name, parts[1]);
        const std::optional<long> weight = reading.Weight(name, parts[2]);
        if (price && weight) options.push_back({optionName, parts[0], *price, *weight});
      }
    } else if (StartsWith(name, "textadd_")) {
      const std::size_t split = name.rfind('_');
      if (split < 8) {
        reading.Refuse(name, "the name needs a caption and a price: textadd_<caption>_<price>");
      } else if (!value.empty()) {
        if (std::optional<double> price = reading.Price(name, name.substr(split + 1))) {
          texts.push_back({name.substr(8, split - 8), *price, value});
        }
      }
    } else if (StartsWith(name, "pelluxqa_")) {
      if (value.empty() || value == "0") continue;
      // The description may hold "_" itself: the last four separators end it.
      std::vector<std::string> parts = SplitAt(name.substr(9), '_');
      while (parts.size() > kItemFields) {
        parts[0] += "_" + parts[1];
        parts.erase(parts.begin() + 1);
      }
      const char *form = "pelluxqa_description_price_weight_taxable_tax code";
      std::optional<BasketLine> item = reading.Item(name, parts, form);
      const std::optional<long> pieces = ReadWholeNumber(value, kMaxQuantityDigits);
      if (!pieces) {
        reading.Refuse(name,
                       "the quantity " + Quoted(value) + " is not a whole number from 0 to 99999");
      } else if (item && *pieces > 0) {
        item->quantity = *pieces;
        lines.push_back(*item);
      }
    } else if (name == "description") {
      ebayDescription = &field;
    } else if (name == "price") {
      ebayPrice = &field;
    }
  }

  if (isEbay) {
    const std::string description = ebayDescription ? ebayDescription->value : "";
    const std::optional<double> price = reading.Price("price", ebayPrice ? ebayPrice->value : "");
    if (description.empty()) reading.Refuse("description", "the eBay item number is empty");
    if (price && !description.empty()) items.push_back({description, *price, 0, "", "", {}, {}, 1});
  }
  if (items.empty() && (!options.empty() || !texts.empty())) {
    reading.Refuse(!options.empty() ? "eop_" + options[0].name : "textadd_" + texts[0].caption,
                   "an option or text needs an item (pelluxadd) in the same request");
  }
  if (!reading.refusals.empty()) return {{}, reading.refusals};
  for (BasketLine &item : items) {
    item.options = options;
    item.texts = texts;
    item.quantity = quantity;
  }
  items.insert(items.end(), lines.begin(), lines.end());
  return {items, {}};
}

Order ReadRequest(std::string_view encoded) {
  if (encoded.size() > kMaxRequestBytes) {
    return {
        {},
        {{"", "the request is " + std::to_string(encoded.size()) +
                  " bytes long; the test cart reads up to " + std::to_string(kMaxRequestBytes)}}};
  }
  const std::vector<FormField> fields = ParseFormFields(encoded);
  if (fields.size() > kMaxFields) {
    return {{},
            {{"", "the request has " + std::to_string(fields.size()) +
                      " fields; the test cart reads up to " + std::to_string(kMaxFields)}}};
  }
  return ReadOrder(fields);
}

std::optional<Refusal> AddToBasket(Basket &basket, const std::vector<BasketLine> &lines) {
  if (basket.lines.size() + lines.size() > kMaxBasketLines) {
    return Refusal{
        "", "the basket holds up to " + std::to_string(kMaxBasketLines) + " lines; empty it first"};
  }
  basket.lines.insert(basket.lines.end(), lines.begin(), lines.end());
  return std::nullopt;
}

}  // namespace vendigo
