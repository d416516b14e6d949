#include "check/order_rules.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "basket/order_reader.h"
#include "check/finding_at.h"
#include "core/text_encoding.h"

namespace vendigo {
namespace {

constexpr std::size_t kNoNode = HtmlNode::kNoNode;
constexpr char kDummyItem[] = "item^1^0^^";
constexpr std::size_t kMaxPlacesNamed = 3;

// The rule a refusal of the cart breaks, by its reason.
std::string RuleOfReason(const std::string &reason) {
  if (reason.starts_with("the price ")) return "price-not-number";
  if (reason == "the item has no description") return "empty-description";
  if (reason.starts_with("the quantity ")) return "quantity-not-number";
  return "cart-refusal";
}

// The description and price of an item value or pelluxqa_ name; nullopt when it is none.
struct ItemParts {
  std::string description;
  std::string price;
};
std::optional<ItemParts> ItemOf(const std::string &name, const std::string &value) {
  std::vector<std::string> parts;
  if (name == "pelluxadd" || name == "addit") {
    parts = SplitAt(value, '^');
  } else if (name.starts_with("pelluxqa_")) {
    parts = SplitAt(std::string_view(name).substr(9), '_');
    while (parts.size() > 5) {
      parts[0] += "_" + parts[1];
      parts.erase(parts.begin() + 1);
    }
  }
  if (parts.size() != 5 || parts[0].empty()) return std::nullopt;
  return ItemParts{parts[0], parts[1]};
}

// The price of an item value, an option value or a pelluxqa_ name, as written.
std::optional<std::string> SentPrice(const std::string &name, const std::string &value) {
  if (name.starts_with("eop_")) {
    const std::vector<std::string> parts = SplitAt(value, '^');
    if (parts.size() == 3) return parts[1];
    return std::nullopt;
  }
  if (const std::optional<ItemParts> item = ItemOf(name, value)) return item->price;
  return std::nullopt;
}

class OrderRules {
 public:
  OrderRules(const std::string &path, const HtmlDocument &document, const PageOrders &orders,
             const Settings &settings)
      : path_(path),
        document_(document),
        nodes_(document.Nodes()),
        orders_(orders),
        settings_(settings) {}

  OrderCheck Run() {
    // A control's findings name the first order that sends it, or else the first of its form.
    for (const FoundOrder &order : orders_.orders) {
      if (order.link) continue;
      orderOf_.emplace(order.node, &order.order);
      for (const std::size_t node : order.fieldNodes) orderOf_.emplace(node, &order.order);
    }
    for (const FormControl &control : orders_.controls) {
      if (control.form == kNoNode || orderOf_.count(control.node)) continue;
      const auto form = orderOf_.find(control.form);
      if (form != orderOf_.end()) orderOf_.emplace(control.node, form->second);
    }
    CheckFields();
    CheckForms();
    for (const FoundOrder &order : orders_.orders) CheckOrder(order);
    return std::move(result_);
  }

 private:
  CheckFinding At(std::size_t offset) const {
    return FindingAt(path_, document_, offset, FindingSeverity::Error, "", "");
  }

  void Add(std::size_t offset, FindingSeverity severity, std::string rule, std::string message,
           const PageOrder *order = nullptr) {
    CheckFinding finding =
        FindingAt(path_, document_, offset, severity, std::move(rule), std::move(message));
    if (order) finding.order = *order;
    const auto key = std::tuple(finding.offset, finding.rule, finding.message);
    if (!reported_.insert(key).second) return;
    result_.findings.push_back(std::move(finding));
  }

