#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vendigo {

// The merchant's configuration, one record per process. Field names are the key names of
// the settings file. Before LoadSettings has run the texts are empty and the generation is 0.
struct Settings {
  std::string Company;
  std::string Currency;
  std::string OrderButton;
  std::string CGI_BIN;
  std::string ViewCart;
  int PelluxGeneration = 0;
  // The ISO 4217 code of the shop's currency for search engines' product data and feeds (USD,
  // EUR); empty: taken from the currency sign where the sign names one currency
  // (ProductCurrencyCode).
  std::string CurrencyCode{};

  friend bool operator==(const Settings &, const Settings &) = default;
};

inline constexpr char kSettingsFileName[] = "pelluxfp.ini";
inline constexpr char kSettingsSection[] = "CONFIGS";
inline constexpr char kButtonTextsFileName[] = "buttons.slu";

// The values a key takes when it is missing from the settings file.
Settings DefaultSettings();

// Reads programDir/pelluxfp.ini. A missing, empty or unreadable file gives the defaults.
Settings LoadSettings(const std::filesystem::path &programDir);
// Reads the given settings file with the same rules as LoadSettings.
Settings LoadSettingsFile(const std::filesystem::path &file);

// Writes all six keys to programDir/pelluxfp.ini, keeping every other line of the file, and
// CurrencyCode when it is set or the file has the key already.
// The new file is written beside the old one and renamed into place, so the old file stays
// whole when writing fails. Throws FileError("Unable to write to <full path>") on failure.
void SaveSettings(const std::filesystem::path &programDir, const Settings &values);
void SaveSettingsFile(const std::filesystem::path &file, const Settings &values);

// Replaces list with the lines of programDir/buttons.slu when that file exists; otherwise
// leaves list as it was. Throws FileError when the file exists but cannot be read.
void LoadButtonTexts(const std::filesystem::path &programDir, std::vector<std::string> &list);

// The generation as stored: hexadecimal after "0x"/"0X" in a text longer than two characters,
// decimal otherwise; 3 when the text is no valid 32-bit integer.
int ParsePelluxGeneration(const std::string &text);

// The order button fragment: empty when OrderButton has fewer than two characters, OrderButton
// itself when it begins with "<", otherwise a submit input captioned with it.
std::string OrderButtonHtml(const Settings &settings);

}  // namespace vendigo
