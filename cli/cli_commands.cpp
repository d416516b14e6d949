#include "cli/cli_commands.h"

#include "builders/simple_elements.h"

namespace vendigo::cli {

namespace {

// Commands whose fragment comes from the settings alone.
Command FromSettings(std::string name, std::string summary,
                     std::string (*generate)(const Settings &)) {
  return {std::move(name), std::move(summary), false,
          [generate](const Settings &settings, const QJsonObject &) { return generate(settings); }};
}

}  // namespace

const std::vector<Command> &Commands() {
  static const std::vector<Command> commands = {
      FromSettings("form", "the form container that posts to the cart program", FormContainerHtml),
      FromSettings("quantity", "the quantity box",
                   [](const Settings &) { return QuantityBoxHtml(); }),
      FromSettings("viewcart", "the view-cart link", ViewCartLinkHtml),
      FromSettings("buybutton", "the order button (nothing without an order button)",
                   BuyButtonHtml),
      FromSettings("ebay", "the eBay payment form (nothing without an order button)", EbayFormHtml),
  };
  return commands;
}

const Command *FindCommand(std::string_view name) {
  for (const Command &command : Commands()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

}  // namespace vendigo::cli
