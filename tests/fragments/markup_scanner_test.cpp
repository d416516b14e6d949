#include "html/markup_scanner.h"

#include <gtest/gtest.h>

#include <string_view>
#include <tuple>
#include <vector>

namespace vendigo {
namespace {

constexpr std::size_t kNpos = std::string_view::npos;

TEST(MarkupScanner, FindsTextWithoutRegardToCase) {
  // text, needle, from, the first place, the last place.
  const std::vector<
      std::tuple<std::string_view, std::string_view, std::size_t, std::size_t, std::size_t>>
      cases = {
          {"<b>Mug</B></b>", "</b>", 0, 6, 10},      {"Size size SIZE", "size", 0, 0, 10},
          {"Size size SIZE", "size", 1, 5, 10},      {"sIZE", "size", 0, 0, 0},
          {"a WEBBOT b webbot", "webbot", 0, 2, 11}, {"webbot", "webbot", 1, kNpos, kNpos},
          {"web", "webbot", 0, kNpos, kNpos},        {"", "x", 0, kNpos, kNpos},
      };
  for (const auto &[text, needle, from, first, last] : cases) {
    EXPECT_EQ(FindNoCase(text, needle, from), first) << text << " / " << needle;
    EXPECT_EQ(FindLastNoCase(text, needle, from), last) << text << " / " << needle;
  }
}

}  // namespace
}  // namespace vendigo
