#include "builders/simple_element_commands.h"

#include <optional>

#include "builders/simple_elements.h"

namespace vendigo {

const std::vector<SimpleElementCommand> &SimpleElementCommands() {
  static const std::vector<SimpleElementCommand> commands = {
      // Only Insert Form lets the palette go on after the editor could not be reached.
      {"Insert Form", "form", "the form container that posts to the cart program",
       FailurePolicy::KeepRunning, FormContainerHtml},
      {"Quantity Box", "quantity", "the quantity box", FailurePolicy::EndProgram,
       [](const Settings &) { return QuantityBoxHtml(); }},
      {"View Cart Link", "viewcart", "the view-cart link", FailurePolicy::EndProgram,
       ViewCartLinkHtml},
      {"Buy Button", "buybutton", "the order button (nothing without an order button)",
       FailurePolicy::EndProgram, BuyButtonHtml},
      {"eBay\u2122", "ebay", "the eBay payment form (nothing without an order button)",
       FailurePolicy::EndProgram, EbayFormHtml},
  };
  return commands;
}

InsertOutcome RunSimpleElementCommand(const SimpleElementCommand &command, const Settings &settings,
                                      EditorLink &link) {
  return link.InsertFragment(
      [&]() -> std::optional<std::string> {
        std::string html = command.build(settings);
        if (html.empty()) return std::nullopt;
        return html;
      },
      command.policy);
}

}  // namespace vendigo