  // Each value a control can send, whether or not the page as it stands sends it: every option
  // of a list, the value of a box, the name of a quantity or text input.
  void CheckFields() {
    for (const FormControl &control : orders_.controls) {
      const HtmlNode &node = nodes_[control.node];
      const HtmlAttribute *name = node.Attribute("name");
      if (!name || !IsOrderFieldName(name->value)) continue;
      if (control.form == kNoNode) {
        Add(node.offset, FindingSeverity::Error, "field-outside-form",
            "the order field \"" + name->value + "\" is in no form, so no order sends it");
      }
      if (node.tag == "select") {
        for (std::size_t option = control.node + 1; option < node.end; ++option) {
          if (!nodes_[option].IsElement("option")) continue;
          const HtmlNode &entry = nodes_[option];
          const HtmlAttribute *value = entry.Attribute("value");
          CheckValue(control.node, name->value,
                     value ? value->value : CollapseWhitespace(document_.TextOf(option)),
                     value ? value->valueOffset : entry.offset,
                     CollapseWhitespace(document_.TextOf(option)));
        }
      } else if (node.tag == "input" && !IsTypedControl(node)) {
        const HtmlAttribute *value = node.Attribute("value");
        const std::string type = node.Value("type");
        CheckValue(control.node, name->value, value ? value->value : "on",
                   value ? value->valueOffset : node.offset, TextBefore(control.node));
      } else if (node.tag == "input") {
        // A typed input: the page writes its name and its first value.
        if (name->value.starts_with("pelluxqa_") || name->value == "quantity") {
          const HtmlAttribute *value = node.Attribute("value");
          CheckValue(control.node, name->value, value ? value->value : "",
                     value ? value->valueOffset : node.offset, TextBefore(control.node),
                     name->valueOffset);
        } else if (name->value.starts_with("textadd_")) {
          CheckValue(control.node, name->value, "text", name->valueOffset, "");
        }
      }
    }
  }

  // The cart's reading of one field with the value, and the price shown beside it.
  void CheckValue(std::size_t node, const std::string &name, const std::string &value,
                  std::size_t valueOffset, const std::string &shown,
                  std::size_t nameOffset = kNoNode) {
    std::vector<FormField> fields;
    if (name.starts_with("eop_") || name.starts_with("textadd_")) {
      fields.push_back({"pelluxadd", kDummyItem});
    }
    fields.push_back({name, value});
    for (const Refusal &refusal : ReadOrder(fields).refusals) {
      if (refusal.field != name || refusal.reason.starts_with("an option or text needs")) continue;
      const std::string rule = RuleOfReason(refusal.reason);
      const bool inName = nameOffset != kNoNode && rule != "quantity-not-number";
      Add(inName ? nameOffset : valueOffset, FindingSeverity::Error, rule,
          "field \"" + name + "\": " + refusal.reason, OrderOf(node));
      withFinding_.insert(node);
    }
    if (const std::optional<ItemParts> item = ItemOf(name, value)) {
      if (const std::optional<double> price = ReadCartPrice(item->price)) {
        OfferedItem offered{item->description, item->price, *price,
                            At(nameOffset != kNoNode ? nameOffset : valueOffset), name};
        result_.items.push_back(std::move(offered));
      }
    }
    const std::optional<std::string> sent = SentPrice(name, value);
    if (sent) {
      ComparePrice(shown, *sent, nameOffset != kNoNode ? nameOffset : valueOffset, OrderOf(node));
    }
  }

  // The price shown in text (the last price after the currency sign) against the price sent.
  void ComparePrice(const std::string &shown, const std::string &sent, std::size_t offset,
                    const PageOrder *order) {
    const std::string &currency = settings_.Currency;
    if (currency.empty() || shown.empty()) return;
    const std::optional<double> sentPrice = ReadCartPrice(sent);
    if (!sentPrice) return;
    for (std::size_t at = shown.rfind(currency); at != std::string::npos;
         at = at == 0 ? std::string::npos : shown.rfind(currency, at - 1)) {
      std::size_t end = at + currency.size();
      while (end < shown.size() &&
             (IsAsciiDigit(shown[end]) || shown[end] == ',' || shown[end] == '.')) {
        ++end;
      }
      std::string number = shown.substr(at + currency.size(), end - at - currency.size());
      while (!number.empty() && (number.back() == '.' || number.back() == ',')) number.pop_back();
      const std::optional<double> price = ReadCartPrice(number);
      if (number.empty() || !price) continue;
      if (std::fabs(*price - *sentPrice) > 0.004) {
        Add(offset, FindingSeverity::Error, "price-differs",
            "the price shown, " + currency + number + ", differs from the price sent, " + sent,
            order);
      }
      return;
    }
  }

  bool IsBlock(const HtmlNode &node) const {
    static const char *const kBlocks[] = {
        "p",  "td", "th", "li", "div", "body",       "form", "center",  "h1",       "h2",   "h3",
        "h4", "h5", "h6", "dd", "dt",  "blockquote", "pre",  "caption", "fieldset", "table"};
    for (const char *block : kBlocks) {
      if (node.tag == block) return true;
    }
    return false;
  }

