#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "builders/fragment_read.h"
#include "core/settings.h"

namespace vendigo {

// The five simple elements read back. Each takes the place of its first tag (and the settings
// given, where they tell what the fragment is), and gives back what its bytes show of the
// settings: the cart's address (form, view-cart link, eBay form), the view-cart text, the order
// button (buy button, eBay form).

// <form method="POST" action="CART"><p>&nbsp;</p></form>: a form holding nothing else.
FragmentRead<NoValues> ReadFormContainer(const ReadPlace &place);
// An input named quantity of type text (or of no type), whatever its value and size.
FragmentRead<NoValues> ReadQuantityBox(const ReadPlace &place);
// A link to the bare cart address (no query), as the page check tells the cart's addresses
// (IsCartAddress: the given CGI_BIN, an address whose file is pellux.cgi or pellux.exe...).
FragmentRead<NoValues> ReadViewCartLink(const ReadPlace &place, const Settings &settings);
// The order button. A submit input with a caption of two characters or more and no other
// attribute is a buy button wherever it stands, as a merchant who inserted one expects; so is the
// settings' own order button HTML (an OrderButton beginning with "<") where its bytes are found.
FragmentRead<NoValues> ReadBuyButton(const ReadPlace &place, const Settings &settings);
// A form to the cart holding inputs named description, price and eop_Shipping, closed by the
// order button before </FORM>.
FragmentRead<NoValues> ReadEbayForm(const ReadPlace &place);

// The OrderButton setting that OrderButtonHtml writes as these bytes; nullopt for none.
std::optional<std::string_view> OrderButtonFromHtml(std::string_view html);

}  // namespace vendigo
