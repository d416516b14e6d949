#include "palette/fragment_edit_protocol.h"

#include <nlohmann/json.hpp>

#include <array>

namespace vendigo {

namespace {

void TakeText(const nlohmann::json &object, const char *key, std::string &value) {
  const auto found = object.find(key);
  if (found != object.end() && found->is_string()) value = found->get<std::string>();
}

}  // namespace

bool FragmentHasDialog(std::string_view kind) {
  static constexpr std::array<std::string_view, 5> kinds = {"pelluxadd", "quicklink", "textadd",
                                                            "options", "addit"};
  for (std::string_view known : kinds) {
    if (kind == known) return true;
  }
  return false;
}

std::string SettingsJson(const Settings &settings) {
  return nlohmann::json{
      {"Company", settings.Company},          {"Currency", settings.Currency},
      {"OrderButton", settings.OrderButton},  {"CGI_BIN", settings.CGI_BIN},
      {"ViewCart", settings.ViewCart},        {"PelluxGeneration", settings.PelluxGeneration},
      {"CurrencyCode", settings.CurrencyCode}}
      .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

Settings SettingsFromJson(std::string_view json, Settings fallback) {
  const nlohmann::json object = nlohmann::json::parse(json, nullptr, false);
  if (!object.is_object()) return fallback;
  TakeText(object, "Company", fallback.Company);
  TakeText(object, "Currency", fallback.Currency);
  TakeText(object, "OrderButton", fallback.OrderButton);
  TakeText(object, "CGI_BIN", fallback.CGI_BIN);
  TakeText(object, "ViewCart", fallback.ViewCart);
  TakeText(object, "CurrencyCode", fallback.CurrencyCode);
  const auto generation = object.find("PelluxGeneration");
  if (generation != object.end() && generation->is_number_integer()) {
    fallback.PelluxGeneration = generation->get<int>();
  }
  return fallback;
}

}  // namespace vendigo