  bool IsOrderControl(const HtmlNode &node) const {
    return (node.tag == "input" || node.tag == "select" || node.tag == "textarea") &&
           IsOrderFieldName(node.Value("name"));
  }

  // The text that shows what a control or link orders: the text before it in its block, since
  // the control, link or line break before it; for the only order field of a table row whose
  // cell says nothing before it, the row's text.
  std::string TextBefore(std::size_t control) const {
    std::size_t block = nodes_[control].parent;
    while (block != kNoNode && !IsBlock(nodes_[block])) block = nodes_[block].parent;
    if (block == kNoNode) return "";
    std::string text;
    for (std::size_t at = block + 1; at < control;) {
      const HtmlNode &node = nodes_[at];
      if (node.kind == HtmlNodeKind::Text) {
        text += node.text;
      } else if (node.kind == HtmlNodeKind::Element) {
        if (node.tag == "br" || node.tag == "hr" || node.tag == "a" || node.tag == "select" ||
            node.tag == "input" || node.tag == "textarea" || node.tag == "script" ||
            node.tag == "style") {
          text.clear();
          if (node.end <= control) {
            at = node.end;
            continue;
          }
        }
      }
      ++at;
    }
    if (CollapseWhitespace(text).empty() && nodes_[block].tag == "td") {
      const std::size_t row = document_.Ancestor(block, "tr");
      if (row == kNoNode) return "";
      for (std::size_t at = row + 1; at < nodes_[row].end; ++at) {
        if (at != control && IsOrderControl(nodes_[at])) return "";
      }
      return document_.TextOf(row);
    }
    return text;
  }

  // A form with order fields needs a way to send them.
  void CheckForms() {
    for (const std::size_t form : orders_.forms) {
      bool orderFields = false;
      for (const FormControl &control : orders_.controls) {
        orderFields = orderFields || (control.form == form &&
                                      IsOrderFieldName(nodes_[control.node].Value("name")));
      }
      if (!orderFields ||
          std::ranges::find(orders_.switchedOff, form) != orders_.switchedOff.end()) {
        continue;
      }
      bool sendable = false;
      for (const FoundOrder &order : orders_.orders) sendable = sendable || order.node == form;
      if (!sendable) {
        Add(nodes_[form].offset, FindingSeverity::Error, "form-not-sendable",
            "the form has order fields but no order button, so it cannot be sent");
      }
    }
  }

  void CheckAddress(const FoundOrder &order) {
    const std::string address = AddressWithoutQuery(order.order.action);
    const std::string prompt = DefaultSettings().CGI_BIN;
    const std::string cgiBin = AddressWithoutQuery(settings_.CGI_BIN);
    if (address == prompt) {
      Add(order.addressOffset, FindingSeverity::Error, "cart-address-placeholder",
          "the cart address is still the settings' prompt \"" + prompt + "\"", &order.order);
    } else if (IsTestCartAddress(address)) {
      Add(order.addressOffset, FindingSeverity::Error, "test-cart-address",
          "the cart address \"" + address +
              "\" is the test cart on this machine, which shoppers cannot reach",
          &order.order);
    } else if (cgiBin != prompt && address != cgiBin) {
      Add(order.addressOffset, FindingSeverity::Warning, "cart-address-differs",
          (order.hasAddress ? "the cart address \"" + address + "\""
                            : "the form has no action; it") +
              " differs from the settings' cart program \"" + cgiBin + "\"",
          &order.order);
    }
  }

