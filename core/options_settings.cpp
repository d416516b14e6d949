#include "core/options_settings.h"

#include <system_error>
#include <utility>

#include "core/currency_code.h"
#include "core/file_error.h"

namespace vendigo {

bool IsPelluxLocation(std::string_view location) {
  // The names are ASCII, and in UTF-8 an ASCII byte is always a whole character, so the last
  // ten characters equal one of them exactly when the last ten bytes do. A text of fewer than
  // ten bytes matches neither.
  constexpr std::size_t kNameLength = 10;
  if (location.size() < kNameLength) return false;
  const std::string_view tail = location.substr(location.size() - kNameLength);
  return tail == "pellux.exe" || tail == "pellux.cgi";
}

bool SaveOptions(const std::filesystem::path &settingsFolder, Settings &settings,
                 const OptionTexts &texts, MessageInterface &messages) {
  if (!IsPelluxLocation(texts.CGI_BIN)) {
    messages.ShowError(kPelluxLocationMessage);
    return false;
  }
  std::string code = texts.CurrencyCode;
  for (char &c : code) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (!code.empty() && !IsCurrencyCode(code)) {
    messages.ShowError(kCurrencyCodeMessage);
    return false;
  }
  Settings saved{
      .Company = texts.Company,
      .Currency = texts.Currency,
      .OrderButton = texts.OrderButton,
      .CGI_BIN = texts.CGI_BIN,
      .ViewCart = texts.ViewCart,
      .PelluxGeneration = settings.PelluxGeneration,
      .CurrencyCode = code,
  };
  try {
    // The settings folder of an installed copy is made at the first save. When that fails, the
    // save below reports the file it could not write.
    std::error_code ignored;
    std::filesystem::create_directories(settingsFolder, ignored);
    SaveSettings(settingsFolder, saved);
  } catch (const FileError &error) {
    messages.ShowError(error.what());
    return false;
  }
  // The generation in saved is the one settings already holds, so only the texts change.
  settings = std::move(saved);
  return true;
}

}  // namespace vendigo
