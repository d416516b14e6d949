#include "fragments/fragment_commands.h"

#include <nlohmann/json.hpp>

#include "builders/addit_table.h"
#include "builders/extended_option.h"
#include "builders/hidden_item.h"
#include "builders/product_interface.h"
#include "builders/quick_link.h"
#include "builders/simple_element_commands.h"
#include "builders/text_option.h"
#include "fragments/fragment_inputs.h"
#include "fragments/page_command.h"

namespace vendigo {

namespace {

std::string BuildHiddenItem(const Settings &, const nlohmann::json &input) {
  return HiddenItemHtml(HiddenItemFromInput(input));
}

std::string BuildQuickLink(const Settings &settings, const nlohmann::json &input) {
  const QuickLink link = QuickLinkFromInput(input);
  try {
    return QuickLinkHtml(settings, link);
  } catch (const CurrencyConversionError &error) {
    throw CommandFailure(error.what());
  }
}

std::string BuildTextOption(const Settings &settings, const nlohmann::json &input) {
  return TextOptionHtml(settings, TextOptionFromInput(input));
}

std::string BuildOptions(const Settings &, const nlohmann::json &input) {
  const ExtendedOption option = ExtendedOptionFromInput(input);
  return BuildExtendedOptionHtml(option.name, option.rows);
}

std::string BuildAddIt(const Settings &settings, const nlohmann::json &input) {
  const AddItTable table = AddItTableFromInput(input, settings);
  return BuildAddItFragment(table.mode, table.rows, settings, table.wholeInterface,
                            ProductInterfaceTemplate());
}

}  // namespace

const std::vector<Command> &Commands() {
  static const std::vector<Command> commands = [] {
    std::vector<Command> list;
    for (const SimpleElementCommand &element : SimpleElementCommands()) {
      list.push_back({element.name, element.summary, false,
                      [build = element.build](const Settings &settings, const nlohmann::json &) {
                        return build(settings);
                      }});
    }
    list.push_back(PageCommand());
    list.push_back(
        {"options", "product option list: an eop_ select from Name and Rows", true, BuildOptions});
    list.push_back(
        {"addit",
         "addit table or select list, or quantity-add table, from Mode, Rows and ProductInterface",
         true, BuildAddIt});
    list.push_back(
        {"pelluxadd", "the hidden item field that orders one item", true, BuildHiddenItem});
    list.push_back(
        {"quicklink", "a link that puts one item in the cart with a click", true, BuildQuickLink});
    list.push_back({"textadd", "a text input for the shopper, with its caption and note", true,
                    BuildTextOption});
    return list;
  }();
  return commands;
}

const Command *FindCommand(std::string_view name) {
  for (const Command &command : Commands()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

}  // namespace vendigo