  void CheckOrder(const FoundOrder &order) {
    if (!GoesToCart(order, settings_)) return;
    CheckAddress(order);
    const std::string &action = order.order.action;
    const std::size_t question = action.find('?');
    const std::string encoded =
        !order.link ? EncodeFormFields(order.order.fields)
        : question == std::string::npos
            ? std::string()
            : action.substr(question + 1, action.find('#', question) - question - 1);
    for (const Refusal &refusal : ReadRequest(encoded).refusals) {
      std::size_t offset = order.addressOffset;
      bool found = false;
      for (std::size_t i = 0; i < order.order.fields.size() && !found; ++i) {
        if (order.order.fields[i].name != refusal.field) continue;
        found = true;
        const std::size_t node = order.fieldNodes[i];
        // What the shopper types, and what was already read where it is written, is not told
        // again for each order.
        if (!order.link && (IsTypedControl(nodes_[node]) || withFinding_.count(node))) {
          offset = kNoNode;
        } else {
          offset = order.fieldOffsets[i];
        }
      }
      if (offset == kNoNode) continue;
      const std::string rule = RuleOfReason(refusal.reason);
      std::string message = rule == "cart-refusal" ? "the cart refuses the order: " : "";
      message += refusal.field.empty() ? refusal.reason
                                       : "field \"" + refusal.field + "\": " + refusal.reason;
      Add(offset, FindingSeverity::Error, rule, message, &order.order);
    }
    if (order.link) CheckLinkItems(order);
  }

  // A link's items and the price shown before it.
  void CheckLinkItems(const FoundOrder &order) {
    const std::string shown = TextBefore(order.node);
    for (const SentField &field : order.order.fields) {
      const std::optional<ItemParts> item = ItemOf(field.name, field.value);
      if (!item) continue;
      if (const std::optional<double> price = ReadCartPrice(item->price)) {
        result_.items.push_back(
            {item->description, item->price, *price, At(order.addressOffset), field.name});
      }
      ComparePrice(shown, item->price, order.addressOffset, &order.order);
    }
  }

  const PageOrder *OrderOf(std::size_t node) const {
    const auto found = orderOf_.find(node);
    return found == orderOf_.end() ? nullptr : found->second;
  }

  const std::string &path_;
  const HtmlDocument &document_;
  const std::vector<HtmlNode> &nodes_;
  const PageOrders &orders_;
  const Settings &settings_;
  OrderCheck result_;
  std::set<std::size_t> withFinding_;
  std::map<std::size_t, const PageOrder *> orderOf_;
  std::set<std::tuple<std::size_t, std::string, std::string>> reported_;
};

std::string PlaceText(const CheckFinding &place) {
  return place.file + ":" + std::to_string(place.line) + ":" + std::to_string(place.column);
}

}  // namespace

OrderCheck CheckOrders(const std::string &path, const HtmlDocument &document,
                       const PageOrders &orders, const Settings &settings) {
  return OrderRules(path, document, orders, settings).Run();
}

std::vector<CheckFinding> CheckSamePrices(const std::vector<OfferedItem> &items) {
  std::map<std::string, std::vector<const OfferedItem *>> byDescription;
  for (const OfferedItem &item : items) byDescription[item.description].push_back(&item);
  // Prices in cents, so 4.5 and 4.50 are one price.
  const auto cents = [](const OfferedItem *item) { return std::llround(item->price * 100); };
  std::vector<CheckFinding> findings;
  for (const auto &[description, offers] : byDescription) {
    std::map<long long, std::size_t> perPrice;
    for (const OfferedItem *offer : offers) ++perPrice[cents(offer)];
    if (perPrice.size() < 2) continue;
    // The first places of each price, in the items' order: the first others of any offer are
    // among them, so naming them does not walk every offer again.
    std::vector<const OfferedItem *> firsts;
    std::map<long long, std::size_t> taken;
    for (const OfferedItem *offer : offers) {
      if (taken[cents(offer)]++ <= kMaxPlacesNamed) firsts.push_back(offer);
    }
    for (const OfferedItem *offer : offers) {
      std::string named;
      std::set<std::string> places;
      for (const OfferedItem *other : firsts) {
        if (places.size() == kMaxPlacesNamed) break;
        if (cents(other) == cents(offer) || !places.insert(PlaceText(other->place)).second)
          continue;
        named += (named.empty() ? "" : ", ") + other->priceText + " in " + PlaceText(other->place);
      }
      const std::size_t others = offers.size() - perPrice[cents(offer)];
      std::string message =
          "\"" + description + "\" is sent at " + offer->priceText + " here, and at " + named;
      if (others > places.size()) {
        message += " and " + std::to_string(others - places.size()) + " more places";
      }
      CheckFinding finding = offer->place;
      finding.severity = FindingSeverity::Warning;
      finding.rule = "description-prices-differ";
      finding.message = std::move(message);
      findings.push_back(std::move(finding));
    }
  }
  return findings;
}

}  // namespace vendigo
