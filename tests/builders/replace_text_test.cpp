#include <chrono>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "builders/price_rules.h"

namespace vendigo {
namespace {

// The replacement done the slow, obvious way: a lower-cased shadow of the text, searched from
// the start after every replacement, with replaced text filled with "X" in the shadow.
std::string ReferenceReplace(const std::string &pattern, const std::string &source,
                             const std::string &replacement) {
  auto lower = [](std::string s) {
    for (char &c : s) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
  };
  std::string result = source;
  const std::string lowerPattern = lower(pattern);
  std::string shadow = lower(source);
  if (pattern.empty()) return source;
  for (std::size_t at = shadow.find(lowerPattern); at != std::string::npos;
       at = shadow.find(lowerPattern)) {
    result.replace(at, pattern.size(), replacement);
    shadow.replace(at, pattern.size(), std::string(replacement.size(), 'X'));
  }
  return result;
}

struct Case {
  std::string pattern, source, replacement, expected;
};

TEST(ReplaceTextTest, Examples) {
  const std::vector<Case> cases = {
      {"'", "it's Bob's", "\\'", "it\\'s Bob\\'s"},  // replacement holds the pattern
      {"%ZF_PRICE%", "a %zf_price% b", "9", "a 9 b"},
      {"%zf_price%", "%ZF_Price%%zf_PRICE%", "12.50", "12.5012.50"},
      {"", "abc", "x", "abc"},
      {"abc", "", "x", ""},
      {"abcd", "abc", "x", "abc"},
      {"\"", "say \"hi\"", "&quot;", "say &quot;hi&quot;"},
      {"\xc3\x89", "\xc3\xa9t\xc3\xa9 \xc3\x89T\xc3\x89", "E",  // É does not match é
       "\xc3\xa9t\xc3\xa9 ET"
       "E"},
      {"ab", "aabb", "", ""},  // removals join text into new occurrences
      {"ab", "aAbB", "", ""},
      {"ab", "aabb", "-", "a-b"},  // a replacement keeps the sides apart
      {"aba", "ababa", "", "ba"},  // leftmost occurrence first
      {"aba", "ababa", "X", "Xba"},
      {"aa", "aaaaa", "a", "aaa"},  // inserted text is not searched again
      {"x", "XxX", "xx", "xxxxxx"},
      {"a", "aaa", "", ""},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(ReplaceText(c.pattern, c.source, c.replacement), c.expected)
        << "pattern \"" << c.pattern << "\" source \"" << c.source << "\"";
    EXPECT_EQ(ReferenceReplace(c.pattern, c.source, c.replacement), c.expected)
        << "reference, pattern \"" << c.pattern << "\" source \"" << c.source << "\"";
  }
}

TEST(ReplaceTextTest, AgreesWithReferenceOnRandomInputs) {
  const std::string alphabet = "aAbB'X\\";
  std::mt19937 random(20260207);
  auto randomText = [&](std::size_t maxLength) {
    std::string s(std::uniform_int_distribution<std::size_t>(0, maxLength)(random), ' ');
    for (char &c : s) {
      c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)];
    }
    return s;
  };
  for (int i = 0; i < 40000; ++i) {
    const std::string pattern = randomText(4);
    std::string source = randomText(16);
    std::string replacement;
    switch (i % 4) {
      case 0:  // usually empty: the joining case
        break;
      case 1:
        replacement = randomText(3);
        break;
      case 2:  // holds the pattern
        replacement = randomText(1) + pattern + randomText(1);
        break;
      case 3:  // a piece of the pattern, which can complete occurrences in a naive scan
        replacement = pattern.substr(0, pattern.size() / 2);
        // sprinkle copies of the pattern into the source so matches are frequent
        source.insert(source.size() / 2, pattern);
        break;
    }
    ASSERT_EQ(ContainsText(source, pattern), ReferenceReplace(pattern, source, "\x01") != source)
        << "pattern \"" << pattern << "\" source \"" << source << "\"";
    ASSERT_EQ(ReplaceText(pattern, source, replacement),
              ReferenceReplace(pattern, source, replacement))
        << "pattern \"" << pattern << "\" source \"" << source << "\" replacement \"" << replacement
        << "\"";
  }
}

// Inputs on which a search from the start after every replacement takes minutes.
TEST(ReplaceTextTest, LargeInputsTakeLinearTime) {
  const auto started = std::chrono::steady_clock::now();

  const std::string nested = std::string(1000000, 'a') + std::string(1000000, 'B');
  EXPECT_EQ(ReplaceText("Ab", nested, ""), "");

  std::string text;
  std::string expected;
  const std::string filler(90, '.');
  for (int i = 0; i < 40000; ++i) {
    text += filler + (i % 2 ? "%ZF_Price%" : "%zf_price%");
    expected += filler + "12.50";
  }
  EXPECT_EQ(ReplaceText("%zf_price%", text, "12.50"), expected);

  const auto elapsed = std::chrono::steady_clock::now() - started;
  EXPECT_LT(elapsed, std::chrono::seconds(5));
}

}  // namespace
}  // namespace vendigo
