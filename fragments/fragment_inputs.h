#pragma once

#include <nlohmann/json_fwd.hpp>

#include "builders/addit_table.h"
#include "builders/extended_option.h"
#include "builders/order_item_value.h"
#include "builders/quick_link.h"
#include "builders/text_option.h"
#include "core/settings.h"

namespace vendigo {

// The JSON input of each vendigo-html command that takes one, and the builder's values it stands
// for. The keys are the dialog's fields; a missing key takes the field's initial value in the
// dialog. Each ...FromInput refuses with JsonInputError (core/json_fields.h) what the command
// refuses: an unknown key, a value of the wrong type, an empty field that the dialog's OK needs.
// Each ...Input writes every key, so that ...FromInput(...Input(values)) gives the values back
// (for the addit rows, as far as the settings' cart generation has tax columns); it moves the
// values' texts into the input.

// pelluxadd: Description, Price, Weight, Taxable ("1", "0" or ""), SmartTaxCode.
OrderItem HiddenItemFromInput(const nlohmann::json &input);
nlohmann::json HiddenItemInput(OrderItem &&item);

// quicklink: the item's five fields, LinkCaption, StatusText, InsertProductInfo, Brackets.
QuickLink QuickLinkFromInput(const nlohmann::json &input);
nlohmann::json QuickLinkInput(QuickLink &&link);

// textadd: Caption, Price, Size, MaxLength.
TextOption TextOptionFromInput(const nlohmann::json &input);
nlohmann::json TextOptionInput(TextOption &&option);

// options: "Name" (text) and "Rows" (up to 19 lists of up to four texts: Description, Price,
// Weight, Readable Text). Missing rows and cells are empty; cells are used as given.
ExtendedOption ExtendedOptionFromInput(const nlohmann::json &input);
nlohmann::json ExtendedOptionInput(ExtendedOption &&option);

// addit: "Mode" ("checkbox", the default, "radio", "select" or "quantity"), "Rows" (up to 19 lists
// of up to five texts: Description, Price, Weight, Taxable, Smart Tax) and "ProductInterface"
// (true to wrap a table into the whole product interface; false when absent). The tax cells count
// only for PelluxGeneration 4 (they are emptied otherwise), and "quantity" needs it.
AddItTable AddItTableFromInput(const nlohmann::json &input, const Settings &settings);
nlohmann::json AddItTableInput(AddItTable &&table);

// The text of an AddItMode in "Mode".
const char *AddItModeName(AddItMode mode);

}  // namespace vendigo
