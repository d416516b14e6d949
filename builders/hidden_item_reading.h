#pragma once

#include <string_view>

#include "builders/fragment_read.h"
#include "builders/order_item_value.h"

namespace vendigo {

// The hidden item read back from the place of its opening WebBot comment: the comment that
// starts the span (StartSpan), a hidden input named pelluxadd, the comment that ends it (EndSpan),
// blanks allowed between them. A bare hidden input is no such fragment: rebuilt, it would gain
// the comments. The comments' other words are not kept (a product page writes its own marker
// text): rebuilt, they are the hidden item dialog's.
FragmentRead<OrderItem> ReadHiddenItem(const ReadPlace &place);

// The five fields of an item value as HiddenItemHtml writes it (each field's double quotes as
// "&quot;"). A "^" typed in a field shifts the later ones, so with more than five parts the
// fields are taken where the description and price are not empty, the price converts and
// Taxable is "1", "0" or "", the description longest first; any such reading writes the same
// value again.
OrderItem ItemFromValue(std::string_view written);

}  // namespace vendigo
