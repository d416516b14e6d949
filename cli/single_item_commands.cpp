#include "cli/single_item_commands.h"

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <string>
#include <utility>

#include "builders/hidden_item.h"
#include "builders/order_item_value.h"
#include "builders/quick_link.h"
#include "builders/text_option.h"
#include "core/json_fields.h"

namespace vendigo::cli {

namespace {

// Reads the fields of one command's JSON input, each with the dialog's initial value when it is
// absent, and refuses keys it does not know and what the dialog would not build from.
class FieldReader {
 public:
  explicit FieldReader(const nlohmann::json &input) : input_(input) {}

  std::string Text(const char *key, const std::string &initial = {}) {
    const nlohmann::json *value = Field(input_, Known(key));
    return value ? vendigo::Text(value, key) : initial;
  }

  bool Flag(const char *key) { return vendigo::Flag(Field(input_, Known(key)), key); }

  // The five item fields; Taxable is "1" (checked), "0" (unchecked) or "" (grayed, as the
  // dialog starts).
  OrderItem Item() {
    OrderItem item;
    item.Description = Text("Description");
    item.Price = Text("Price");
    item.Weight = Text("Weight");
    item.Taxable = Text("Taxable");
    if (!IsTaxableText(item.Taxable)) Refuse(R"(Taxable must be "1", "0" or "")");
    item.SmartTaxCode = Text("SmartTaxCode");
    return item;
  }

  // Call after reading every field.
  void RefuseUnknownKeys() const { CheckKeys(input_, known_, "the input"); }

  // The fields the dialog's OK needs: the dialog builds nothing while one of them is empty.
  static void Require(std::initializer_list<std::pair<const char *, const std::string *>> fields) {
    for (const auto &[key, text] : fields) {
      if (text->empty()) Refuse(std::string(key) + " must not be empty");
    }
  }

 private:
  const std::string &Known(const char *key) { return known_.emplace_back(key); }

  const nlohmann::json &input_;
  std::vector<std::string> known_;
};

std::string BuildHiddenItem(const Settings &, const nlohmann::json &input) {
  FieldReader fields(input);
  const OrderItem item = fields.Item();
  fields.RefuseUnknownKeys();
  fields.Require({{"Description", &item.Description}, {"Price", &item.Price}});
  return HiddenItemHtml(item);
}

std::string BuildQuickLink(const Settings &settings, const nlohmann::json &input) {
  FieldReader fields(input);
  QuickLink link;
  link.item = fields.Item();
  link.linkCaption = fields.Text("LinkCaption", kDefaultLinkCaption);
  link.statusText = fields.Text("StatusText", kDefaultStatusText);
  link.insertProductInfo = fields.Flag("InsertProductInfo");
  link.brackets = fields.Flag("Brackets");
  fields.RefuseUnknownKeys();
  fields.Require({{"Description", &link.item.Description},
                  {"Price", &link.item.Price},
                  {"LinkCaption", &link.linkCaption}});
  try {
    return QuickLinkHtml(settings, link);
  } catch (const CurrencyConversionError &error) {
    throw CommandFailure(error.what());
  }
}

std::string BuildTextOption(const Settings &settings, const nlohmann::json &input) {
  FieldReader fields(input);
  TextOption option;
  option.caption = fields.Text("Caption");
  option.price = fields.Text("Price");
  option.size = fields.Text("Size", kDefaultTextOptionSize);
  option.maxLength = fields.Text("MaxLength", kDefaultTextOptionSize);
  fields.RefuseUnknownKeys();
  fields.Require({{"Caption", &option.caption}, {"Price", &option.price}});
  return TextOptionHtml(settings, option);
}

}  // namespace

void AppendSingleItemCommands(std::vector<Command> &commands) {
  commands.push_back(
      {"pelluxadd", "the hidden item field that orders one item", true, BuildHiddenItem});
  commands.push_back(
      {"quicklink", "a link that puts one item in the cart with a click", true, BuildQuickLink});
  commands.push_back({"textadd", "a text input for the shopper, with its caption and note", true,
                      BuildTextOption});
}

}  // namespace vendigo::cli
