#include "core/settings.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/file_error.h"
#include "support/small_disk.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

class SettingsTest : public ::testing::Test {
 protected:
  void WriteFile(const std::string &name, const std::string &bytes) {
    testing::TempFolder::WriteBytes(dir_ / name, bytes);
  }
  std::string ReadFile(const std::string &name) {
    return testing::TempFolder::ReadBytes(dir_ / name);
  }

  testing::TempFolder folder_;
  const fs::path dir_ = folder_.path();
};

TEST_F(SettingsTest, DefaultsWhenFileIsMissingOrUnreadable) {
  const Settings defaults{
      "Your Company Name",       "$", "Order!", "<Enter the URL to the Pellux CGI Program here>",
      "View Your Shopping Cart", 3};
  EXPECT_EQ(DefaultSettings(), defaults);
  EXPECT_EQ(LoadSettings(dir_), defaults);
  WriteFile("pelluxfp.ini", "");
  EXPECT_EQ(LoadSettings(dir_), defaults);
  fs::remove(dir_ / "pelluxfp.ini");
  fs::create_directory(dir_ / "pelluxfp.ini");
  EXPECT_EQ(LoadSettings(dir_), defaults);
}

TEST_F(SettingsTest, Load) {
  const std::string prompt = DefaultSettings().CGI_BIN;
  const std::string cart = DefaultSettings().ViewCart;
  const std::string euro = "\xE2\x82\xAC";
  const std::vector<std::pair<std::string, Settings>> cases = {
      {"[configs]\r\ncompany=Acme Ltd\r\nCURRENCY = " + euro + " \r\nPelluxGeneration=0x4\r\n",
       {"Acme Ltd", euro, "Order!", prompt, cart, 4}},
      {"[CONFIGS]\nOrderButton=\nCGI_BIN=http://shop.example/pellux.cgi\nViewCart='  Cart  '\n"
       "PelluxGeneration=\n",
       {"Your Company Name", "$", "", "http://shop.example/pellux.cgi", "  Cart  ", 3}},
      // Written on Windows: Windows-1252.
      {"[CONFIGS]\r\nCurrency=\x80\r\nCompany=Caf\xE9\r\nPelluxGeneration=7\r\n",
       {"Caf\xC3\xA9", euro, "Order!", prompt, cart, 7}},
      {"[Other]\nCompany=Elsewhere\n", DefaultSettings()},
  };
  for (const auto &[text, expected] : cases) {
    WriteFile("pelluxfp.ini", text);
    EXPECT_EQ(LoadSettings(dir_), expected) << text;
  }
}

TEST(ParsePelluxGenerationTest, Values) {
  // clang-format off
  const std::vector<std::pair<std::string, int>> cases = {
      {"0x4", 4},  {"0X1f", 31}, {"7", 7},    {"-2", -2},   {"+5", 5},   {"08", 8},
      {"abc", 3},  {"", 3},      {"0x", 3},   {"0xg", 3},   {"0x-4", 3}, {"+", 3},
      {"+-1", 3},  {"4a", 3},    {"1e3", 3},  {"x4", 3},    {"0x80000000", 3},
      {"2147483648", 3},         {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},       {"0x7FFFFFFF", 2147483647},
  };
  // clang-format on
  for (const auto &[text, generation] : cases) {
    EXPECT_EQ(ParsePelluxGeneration(text), generation) << text;
  }
}

TEST_F(SettingsTest, SaveKeepsOtherLines) {
  WriteFile("pelluxfp.ini",
            "; mine\r\n[Other]\r\nCompany=keep\r\n[configs]\r\ncurrency=\xC2\xA3\r\n"
            "Extra=keep\r\n");
  Settings values = DefaultSettings();
  values.Company = " Acme ";
  values.OrderButton = "<img src=\"buy.gif\">";
  values.PelluxGeneration = 4;
  SaveSettings(dir_, values);
  EXPECT_EQ(ReadFile("pelluxfp.ini"),
            "; mine\r\n[Other]\r\nCompany=keep\r\n[configs]\r\ncurrency=$\r\nExtra=keep\r\n"
            "Company=\" Acme \"\r\nOrderButton=<img src=\"buy.gif\">\r\n"
            "CGI_BIN=<Enter the URL to the Pellux CGI Program here>\r\n"
            "ViewCart=View Your Shopping Cart\r\nPelluxGeneration=4\r\n");
  EXPECT_EQ(LoadSettings(dir_), values);
}

TEST_F(SettingsTest, SaveCreatesFile) {
  Settings values = DefaultSettings();
  values.PelluxGeneration = -2;
  SaveSettings(dir_, values);
  EXPECT_EQ(ReadFile("pelluxfp.ini"),
            "[CONFIGS]\nCompany=Your Company Name\nCurrency=$\nOrderButton=Order!\n"
            "CGI_BIN=<Enter the URL to the Pellux CGI Program here>\n"
            "ViewCart=View Your Shopping Cart\nPelluxGeneration=-2\n");
  EXPECT_EQ(LoadSettings(dir_), values);
}

