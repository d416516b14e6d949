#pragma once

#include <string>
#include <string_view>

#include "core/settings.h"

namespace vendigo {

// Why a catalogue or a page has no product data for search engines: its prices have no
// currency code.
inline constexpr char kCurrencyCodeNeeded[] =
    "Product data for search engines needs the ISO 4217 code of the shop's currency, and the "
    "currency sign does not name only one: set the currency code in the options (such as USD, "
    "CAD or AUD for \"$\").";

// Shown by the options dialog when the code typed is none.
inline constexpr char kCurrencyCodeMessage[] =
    "The currency code must be three letters, such as USD, EUR or GBP (ISO 4217), or empty.";

// True when code is three ASCII capital letters.
bool IsCurrencyCode(std::string_view code);

// The code a currency sign stands for when it stands for only one currency (€ EUR, £ GBP, ₹ INR,
// US$ USD, C$ CAD, ...), or a sign that is a code already (EUR, chf); empty for a sign several
// currencies use: "$", "¥" (yen and yuan), "kr", "Fr".
std::string CurrencyCodeOfSign(std::string_view sign);

// The code of the shop's prices: the CurrencyCode setting, capitalised, when it is a code;
// otherwise CurrencyCodeOfSign of the currency sign. Empty when neither gives one.
std::string ProductCurrencyCode(const Settings &settings);

}  // namespace vendigo
