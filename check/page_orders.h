#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "check/site_check.h"
#include "core/settings.h"
#include "html/html_document.h"

namespace vendigo {

// The orders a page can send, as a browser builds them from the page as it stands.

// A control that a form sends, found with the form that owns it.
struct FormControl {
  std::size_t node = 0;
  std::size_t form = HtmlNode::kNoNode;  // the owner: an ancestor form, the form= form, or the
                                         // form the parser still had open; kNoNode for none
};

// An order and where each part of it is written.
struct FoundOrder {
  PageOrder order;
  std::size_t node = 0;           // the form or the link
  std::size_t addressOffset = 0;  // decoded offset of the action or href value (the tag without)
  bool link = false;
  bool hasAddress = false;                // a form without action sends to the page itself
  std::vector<std::size_t> fieldNodes;    // per field: the element that sends it
  std::vector<std::size_t> fieldOffsets;  // per field: decoded offset of its value as written
};

struct PageOrders {
  std::vector<FormControl> controls;  // every named control, in document order
  std::vector<std::size_t> forms;     // every form element, in document order
  std::vector<FoundOrder> orders;     // the forms' ways, then the cart links, in document order
  // Forms whose every order button is disabled: the shop has switched ordering off there (as
  // for a product out of stock), so neither a button nor Enter sends them.
  std::vector<std::size_t> switchedOff;
};

// The field names the cart reads an order from.
bool IsOrderFieldName(std::string_view name);

// An address without its query and fragment, blanks at either end dropped.
std::string AddressWithoutQuery(std::string_view address);

// True when address goes to the cart program: the settings' CGI_BIN, the settings' unset prompt,
// the test cart on this machine, or a path ending in the cart program's name (pellux.cgi,
// pellux.exe, or the last part of CGI_BIN).
bool IsCartAddress(std::string_view address, const Settings &settings);

// True when address is the test cart vendigo-cart on this machine (127.0.0.1 or localhost, port
// 8765).
bool IsTestCartAddress(std::string_view address);

// The controls of the page, its forms, and every order: each way of sending each form (its
// submit buttons, then Enter in a text field, named after the first: Enter in any of them sends
// the same), then each link to the cart program.
PageOrders FindPageOrders(const HtmlDocument &document, const Settings &settings);

// The fields as a form sends them (application/x-www-form-urlencoded, UTF-8).
std::string EncodeFormFields(const std::vector<SentField> &fields);

// True when the order goes to the cart: a link to the cart program, a form sent to it, or a form
// that sends an order field.
bool GoesToCart(const FoundOrder &order, const Settings &settings);

// Text-like inputs and text areas: what the shopper types, not what the page wrote.
bool IsTypedControl(const HtmlNode &control);

}  // namespace vendigo