TEST_F(SettingsTest, SaveFailures) {
  // An unreadable file is not replaced: its other contents would be lost.
  fs::create_directory(dir_ / "pelluxfp.ini");
  WriteFile("plain", "x");
  const std::vector<fs::path> programDirs = {dir_, dir_ / "plain"};
  for (const fs::path &programDir : programDirs) {
    try {
      SaveSettings(programDir, DefaultSettings());
      ADD_FAILURE() << "no error for " << programDir;
    } catch (const FileError &error) {
      EXPECT_EQ(std::string(error.what()),
                "Unable to write to " + (programDir / "pelluxfp.ini").string());
    }
  }
}

TEST(SettingsOnDiskTest, SaveOnAFullDiskKeepsTheOldFile) {
  const testing::SmallDisk disk("2m");
  if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
  const fs::path file = disk.path() / "pelluxfp.ini";
  const std::string old = "[CONFIGS]\nCompany=Old\n[Notes]\n" + std::string(1200000, ';') + "\n";
  testing::TempFolder::WriteBytes(file, old);
  EXPECT_THROW(SaveSettings(disk.path(), DefaultSettings()), FileError);
  EXPECT_EQ(testing::TempFolder::ReadBytes(file), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(disk.path()), fs::directory_iterator()), 1);
}

TEST_F(SettingsTest, SaveKeepsTheOwnerOfTheFile) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  WriteFile("pelluxfp.ini", "[CONFIGS]\nCompany=Theirs\n");
  ASSERT_EQ(chown((dir_ / "pelluxfp.ini").c_str(), 4321, 4322), 0);
  SaveSettings(dir_, DefaultSettings());
  struct stat saved {};
  ASSERT_EQ(stat((dir_ / "pelluxfp.ini").c_str(), &saved), 0);
  EXPECT_EQ(std::pair(saved.st_uid, saved.st_gid), std::pair(uid_t{4321}, gid_t{4322}));
}

// A save killed half-way leaves its new file behind; the next save removes it, but not one that
// another save is writing right now (it holds it locked), nor files of other names.
TEST_F(SettingsTest, SaveRemovesTemporariesOfKilledSaves) {
  // The file's name, whether a save in progress holds it locked, whether it stays.
  const std::vector<std::tuple<std::string, bool, bool>> files = {
      {".pelluxfp.ini.0123456789ab", false, false},  // left by a killed save
      {".pelluxfp.ini.ba9876543210", true, true},    // being written
      {".pelluxfp.ini.bak", false, true},
      {"pelluxfp.ini.0123456789ab", false, true},
  };
  std::vector<int> locks;
  for (const auto &[name, locked, stays] : files) {
    WriteFile(name, "[CONFIGS]\n");
    if (!locked) continue;
    locks.push_back(open((dir_ / name).c_str(), O_RDONLY));
    ASSERT_EQ(flock(locks.back(), LOCK_EX), 0);
  }
  SaveSettings(dir_, DefaultSettings());
  for (const auto &[name, locked, stays] : files) EXPECT_EQ(fs::exists(dir_ / name), stays) << name;
  for (const int fd : locks) close(fd);
}

TEST(OrderButtonHtmlTest, Fragments) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"O", ""},
      {"\xE2\x82\xAC", ""},  // one character of three bytes
      {"<", ""},
      {"Go", "<input TYPE=\"SUBMIT\" VALUE=\"Go\">"},
      {"Order!", "<input TYPE=\"SUBMIT\" VALUE=\"Order!\">"},
      {"Buy \"now\" & <b>", "<input TYPE=\"SUBMIT\" VALUE=\"Buy \"now\" & <b>\">"},
      {"<img src=\"buy.gif\">", "<img src=\"buy.gif\">"},
      {" <b>", "<input TYPE=\"SUBMIT\" VALUE=\" <b>\">"},
  };
  for (const auto &[caption, html] : cases) {
    Settings settings = DefaultSettings();
    settings.OrderButton = caption;
    EXPECT_EQ(OrderButtonHtml(settings), html) << caption;
  }
}

TEST_F(SettingsTest, LoadButtonTexts) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"", {}},
      {"Buy\r\nOrder\nAdd\rGet", {"Buy", "Order", "Add", "Get"}},
      {"Buy\n\nOrder\n", {"Buy", "", "Order"}},
      {"\n", {""}},
      {"Buy\r\r\n", {"Buy", ""}},
      {"\xEF\xBB\xBF"
       "Buy",
       {"Buy"}},
      {"Kaufen \x80\r\n", {"Kaufen \xE2\x82\xAC"}},
  };
  for (const auto &[bytes, lines] : cases) {
    WriteFile("buttons.slu", bytes);
    std::vector<std::string> list = {"old"};
    LoadButtonTexts(dir_, list);
    EXPECT_EQ(list, lines) << bytes;
  }
}

TEST_F(SettingsTest, LoadButtonTextsMissingOrUnreadable) {
  std::vector<std::string> list = {"keep"};
  LoadButtonTexts(dir_, list);
  EXPECT_EQ(list, std::vector<std::string>{"keep"});

  fs::create_directory(dir_ / "buttons.slu");
  try {
    LoadButtonTexts(dir_, list);
    FAIL() << "no error";
  } catch (const FileError &error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot open file \"" + (dir_ / "buttons.slu").string() + "\". Is a directory");
  }
  EXPECT_EQ(list, std::vector<std::string>{"keep"});
}

}  // namespace
}  // namespace vendigo
