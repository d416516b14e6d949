#pragma once

#include <nlohmann/json_fwd.hpp>

#include "pages/product_page.h"

namespace vendigo {

// The record the product page wizard would fill, read from one JSON object:
//   Mode          "single" (the default) or "multiple"
//   Description, Price, Weight, SmartTaxCode, LongText   texts ("" when absent)
//   Taxable       true, false, "1", "0"; absent, null or "" leave it unstated
//   Descriptions  rows of up to six texts: Cart Description, Price, Weight, Taxable, Smart Tax,
//                 Readable Text (at most 29 rows)
//   Options       up to three objects {"Name": text, "Rows": rows of up to four texts: Cart
//                 Description, Price, Weight, Readable Text (at most 49 rows)}
//   Related       rows of up to five texts: Cart Description, Price, Weight, Taxable, Smart Tax
//                 (at most 29 rows)
//   ProductImage  the path of a .jpg, .gif or .png file, made absolute against the current
//                 folder; absent or "": no image
//   SKU, Brand    texts for search engines; GTIN: 8, 12, 13 or 14 digits with their check digit
//   Availability  "in stock" (the default), "out of stock" or "preorder"
// Missing trailing cells of a row are empty. Throws JsonInputError naming the key at fault.
ProductPageInput ReadProductPageInput(const nlohmann::json &input);

}  // namespace vendigo
