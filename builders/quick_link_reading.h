#pragma once

#include <string>
#include <string_view>

#include "builders/fragment_read.h"
#include "builders/quick_link.h"

namespace vendigo {

// The quick link read back from the place of its link (<A HREF="CART?pelluxadd=...">): the item
// from the address, the status text from the script, the caption up to </A>, the brackets around
// the link, and the product info before it (bold description, " -- ", the price in red) when its
// description is the link's. Its bytes show the cart's address and, with product info, the
// currency sign. place.earliest bounds how far back the brackets and product info may reach.
FragmentRead<QuickLink> ReadQuickLink(const ReadPlace &place);

// One field as URLEnCode wrote it, read back: "+" is a blank, "%XX" a byte of Windows-1252, and
// a numeric character reference that URLEnCode writes for a character Windows-1252 lacks is that
// character again.
std::string URLDeCode(std::string_view encoded);

}  // namespace vendigo
