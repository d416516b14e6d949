#pragma once

#include <string>

#include "pages/catalogue_row.h"

namespace vendigo {

// Why a row's cells cannot go into a page or a file name as they stand; empty when they can. No
// cell may hold a NUL character. The cells that name something (Description, SmartTaxCode,
// ProductImage, File and the option groups' names) are one line each: a line break would split
// the page's file name, the item the cart reads or an option's field name. LongText and the list
// cells may hold line breaks.
std::string CellCharacterError(const CatalogueRow &row);

}  // namespace vendigo
