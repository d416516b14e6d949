#include "builders/key_filters.h"

#include <vector>

#include <gtest/gtest.h>

namespace vendigo {
namespace {

// One row per typed character: whether each filter lets it through.
struct Case {
  char32_t key;
  bool price, weight, extendedOptionGrid, addItGrid;
};

TEST(KeyFiltersTest, Table) {
  const std::vector<Case> cases = {
      {U'0', true, true, true, true},        {U'5', true, true, true, true},
      {U'9', true, true, true, true},        {U'.', true, false, true, true},
      {U'\b', true, true, true, true},       {U',', false, false, true, true},
      {U'-', false, false, true, true},      {U' ', false, false, true, true},
      {U'a', false, false, true, true},      {U'/', false, false, true, true},
      {U':', false, false, true, true},      {U'^', false, false, false, false},
      {U'"', false, false, false, true},     {U'<', false, false, true, false},
      {U'>', false, false, true, false},     {U'\'', false, false, true, true},
      {U'&', false, false, true, true},      {U'\u00e9', false, false, true, true},
      {U'\u0663', false, false, true, true},  // Arabic-Indic three is no digit here
      {U'\uff3e', false, false, true, true},  // fullwidth circumflex is no caret
      {U'\u0000', false, false, true, true}, {U'\U0001F600', false, false, true, true},
  };
  for (const auto &c : cases) {
    const auto code = static_cast<unsigned>(c.key);
    EXPECT_EQ(PriceKeyAllowed(c.key), c.price) << "U+" << std::hex << code;
    EXPECT_EQ(WeightKeyAllowed(c.key), c.weight) << "U+" << std::hex << code;
    EXPECT_EQ(ExtendedOptionGridKeyAllowed(c.key), c.extendedOptionGrid)
        << "U+" << std::hex << code;
    EXPECT_EQ(AddItGridKeyAllowed(c.key), c.addItGrid) << "U+" << std::hex << code;
  }
}

}  // namespace
}  // namespace vendigo
