#include "pages/template_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vendigo {
namespace {

const std::string kOpen = R"(<zf_if="image">)";
const std::string kElse = R"(<zf_else="image">)";
const std::string kClose = R"(</zf_if="image">)";

std::string Blocks(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += kOpen + "Y" + std::to_string(i) + kElse + "N" + std::to_string(i) + kClose + "|";
  }
  return text;
}

std::string Resolved(int from, int to, bool condition) {
  std::string text;
  for (int i = from; i <= to; ++i) text += (condition ? "Y" : "N") + std::to_string(i) + "|";
  return text;
}

TEST(ParseIfBlocks, ResolvesBlocksOfTheName) {
  struct Case {
    const char *name;
    std::string text;
    bool condition;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"then part kept", R"(x<zf_if="image">Y<zf_else="image">N</zf_if="image">z)", true, "xYz"},
      {"else part kept", R"(x<zf_if="image">Y<zf_else="image">N</zf_if="image">z)", false, "xNz"},
      {"no else, true", R"(a<zf_if="image">b</zf_if="image">c)", true, "abc"},
      {"no else, false: the block goes", R"(a<zf_if="image">b</zf_if="image">c)", false, "ac"},
      {"two blocks front to back",
       R"(<zf_if="image">A<zf_else="image">a</zf_if="image">-<zf_if="image">B</zf_if="image">)",
       false, "a-"},
      {"only the first else tag divides",
       R"(<zf_if="image">Y<zf_else="image">N<zf_else="image">M</zf_if="image">)", false,
       R"(N<zf_else="image">M)"},
      {"only the first else tag divides, true",
       R"(<zf_if="image">Y<zf_else="image">N<zf_else="image">M</zf_if="image">)", true, "Y"},
      {"no nesting, true", R"(<zf_if="image">A<zf_if="image">B</zf_if="image">C</zf_if="image">)",
       true, "ABC"},
      {"no nesting, false", R"(<zf_if="image">A<zf_if="image">B</zf_if="image">C</zf_if="image">)",
       false, R"(C</zf_if="image">)"},
      {"close before open stalls everything",
       R"(</zf_if="image"> <zf_if="image">Y</zf_if="image">)", true,
       R"(</zf_if="image"> <zf_if="image">Y</zf_if="image">)"},
      {"upper-case open tag is not a tag", R"(<ZF_if="image">Y</zf_if="image">)", true,
       R"(<ZF_if="image">Y</zf_if="image">)"},
      {"open tags without close tag stay", R"(a<zf_if="image">b<zf_else="image">c)", false,
       R"(a<zf_if="image">b<zf_else="image">c)"},
      {"close tag without open tag stays", R"(a</zf_if="image">b)", true, R"(a</zf_if="image">b)"},
      {"blocks of another name are left alone",
       R"(<zf_if="sale">S</zf_if="sale"><zf_if="image">I</zf_if="image">)", false,
       R"(<zf_if="sale">S</zf_if="sale">)"},
      {"blanks inside a tag make it no tag", R"(<zf_if= "image">Y</zf_if="image">)", false,
       R"(<zf_if= "image">Y</zf_if="image">)"},
      {"empty then part", R"(a<zf_if="image"><zf_else="image">N</zf_if="image">b)", true, "ab"},
      {"line breaks in the parts stay",
       "<p>\r\n<zf_if=\"image\">\r\n<b>i</b>\r\n<zf_else=\"image\">\r\nnone\r\n</zf_if=\"image\">"
       "\r\n</p>",
       false, "<p>\r\n\r\nnone\r\n\r\n</p>"},
      {"text without tags", "plain %zf_price%", true, "plain %zf_price%"},
      {"empty text", "", true, ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ParseIfBlocks(c.text, "image", c.condition), c.expected);
  }
}

TEST(ParseIfBlocks, ResolvesAtMostFortyNineBlocksPerCall) {
  struct Case {
    int blocks;
    bool condition;
    std::string expected;
  };
  const std::string fiftieth =
      kOpen + "Y50" + kElse + "N50" + kClose + "|" + kOpen + "Y51" + kElse + "N51" + kClose + "|";
  const std::vector<Case> cases = {
      {49, true, Resolved(1, 49, true)},
      {49, false, Resolved(1, 49, false)},
      {51, true, Resolved(1, 49, true) + fiftieth},
      {51, false, Resolved(1, 49, false) + fiftieth},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.blocks) + (c.condition ? " true" : " false"));
    EXPECT_EQ(ParseIfBlocks(Blocks(c.blocks), "image", c.condition), c.expected);
  }
}

TEST(ParseIfBlocks, MarkerTextInTheTemplateStaysText) {
  // The engine's own stand-in for a block being resolved is never met in the text: written in a
  // template, in any letter case or put together from pieces around a block, it is plain text.
  const std::string marker = "<ZF_PARSER_!_>";
  const std::string block = kOpen + marker + marker + kElse + kClose;  // 76 bytes
  struct Case {
    std::string text;
    bool condition;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {R"(<zf_parser_!_>[<zf_if="image">I</zf_if="image">]<ZF_PARSER_!)", true,
       "<zf_parser_!_>[I]<ZF_PARSER_!"},
      {block + block + block + block, true,
       marker + marker + marker + marker + marker + marker + marker + marker},
      {block + block + block + block + block, false, ""},
      {"<ZF_PARSER_!_" + kOpen + "x" + kClose + ">" + kOpen + "y" + kClose, false, marker},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseIfBlocks(c.text, "image", c.condition), c.expected);
  }
}

TEST(ParseIfBlocks, ValuesInTheResolvedPartsAreNotSearchedAgainForTheMarker) {
  EXPECT_EQ(ParseIfBlocks(R"(<zf_if="image">a<ZF_PARSER_!_>b</zf_if="image">)", "image", true),
            "a<ZF_PARSER_!_>b");
}

TEST(ParseIfBlocks, OtherConditionNamesBuildTheirOwnTags) {
  EXPECT_EQ(ParseIfBlocks(R"(<zf_if="sale">S<zf_else="sale">R</zf_if="sale">)", "sale", false),
            "R");
  EXPECT_EQ(ParseIfBlocks(R"(<zf_if="">S<zf_else="">R</zf_if="">)", "", true), "S");
}

TEST(ParseIfBlocks, StaysFastOnALargePage) {
  // 49 blocks in a 4 MB page: one linear pass per block.
  std::string text(4 << 20, 'x');
  text += Blocks(49);
  const std::string result = ParseIfBlocks(text, "image", true);
  EXPECT_EQ(result.size(), (4u << 20) + Resolved(1, 49, true).size());
}

}  // namespace
}  // namespace vendigo
