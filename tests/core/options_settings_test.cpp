#include "core/options_settings.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/settings.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

const char kLocationMessage[] =
    "message: The location of Pellux must end with pellux.exe or pellux.cgi\r\r- pellux.exe is "
    "for the NT Pellux system. \r- pellux.cgi is for the UNIX Pellux system.";

TEST(IsPelluxLocationTest, AcceptsOnlyTheTwoProgramNamesAtTheEnd) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"http://shop.example.com/cgi-bin/pellux.cgi", true},
      {"https://shop.example.com/scripts/pellux.exe", true},
      {"pellux.exe", true},
      {"pellux.cgi", true},
      {"/pellux.cgi", true},
      {"\xC3\xA9pellux.cgi", true},  // a two-byte character before the name
      {"PELLUX.CGI", false},
      {"http://shop.example.com/cgi-bin/Pellux.cgi", false},
      {"pellux.EXE", false},
      {"http://shop.example.com/cgi-bin/pellux.cgi ", false},
      {" pellux.exe", true},
      {"ellux.exe", false},
      {"pellux.ex", false},
      {"/cgi-bin/pellux.cg", false},
      {"pellux.pl", false},
      {"pellux.cgi?x=1", false},
      {"pellux.exe/", false},
      {"<Enter the URL to the Pellux CGI Program here>", false},
      {"", false},
      {"\xC3\xA9llux.cgi", false},  // ten bytes, but nine characters
  };
  for (const auto &[location, accepted] : cases) {
    EXPECT_EQ(IsPelluxLocation(location), accepted) << '"' << location << '"';
  }
}

class SaveOptionsTest : public ::testing::Test {
 protected:
  fs::path SettingsFile() const { return folder_.path() / "pelluxfp.ini"; }

  testing::TempFolder folder_;
  testing::RecordingMessages messages_;
};

TEST_F(SaveOptionsTest, WritesTheFileThenTheSettings) {
  struct Case {
    const char *name;
    OptionTexts texts;
    int generation;
  };
  const std::vector<Case> cases = {
      {"plain texts",
       {"Acme Ltd", "\xE2\x82\xAC", "Buy now", "http://acme.example/cgi-bin/pellux.cgi", "Cart"},
       4},
      {"blanks, quotes and empty texts kept as typed",
       {"  Acme  ", "", "<img src=\"buy.gif\">", "pellux.exe", "'View'"},
       3},
      {"a generation other than 3 or 4", {"A", "$", "Order!", "/pellux.cgi", "V"}, 7},
  };
  for (const Case &c : cases) {
    fs::remove(SettingsFile());
    Settings settings = DefaultSettings();
    settings.PelluxGeneration = c.generation;
    EXPECT_TRUE(SaveOptions(folder_.path(), settings, c.texts, messages_)) << c.name;
    const Settings expected{c.texts.Company, c.texts.Currency, c.texts.OrderButton,
                            c.texts.CGI_BIN, c.texts.ViewCart, c.generation};
    EXPECT_EQ(settings, expected) << c.name;
    EXPECT_EQ(LoadSettings(folder_.path()), expected) << c.name;
  }
  EXPECT_EQ(messages_.events, std::vector<std::string>{});
}

TEST_F(SaveOptionsTest, MakesTheSettingsFolderOfAnInstalledCopy) {
  const fs::path folder = folder_.path() / "config" / "vendigo";
  Settings settings = DefaultSettings();
  EXPECT_TRUE(SaveOptions(folder, settings, {"A", "$", "Order!", "/pellux.cgi", "V"}, messages_));
  EXPECT_EQ(LoadSettings(folder).Company, "A");
}

TEST_F(SaveOptionsTest, RefusedLocationWritesNothing) {
  const std::string before = "[CONFIGS]\nCompany=Old\n";
  testing::TempFolder::WriteBytes(SettingsFile(), before);
  for (const char *location :
       {"<Enter the URL to the Pellux CGI Program here>", "/cgi-bin/PELLUX.CGI", ""}) {
    messages_.events.clear();
    Settings settings = DefaultSettings();
    settings.PelluxGeneration = 4;
    const Settings unchanged = settings;
    EXPECT_FALSE(
        SaveOptions(folder_.path(), settings, {"New", "E", "Buy", location, "Cart"}, messages_));
    EXPECT_EQ(messages_.events, std::vector<std::string>{kLocationMessage}) << location;
    EXPECT_EQ(settings, unchanged) << location;
    EXPECT_EQ(testing::TempFolder::ReadBytes(SettingsFile()), before) << location;
  }
}

TEST_F(SaveOptionsTest, UnwritableFileIsReportedAndChangesNothing) {
  // Neither way can be written, not even by the superuser: a folder that is a plain file, and
  // a settings file that is a folder.
  testing::TempFolder::WriteBytes(folder_.path() / "plain", "x");
  fs::create_directory(folder_.path() / "inside");
  fs::create_directory(folder_.path() / "inside" / "pelluxfp.ini");
  for (const fs::path &programDir : {folder_.path() / "plain", folder_.path() / "inside"}) {
    messages_.events.clear();
    Settings settings = DefaultSettings();
    settings.PelluxGeneration = 4;
    const Settings unchanged = settings;
    EXPECT_FALSE(SaveOptions(programDir, settings,
                             {"New", "E", "Buy", "/cgi-bin/pellux.cgi", "Cart"}, messages_));
    EXPECT_EQ(messages_.events, std::vector<std::string>{"message: Unable to write to " +
                                                         (programDir / "pelluxfp.ini").string()});
    EXPECT_EQ(settings, unchanged);
  }
  EXPECT_EQ(testing::TempFolder::ReadBytes(folder_.path() / "plain"), "x");
}

}  // namespace
}  // namespace vendigo
