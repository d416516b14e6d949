#include "core/settings.h"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <system_error>

#include "core/file_error.h"
#include "core/profile_file.h"
#include "core/text_encoding.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

constexpr int kDefaultGeneration = 3;

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// text as a whole read as a 32-bit integer in base; nullopt when anything is left over or the
// number does not fit.
std::optional<int> ParseInt32(std::string_view text, int base) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int> ParseGeneration(std::string_view text) {
  if (text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X"))) {
    const std::string_view digits = text.substr(2);
    for (const char c : digits) {
      if (!IsHexDigit(c)) return std::nullopt;
    }
    return ParseInt32(digits, 16);
  }
  // An optional sign, then digits only. from_chars takes a "-" but not a "+", so a "+" is
  // dropped before the number is read.
  const bool plus = text.starts_with('+');
  const std::string_view digits = text.substr(plus || text.starts_with('-') ? 1 : 0);
  if (digits.empty()) return std::nullopt;
  for (const char c : digits) {
    if (!IsAsciiDigit(c)) return std::nullopt;
  }
  return ParseInt32(plus ? digits : text, 10);
}

}  // namespace

Settings DefaultSettings() {
  return Settings{
      .Company = "Your Company Name",
      .Currency = "$",
      .OrderButton = "Order!",
      .CGI_BIN = "<Enter the URL to the Pellux CGI Program here>",
      .ViewCart = "View Your Shopping Cart",
      .PelluxGeneration = kDefaultGeneration,
      .CurrencyCode = "",
  };
}

Settings LoadSettingsFile(const fs::path &file) {
  const ProfileFile profile = LoadProfileFile(file);
  const Settings defaults = DefaultSettings();
  auto text = [&](const char *key, const std::string &fallback) {
    return profile.Read(kSettingsSection, key).value_or(fallback);
  };
  Settings settings;
  settings.Company = text("Company", defaults.Company);
  settings.Currency = text("Currency", defaults.Currency);
  settings.OrderButton = text("OrderButton", defaults.OrderButton);
  settings.CGI_BIN = text("CGI_BIN", defaults.CGI_BIN);
  settings.ViewCart = text("ViewCart", defaults.ViewCart);
  const auto generation = profile.Read(kSettingsSection, "PelluxGeneration");
  settings.PelluxGeneration =
      generation ? ParsePelluxGeneration(*generation) : defaults.PelluxGeneration;
  settings.CurrencyCode = text("CurrencyCode", "");
  return settings;
}

Settings LoadSettings(const fs::path &programDir) {
  return LoadSettingsFile(programDir / kSettingsFileName);
}

void SaveSettingsFile(const fs::path &file, const Settings &values) {
  // A file that is there but cannot be read is not written over: its other sections and keys
  // would be lost.
  auto profile = TryLoadProfileFile(file);
  if (!profile) {
    std::error_code error;
    const fs::path shown = fs::absolute(file, error);
    throw FileError("Unable to write to " + (error ? file : shown).string());
  }
  profile->Write(kSettingsSection, "Company", values.Company);
  profile->Write(kSettingsSection, "Currency", values.Currency);
  profile->Write(kSettingsSection, "OrderButton", values.OrderButton);
  profile->Write(kSettingsSection, "CGI_BIN", values.CGI_BIN);
  profile->Write(kSettingsSection, "ViewCart", values.ViewCart);
  profile->Write(kSettingsSection, "PelluxGeneration", std::to_string(values.PelluxGeneration));
  // A file of a shop that never chose a code stays as it was.
  if (!values.CurrencyCode.empty() || profile->Read(kSettingsSection, "CurrencyCode")) {
    profile->Write(kSettingsSection, "CurrencyCode", values.CurrencyCode);
  }
  SaveProfileFileAtomically(file, *profile);
}

void SaveSettings(const fs::path &programDir, const Settings &values) {
  SaveSettingsFile(programDir / kSettingsFileName, values);
}

void LoadButtonTexts(const fs::path &programDir, std::vector<std::string> &list) {
  const fs::path file = programDir / kButtonTextsFileName;
  std::error_code error;
  if (!fs::exists(file, error) && !error) return;
  std::string reason;
  const auto bytes = ReadFileBytes(file, reason);
  if (!bytes) throw FileError("Cannot open file \"" + file.string() + "\". " + reason);
  list.clear();
  for (TextLine &line : SplitLines(DecodeTextFile(*bytes))) list.push_back(std::move(line.text));
}

int ParsePelluxGeneration(const std::string &text) {
  return ParseGeneration(text).value_or(kDefaultGeneration);
}

std::string OrderButtonHtml(const Settings &settings) {
  const std::string &caption = settings.OrderButton;
  if (Utf8Length(caption) < 2) return "";
  if (caption.starts_with('<')) return caption;
  return "<input TYPE=\"SUBMIT\" VALUE=\"" + caption + "\">";
}

}  // namespace vendigo
