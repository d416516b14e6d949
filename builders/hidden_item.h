#pragma once

#include <string>

#include "builders/order_item_value.h"

namespace vendigo {

// What the hidden item dialog tells the user once the element is in the page. Paragraphs are
// separated by two carriage returns; the last character is the pilcrow.
inline constexpr char kHiddenItemExplanation[] =
    "pelluxadd is a hidden form element. A hidden form element is not visible on your web page "
    "when published. These form elements are what communicate with Pellux.\r\rIf you are using "
    "FrontPage 98, this form element will be displayed in design view as \"!Pellux!\" You can "
    "click this text to change the value of the element.\r\rIn FrontPage 2000 you will need to "
    "click the \"Show All\" button to show the WebBots on the page. The \"Show All\" button looks "
    "like this: \xC2\xB6";

// The hidden form field named pelluxadd that carries the item to the cart, wrapped in the
// editor's HTMLMarkup WebBot comments so design view shows a marker where it sits. The value is
// the item form of the five fields as typed, except that a double quote in a field is written as
// "&quot;" so it cannot end the attribute; a "^" in a field is kept and shifts later fields.
std::string HiddenItemHtml(const OrderItem &item);

}  // namespace vendigo
