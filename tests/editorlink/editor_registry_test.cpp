#include "editorlink/editor_registry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using Values = std::vector<std::pair<std::string, std::string>>;

const std::string kCommand =
    "3,,1,Pellux,Pellux Vendigo,/opt/vendigo/vendigo,,0,\"Pellux Vendigo Tools\",0";

class EditorRegistryTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  const fs::path file_ = folder_.path() / "vendigo-pageeditor" / "editor-registry.ini";
  EditorRegistry registry_{file_};

  void Store(const std::string &text) {
    fs::create_directories(file_.parent_path());
    TempFolder::WriteBytes(file_, text);
  }
};

TEST_F(EditorRegistryTest, ReadingAValue) {
  struct Case {
    const char *name;
    std::optional<std::string> file;  // nullopt: no file at all
    bool keyExists;
    std::optional<std::string> vendigo;
  };
  const std::vector<Case> cases = {
      {"no store file", std::nullopt, false, std::nullopt},
      {"key absent", "[Software\\Other]\nVendigo=x\n", false, std::nullopt},
      {"key without the value",
       "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\nPellux=old\n", true, std::nullopt},
      {"key with an empty value",
       "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\nVendigo=\n", true, ""},
      {"value present",
       "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\r\nVendigo=" + kCommand + "\r\n",
       true, kCommand},
      {"key and value names in another case",
       "[software\\microsoft\\frontpage\\editor\\init commands]\nVENDIGO=" + kCommand + "\n", true,
       kCommand},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(file_.parent_path());
    if (c.file) Store(*c.file);
    EXPECT_EQ(registry_.KeyExists(kInitCommandsKey), c.keyExists);
    const auto key = registry_.OpenKey(kInitCommandsKey, false);
    ASSERT_EQ(key.has_value(), c.keyExists);
    if (key) {
      EXPECT_EQ(key->ReadString("Vendigo"), c.vendigo);
    }
    // Opening without creating leaves the store as it was.
    EXPECT_EQ(fs::exists(file_), c.file.has_value());
  }
}

TEST_F(EditorRegistryTest, OpeningWithCreateMakesFolderFileAndKey) {
  auto commands = registry_.OpenKey(kInitCommandsKey, true);
  ASSERT_TRUE(commands);
  EXPECT_EQ(TempFolder::ReadBytes(file_),
            "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\n");
  EXPECT_EQ(commands->Values(), Values{});

  commands->WriteString("Vendigo", kCommand);
  commands->WriteString("Pellux", "left over");
  auto menus = registry_.OpenKey(kInitMenusKey, true);
  ASSERT_TRUE(menus);
  menus->WriteString("Pellux", "3, ,1,&Pellux,Table");
  EXPECT_TRUE(commands->DeleteValue("Pellux"));
  EXPECT_FALSE(commands->DeleteValue("Pellux"));  // missing: nothing to do, no failure
  commands->WriteString("Vendigo", kCommand);     // the same text again

  EXPECT_EQ(TempFolder::ReadBytes(file_),
            "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\n"
            "Vendigo=" +
                kCommand +
                "\n"
                "[Software\\Microsoft\\FrontPage\\Editor\\Init Menus]\n"
                "Pellux=3, ,1,&Pellux,Table\n");
  EXPECT_EQ(registry_.OpenKey(kInitMenusKey, false)->Values(),
            (Values{{"Pellux", "3, ,1,&Pellux,Table"}}));
  // Opening an existing key with create changes nothing.
  EXPECT_TRUE(registry_.OpenKey(kInitMenusKey, true));
  EXPECT_EQ(registry_.OpenKey(kInitCommandsKey, false)->ReadString("Vendigo"), kCommand);
}

TEST_F(EditorRegistryTest, ValuesReadBackExactly) {
  auto key = registry_.OpenKey(kInitCommandsKey, true);
  ASSERT_TRUE(key);
  const std::vector<std::string> values = {
      "\"quoted\"", "  padded  ", "a=b;c", "/home/shop/My Tools/vendigo", "caf\xC3\xA9", ""};
  for (const std::string &value : values) {
    key->WriteString("Value", value);
    EXPECT_EQ(key->ReadString("Value"), value);
  }
}

TEST_F(EditorRegistryTest, AStoreThatCannotBeWrittenFails) {
  // A file stands where the store's folder should be.
  TempFolder::WriteBytes(file_.parent_path(), "not a folder");
  EXPECT_FALSE(registry_.OpenKey(kInitCommandsKey, true));
  EXPECT_FALSE(registry_.OpenKey(kInitCommandsKey, false));

  RegistryKey key(file_, kInitCommandsKey);
  try {
    key.WriteString("Vendigo", kCommand);
    FAIL() << "no error";
  } catch (const RegistryError &error) {
    EXPECT_EQ(std::string(error.what()), "Failed to set data for 'Vendigo'");
  }
  EXPECT_FALSE(key.DeleteValue("Vendigo"));
  EXPECT_EQ(key.ReadString("Vendigo"), std::nullopt);
  EXPECT_EQ(TempFolder::ReadBytes(file_.parent_path()), "not a folder");
}

}  // namespace
}  // namespace vendigo
