#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "pages/product_page.h"

namespace vendigo {

// The merchant's entries in input that a page filled from templateText would not show, in the
// wizard's page order: each kind of entry the input holds in its mode whose placeholder the
// template lacks ("description", "price", "weight and tax", "product list", "product image",
// "long description", "options", "related products"). The template's "image" blocks are resolved
// first, as the page is built.
std::vector<std::string> EntriesNotShown(std::string_view templateText,
                                         const ProductPageInput &input, const Settings &settings);

// The wizard's line about them: empty when every entry shows, else
// "This template does not show your " followed by the entries, joined by ", ", and ".".
std::string NotShownLine(const std::vector<std::string> &entries);

}  // namespace vendigo
