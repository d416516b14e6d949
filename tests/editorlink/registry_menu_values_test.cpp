#include "editorlink/registry_menu_values.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace vendigo {

void PrintTo(const RegisteredCommand &c, std::ostream *out) {
  *out << "{" << c.menu << " | " << c.caption << " | " << c.program << " | " << c.statusTip << "}";
}

namespace {

TEST(RegistryMenuValues, Fields) {
  struct Case {
    std::string value;
    std::vector<std::string> fields;
  };
  const std::vector<Case> cases = {
      {"3, ,1,&Pellux,Table", {"3", "", "1", "&Pellux", "Table"}},
      {"a,\"b, c\",d", {"a", "\"b, c\"", "d"}},
      {"", {""}},
      {",", {"", ""}},
  };
  for (const Case &c : cases) EXPECT_EQ(SplitRegistryFields(c.value), c.fields) << c.value;
}

TEST(RegistryMenuValues, Menus) {
  struct Case {
    std::string value;
    std::optional<std::string> title;
  };
  const std::vector<Case> cases = {
      {"3, ,1,&Pellux,Table", "&Pellux"},
      {"3, ,1, Tools ", "Tools"},
      {"3, ,1,", std::nullopt},
      {"3, ,1", std::nullopt},
  };
  for (const Case &c : cases) {
    const auto menu = ParseMenuValue(c.value);
    EXPECT_EQ(menu ? std::optional<std::string>(menu->title) : std::nullopt, c.title) << c.value;
  }
}

TEST(RegistryMenuValues, Commands) {
  struct Case {
    std::string value;
    std::optional<RegisteredCommand> command;
  };
  const std::vector<Case> cases = {
      {"3,,1,Pellux,Pellux Vendigo,/opt/vendigo/vendigo,,0,\"Pellux Vendigo Tools\",0",
       RegisteredCommand{"Pellux", "Pellux Vendigo", "/opt/vendigo/vendigo",
                         "Pellux Vendigo Tools"}},
      // The path is written as it is, commas and blanks included.
      {"3,,1,Pellux,Pellux Vendigo,/home/shop/Tools, new/vendigo,,0,\"Pellux Vendigo Tools\",0",
       RegisteredCommand{"Pellux", "Pellux Vendigo", "/home/shop/Tools, new/vendigo",
                         "Pellux Vendigo Tools"}},
      // A double quote in the path does not swallow the commas after it.
      {"3,,1,Pellux,Pellux Vendigo,/home/o\"neil/vendigo,,0,\"Pellux Vendigo Tools\",0",
       RegisteredCommand{"Pellux", "Pellux Vendigo", "/home/o\"neil/vendigo",
                         "Pellux Vendigo Tools"}},
      {"3,,1,Pellux,Pellux Vendigo,/home/\"a, b\"/vendigo,,0,\"Pellux Vendigo Tools\",0",
       RegisteredCommand{"Pellux", "Pellux Vendigo", "/home/\"a, b\"/vendigo",
                         "Pellux Vendigo Tools"}},
      {"3,,1,Pellux,Pellux Vendigo,/p\",,0,\"Pellux Vendigo Tools\",0",
       RegisteredCommand{"Pellux", "Pellux Vendigo", "/p\"", "Pellux Vendigo Tools"}},
      {"3,,1,Tools,Run,/bin/true,,0,\"a, b\",0",
       RegisteredCommand{"Tools", "Run", "/bin/true", "a, b"}},
      {"3,,1,Tools,Run,/bin/true", RegisteredCommand{"Tools", "Run", "/bin/true", ""}},
      {"3,,1,Tools,Run,,,0,\"x\",0", std::nullopt},
      {"3,,1,,Run,/bin/true,,0,\"x\",0", std::nullopt},
      {"3,,1,Tools", std::nullopt},
  };
  for (const Case &c : cases) EXPECT_EQ(ParseCommandValue(c.value), c.command) << c.value;
}

TEST(RegistryMenuValues, TitleWithoutAccelerator) {
  const std::vector<std::pair<std::string, std::string>> cases = {{"&Pellux", "Pellux"},
                                                                  {"Pel&lux", "Pellux"},
                                                                  {"R&&D", "R&D"},
                                                                  {"Tools&", "Tools&"},
                                                                  {"Pellux", "Pellux"}};
  for (const auto &[title, expected] : cases) EXPECT_EQ(TitleWithoutAccelerator(title), expected);
}

}  // namespace
}  // namespace vendigo
