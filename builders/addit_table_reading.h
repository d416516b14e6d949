#pragma once

#include "builders/addit_table.h"
#include "builders/fragment_read.h"

namespace vendigo {

// The addit fragment read back, with its closing paragraph, from the place of its first tag:
// - <CENTER> of a checkbox, radio or quantity table: its rows (mode from their inputs; a table
//   without rows reads as checkbox, which builds the same);
// - <SELECT NAME="addit"> of the select list;
// - <FORM ACTION="CART" METHOD="POST"> of a table in its whole product interface (the ordering
//   instructions as filled in by hand are not kept: rebuilt, they are the template's again).
// Each row's fields come from the value the cart reads (the price with its thousands separators
// taken out), the description from the shown cell where the value holds it; the currency sign
// from the shown price, the cart's address, order button and view-cart text from the interface.
// Tax fields, and the quantity table, say the cart is of generation 4 (settings.PelluxGeneration).
FragmentRead<AddItTable> ReadAddItTable(const ReadPlace &place);

}  // namespace vendigo
