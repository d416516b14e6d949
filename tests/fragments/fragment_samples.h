#pragma once

// Inputs for the fragment commands as a merchant types them: accents, quotes, ampersands, "^",
// "<", line breaks, long texts, empty optional fields. Shared by the round-trip test and the
// fuzz target.

#include <nlohmann/json.hpp>

#include <array>
#include <random>
#include <string>

#include "core/settings.h"

namespace vendigo::test {

class FragmentSamples {
 public:
  explicit FragmentSamples(std::uint32_t seed) : random_(seed) {}

  std::string Text() {
    static constexpr std::array<const char *, 34> pieces = {
        "Mug",     "blue",    " ",
        " ",       "T-shirt", "é",
        "Ü",       "€",       "杯",
        "\"",      "'",       "&",
        "&amp;",   "&quot;",  "^",
        "<",       ">",       "<b>",
        "_",       "-",       ":",
        "\\",      "\r\n",    "\n",
        "#",       "%",       "+",
        "~",       " -- ",    "4",
        "0",       ".",       "%zf_ViewCart_here%",
        "&#26479;"};
    const std::size_t count = Below(20) == 0 ? 40 + Below(200) : Below(8);
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += pieces[Below(pieces.size())];
    return text;
  }

  std::string Price() {
    static constexpr std::array<const char *, 10> prices = {
        "4.50", "0", "1234.5", ".5", "12.", "0.125", "2.675", "99999999.99", "00.00", "7"};
    return Below(6) == 0 ? Text() : prices[Below(prices.size())];
  }

  std::string Weight() {
    static constexpr std::array<const char *, 5> weights = {"", "0", "1", "12", "2.5"};
    return Below(8) == 0 ? Text() : weights[Below(weights.size())];
  }

  std::string Taxable() {
    static constexpr std::array<const char *, 4> taxable = {"", "0", "1", "x"};
    return taxable[Below(taxable.size())];
  }

  bool Coin() { return Below(2) == 0; }

  // The JSON input of the command (pelluxadd, quicklink, textadd, options, addit); keys left
  // out at random.
  nlohmann::json Input(const std::string &command) {
    nlohmann::json input = nlohmann::json::object();
    const auto maybe = [&](const char *key, const std::string &value) {
      if (Below(6) != 0) input[key] = value;
    };
    if (command == "pelluxadd" || command == "quicklink") {
      maybe("Description", Text());
      maybe("Price", Price());
      maybe("Weight", Weight());
      maybe("Taxable", Taxable());
      maybe("SmartTaxCode", Coin() ? "" : Text());
      if (command == "quicklink") {
        maybe("LinkCaption", Text());
        maybe("StatusText", Coin() ? "" : Text());
        input["InsertProductInfo"] = Coin();
        input["Brackets"] = Coin();
      }
    } else if (command == "textadd") {
      maybe("Caption", Text());
      maybe("Price", Price());
      maybe("Size", Coin() ? "20" : Text());
      maybe("MaxLength", Coin() ? "40" : Text());
    } else if (command == "options" || command == "addit") {
      const bool options = command == "options";
      if (options) maybe("Name", Text());
      if (!options) {
        static constexpr std::array<const char *, 4> modes = {"checkbox", "radio", "select",
                                                              "quantity"};
        input["Mode"] = modes[Below(modes.size())];
        input["ProductInterface"] = Coin();
      }
      nlohmann::json rows = nlohmann::json::array();
      for (std::size_t row = Below(20); row > 0; --row) {
        if (Below(5) == 0) {
          rows.push_back(nlohmann::json::array());
          continue;
        }
        nlohmann::json cells = {Text(), Price(), Weight()};
        cells.push_back(options ? Text() : Taxable());
        if (!options) cells.push_back(Coin() ? "" : Text());
        rows.push_back(cells);
      }
      input["Rows"] = rows;
    }
    return input;
  }

  // Settings as merchants have them: the defaults, a shop of generation 4 with a sign of its
  // own, and an order button of its own HTML.
  Settings SomeSettings() {
    Settings settings = DefaultSettings();
    switch (Below(3)) {
      case 1:
        settings.CGI_BIN = "/cgi-bin/pellux.cgi";
        settings.Currency = "€ ";
        settings.OrderButton = "Add to basket";
        settings.ViewCart = "Your basket & more";
        settings.PelluxGeneration = 4;
        break;
      case 2:
        settings.CGI_BIN = "https://shop.example/cgi-bin/pellux.exe";
        settings.Currency = "&pound;";
        settings.OrderButton = "<input type=\"image\" src=\"buy.gif\" alt=\"Buy\">";
        break;
      default:
        break;
    }
    return settings;
  }

 private:
  std::size_t Below(std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
  }

  std::mt19937 random_;
};

}  // namespace vendigo::test
