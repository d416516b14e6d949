#pragma once

// Inputs for the fragment commands as a merchant types them: accents, quotes, ampersands, "^",
// "<", line breaks, long texts, empty optional fields, keys left out.

#include <nlohmann/json.hpp>

#include <random>
#include <string>
#include <vector>

#include "core/settings.h"

namespace vendigo::test {

class FragmentSamples {
 public:
  explicit FragmentSamples(std::uint32_t seed) : random_(seed) {}

  std::string Text() {
    static const std::vector<std::string> pieces = {"Mug",     "blue",    " ",
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
    std::string text;
    for (std::size_t i = Below(20) == 0 ? 40 + Below(200) : Below(8); i > 0; --i) {
      text += Pick(pieces);
    }
    return text;
  }

  std::string Price() {
    return Below(6) == 0 ? Text()
                         : Pick({"4.50", "0", "1234.5", ".5", "12.", "0.125", "2.675",
                                 "99999999.99", "00.00", "7"});
  }
  std::string Weight() { return Below(8) == 0 ? Text() : Pick({"", "0", "1", "12", "2.5"}); }
  bool Coin() { return Below(2) == 0; }

  // The JSON input of pelluxadd, quicklink, textadd, options or addit.
  nlohmann::json Input(const std::string &command) {
    nlohmann::json input = nlohmann::json::object();
    const auto maybe = [&](const char *key, const std::string &value) {
      if (Below(6) != 0) input[key] = value;
    };
    if (command == "pelluxadd" || command == "quicklink") {
      maybe("Description", Text());
      maybe("Price", Price());
      maybe("Weight", Weight());
      maybe("Taxable", Pick({"", "0", "1", "x"}));
      maybe("SmartTaxCode", Coin() ? "" : Text());
    }
    if (command == "quicklink") {
      maybe("LinkCaption", Text());
      maybe("StatusText", Coin() ? "" : Text());
      input["InsertProductInfo"] = Coin();
      input["Brackets"] = Coin();
    } else if (command == "textadd") {
      maybe("Caption", Text());
      maybe("Price", Price());
      maybe("Size", Coin() ? "20" : Text());
      maybe("MaxLength", Coin() ? "40" : Text());
    } else if (command == "options" || command == "addit") {
      const bool options = command == "options";
      if (options) maybe("Name", Text());
      if (!options) input["Mode"] = Pick({"checkbox", "radio", "select", "quantity"});
      if (!options) input["ProductInterface"] = Coin();
      input["Rows"] = nlohmann::json::array();
      for (std::size_t row = Below(20); row > 0; --row) {
        nlohmann::json cells = nlohmann::json::array();
        if (Below(5) != 0)
          cells = {Text(), Price(), Weight(), options ? Text() : Pick({"", "0", "1"})};
        if (!options && !cells.empty()) cells.push_back(Coin() ? "" : Text());
        input["Rows"].push_back(cells);
      }
    }
    return input;
  }

  // The defaults, a shop of generation 4 with a sign of its own, or an order button of HTML.
  Settings SomeSettings() {
    Settings settings = DefaultSettings();
    if (const std::size_t kind = Below(3); kind == 1) {
      settings = {"Shop", "€ ", "Add to basket", "/cgi-bin/pellux.cgi", "Your basket & more", 4};
    } else if (kind == 2) {
      settings.CGI_BIN = "https://shop.example/cgi-bin/pellux.exe";
      settings.Currency = "&pound;";
      settings.OrderButton = "<input type=\"image\" src=\"buy.gif\" alt=\"Buy\">";
    }
    return settings;
  }

 private:
  std::size_t Below(std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
  }
  std::string Pick(const std::vector<std::string> &choices) {
    return choices[Below(choices.size())];
  }

  std::mt19937 random_;
};

}  // namespace vendigo::test
