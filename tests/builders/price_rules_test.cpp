#include "builders/price_rules.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "builders/price_kit.h"

namespace vendigo {
namespace {

struct FormatCase {
  double value;
  std::string expected;
};

TEST(FormatPriceTest, PatternRoundingAndFailure) {
  const std::vector<FormatCase> cases = {
      {0, "0.00"},
      {12, "12.00"},
      {0.5, "0.50"},
      {1000, "1,000.00"},
      {1234.5, "1,234.50"},
      {1234567.891, "1,234,567.89"},
      {999.995, "1,000.00"},  // stored as 999.99500000000000455: rounds up across a group
      {999999.999, "1,000,000.00"},
      {0.125, "0.13"},  // stored exactly: half away from zero
      {2.675, "2.67"},  // stored as 2.67499999999999982
      {1.005, "1.00"},  // stored as 1.00499999999999989
      {0.005, "0.01"},  // 18 digits: 5.00000000000000010e-03
      {0.0049999, "0.00"},
      {1e-300, "0.00"},
      {123456789012.34, "123,456,789,012.34"},
      {-0.0, "0.00"},
      {-0.001, "0.00"},  // rounds to zero: no sign
      {-0.005, "-0.01"},
      {-1234.5, "-1,234.50"},
      {-2.675, "-2.67"},
      {1e20, "100,000,000,000,000,000,000.00"},
      {std::numeric_limits<double>::quiet_NaN(), "00.00"},
      {std::numeric_limits<double>::infinity(), "00.00"},
      {-std::numeric_limits<double>::infinity(), "00.00"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(FormatPrice(c.value), c.expected) << "value " << c.value;
  }
}

TEST(IsNumberTextTest, Cases) {
  struct Case {
    std::string text;
    bool pointsAllowed;
    bool expected;
  };
  const std::vector<Case> cases = {
      {"", true, true},           {"", false, true},      {"0123456789", false, true},
      {"12.5", true, true},       {"12.5", false, false}, {"1.2.3", true, true},
      {".", true, true},          {"-1", true, false},    {"-1", false, false},
      {"4,5", true, false},       {" 4", true, false},    {"1e5", true, false},
      {"\xd9\xa3", false, false},  // Arabic-Indic digit three is no digit here
  };
  for (const auto &c : cases) {
    EXPECT_EQ(IsNumberText(c.text, c.pointsAllowed), c.expected)
        << "\"" << c.text << "\" points " << c.pointsAllowed;
  }
}

struct ConvertCase {
  std::string text;
  std::optional<double> expected;
};

const std::vector<ConvertCase> &ConvertCases() {
  static const std::vector<ConvertCase> cases = {
      {"4", 4.0},
      {"4.5", 4.5},
      {"4.50", 4.5},
      {".5", 0.5},
      {"12.", 12.0},
      {".", 0.0},
      {"007", 7.0},
      {"1234.56", 1234.56},
      {"", std::nullopt},
      {"1.2.3", std::nullopt},
      {"..", std::nullopt},
      {"-1", std::nullopt},
      {"+1", std::nullopt},
      {" 4", std::nullopt},
      {"4 ", std::nullopt},
      {"4,5", std::nullopt},
      {"1,234.50", std::nullopt},
      {"1e5", std::nullopt},
      {"$4", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
      {std::string(400, '9'), std::nullopt},      // beyond double range
      {"0." + std::string(400, '0') + "1", 0.0},  // far below a cent
  };
  return cases;
}

void ExpectConversions() {
  for (const auto &c : ConvertCases()) {
    const std::optional<double> got = ConvertPrice(c.text);
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << "\"" << c.text << "\"";
    if (got) {
      EXPECT_EQ(*got, *c.expected) << "\"" << c.text << "\"";
    }
  }
}

TEST(ConvertPriceTest, Cases) {
  ExpectConversions();
}

// Under a locale whose decimal point is "," prices are still read with "." and formatted with
// "," and "." in their places.
// Switches to a German locale, whose decimal point is ",". When the machine has none generated,
// one is built into a temporary folder with localedef. False when neither works.
bool UseGermanLocale() {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "vendigo-test-locales";
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    std::filesystem::create_directories(folder);
    [[maybe_unused]] const int status = std::system(command.c_str());  // warnings give status 1
    setenv("LOCPATH", folder.c_str(), 1);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) return false;
  }
  return std::string(std::localeconv()->decimal_point) == ",";
}

TEST(ConvertPriceTest, IndependentOfLocale) {
  struct LocaleRestorer {
    std::string previous = std::setlocale(LC_ALL, nullptr);
    ~LocaleRestorer() { std::setlocale(LC_ALL, previous.c_str()); }
  } restorer;
  ASSERT_TRUE(UseGermanLocale()) << "no German locale, and localedef could not build one";
  ExpectConversions();
  EXPECT_EQ(FormatPrice(1234567.891), "1,234,567.89");
}

TEST(PriceDisplayTest, CurrencyDirectlyBeforePrice) {
  EXPECT_EQ(PriceDisplay("$", FormatPrice(1234.5)), "$1,234.50");
  EXPECT_EQ(PriceDisplay("\xe2\x82\xac", "4.5"),
            "\xe2\x82\xac"
            "4.5");
  EXPECT_EQ(PriceDisplay("", "00.00"), "00.00");
}

TEST(DefaultRowFillTest, Cases) {
  struct Case {
    std::string description, price, weight;
    std::string expectedPrice, expectedWeight;
  };
  const std::vector<Case> cases = {
      {"Mug", "", "", "00.00", "0"},  {"Mug", "4.50", "", "4.50", "0"},
      {"Mug", "", "3", "00.00", "3"}, {"Mug", "4.50", "3", "4.50", "3"},
      {"", "", "", "", ""},         // no description: the row is no entry and stays empty
      {" ", "", "", "00.00", "0"},  // a blank is text
  };
  for (auto c : cases) {
    ApplyDefaultRowFill(c.description, c.price, c.weight);
    EXPECT_EQ(c.price, c.expectedPrice) << "\"" << c.description << "\"";
    EXPECT_EQ(c.weight, c.expectedWeight) << "\"" << c.description << "\"";
  }
}

TEST(CheckedNumberCellTest, Cases) {
  struct Case {
    std::string text;
    bool pointsAllowed;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"4.50", true, "4.50"},  {"1.2.3", true, "1.2.3"}, {"", true, ""},
      {"4,50", true, "00.00"}, {"-1", true, "00.00"},    {"12", false, "12"},
      {"1.5", false, "0"},     {"", false, ""},          {"x", false, "0"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(CheckedNumberCell(c.text, c.pointsAllowed), c.expected) << "\"" << c.text << "\"";
  }
}

TEST(PriceKitTest, DefaultsAndCustomizedStrings) {
  TPriceKit kit;
  EXPECT_TRUE(kit.PriceRequired);
  EXPECT_TRUE(kit.CustomizedStrings().empty());
  const std::vector<std::string> *owned = &kit.CustomizedStrings();
  std::vector<std::string> lines = {"<table>", "%zf_rows%", "</table>"};
  kit.SetCustomizedStrings(lines);
  lines[1] = "changed";
  EXPECT_EQ(kit.CustomizedStrings(),
            (std::vector<std::string>{"<table>", "%zf_rows%", "</table>"}));
  EXPECT_EQ(&kit.CustomizedStrings(), owned);
  kit.SetCustomizedStrings(kit.CustomizedStrings());
  EXPECT_EQ(kit.CustomizedStrings().size(), 3u);
  EXPECT_EQ(kit.FormatPrice(2.675), "2.67");
  EXPECT_EQ(kit.ReplaceText("%ZF_PRICE%", "a %zf_price% b", "9"), "a 9 b");
}

}  // namespace
}  // namespace vendigo
