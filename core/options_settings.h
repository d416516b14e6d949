#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/message_interface.h"
#include "core/settings.h"

namespace vendigo {

// Shown when the cart program's location does not end in one of the two program names.
inline constexpr char kPelluxLocationMessage[] =
    "The location of Pellux must end with pellux.exe or pellux.cgi\r\r"
    "- pellux.exe is for the NT Pellux system. \r"
    "- pellux.cgi is for the UNIX Pellux system.";

// The five texts of the options dialog, as typed.
struct OptionTexts {
  std::string Company;
  std::string Currency;
  std::string OrderButton;
  std::string CGI_BIN;
  std::string ViewCart;
  // The currency code for search engines; empty leaves it to the currency sign.
  std::string CurrencyCode{};
};

// True when the last ten characters of location (all of it when shorter) are "pellux.exe" or
// "pellux.cgi", letter case included.
bool IsPelluxLocation(std::string_view location);

// What OK in the options dialog does. Refuses a location that IsPelluxLocation rejects with
// kPelluxLocationMessage and a currency code that is not empty and, capitalised, no code
// (IsCurrencyCode) with kCurrencyCodeMessage; otherwise writes the five texts and
// settings.PelluxGeneration to the settings file in settingsFolder (made when missing) and, once
// that succeeded, stores the texts into settings. A file that cannot be written is reported with
// its error text and leaves settings as it was. True when the options were saved and the dialog may
// close.
bool SaveOptions(const std::filesystem::path &settingsFolder, Settings &settings,
                 const OptionTexts &texts, MessageInterface &messages);

}  // namespace vendigo
