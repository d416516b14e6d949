#include "core/profile_file.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/file_error.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

std::string Repeat(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(ProfileFileTest, Read) {
  struct Case {
    std::string text, section, key;
    std::optional<std::string> value;
  };
  const std::string e = "\xC3\xA9";
  const std::vector<Case> cases = {
      {"[CONFIGS]\nCompany=Acme\n", "CONFIGS", "Company", "Acme"},
      {"[configs]\ncompany=Acme\n", "CONFIGS", "COMPANY", "Acme"},
      {"  [ A ]  \n  k \t=  \t two  words \t \n", "a", "K", "two  words"},
      {"[A]\nk=\"  padded  \"\n", "A", "k", "  padded  "},
      {"[A]\nk=  'single'  \n", "A", "k", "single"},
      {"[A]\nk=\"mixed'\n", "A", "k", "\"mixed'"},
      {"[A]\nk=\"\n", "A", "k", "\""},
      {"[A]\nk=\"\"twice\"\"\n", "A", "k", "\"twice\""},
      {"[A]\nk=\n", "A", "k", ""},
      {"[A]\nk=a=b\n", "A", "k", "a=b"},
      {"[A]\nk\nk=2\n", "A", "k", "2"},  // a line without "=" is no entry
      {"[A]\nk=1\nK=2\n", "A", "k", "1"},
      {"[A]\nx=1\n[a]\nk=2\n", "A", "k", std::nullopt},  // only the first section counts
      {"k=0\n[A]\n", "A", "k", std::nullopt},
      {"[A]\nk=1\n", "B", "k", std::nullopt},
      {"[A\nk=1\n", "A", "k", std::nullopt},
      {"[A]\r\nk=crlf\r\n", "A", "k", "crlf"},
      {"[A]\rj=1\rk=cr\r", "A", "k", "cr"},
      {"[A]\r\nj=1\rk=mixed\n", "A", "k", "mixed"},
      {"[A]\nk=no end", "A", "k", "no end"},
      {"\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "1"},
      {"[A]\nk=" + Repeat("a", 2047) + "\n", "A", "k", Repeat("a", 2047)},
      {"[A]\nk=" + Repeat(e, 2047) + "xyz\n", "A", "k", Repeat(e, 2047)},
      // The quotes go before the value is cut.
      {"[A]\nk=\"" + Repeat("a", 2047) + "b\"\n", "A", "k", Repeat("a", 2047)},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(ProfileFile::Parse(c.text).Read(c.section, c.key), c.value) << c.text;
  }
}

TEST(ProfileFileTest, WriteChangesOnlyItsLine) {
  struct Case {
    std::string before, section, key, value, after;
  };
  const std::vector<Case> cases = {
      {"; note\r\n[A]\r\nx = old\r\ny=2\r\n", "A", "x", "new",
       "; note\r\n[A]\r\nx = new\r\ny=2\r\n"},
      {"[configs]\ncompany=Old\n", "CONFIGS", "Company", "New", "[configs]\ncompany=New\n"},
      {"[A]\nx=1\nx=2\n", "A", "x", "9", "[A]\nx=9\nx=2\n"},
      {"[A]\nx=\n", "A", "x", "v", "[A]\nx=v\n"},
      // A missing key goes after the last non-blank line of its section.
      {"[A]\nx=1\n; keep\n\n[B]\ny=2\n", "A", "z", "3", "[A]\nx=1\n; keep\nz=3\n\n[B]\ny=2\n"},
      {"[A]\n\n[B]\n", "A", "z", "3", "[A]\nz=3\n\n[B]\n"},
      {"[A]", "A", "z", "3", "[A]\nz=3\n"},
      {"[A]\r\nx=1", "A", "z", "3", "[A]\r\nx=1\r\nz=3\r\n"},
      {"[A]\nx=1\n  ", "A", "z", "3", "[A]\nx=1\nz=3\n  "},
      // A missing section goes at the end, with the line end the file already uses.
      {"[A]\nx=1\n", "B", "y", "2", "[A]\nx=1\n[B]\ny=2\n"},
      {"[A]\rx=1", "B", "y", "2", "[A]\rx=1\r[B]\ry=2\r"},
      {"[A]\r\nx=1\ny=2\n", "B", "y", "2", "[A]\r\nx=1\ny=2\n[B]\r\ny=2\r\n"},
      {"", "B", "y", "2", "[B]\ny=2\n"},
      {"\xEF\xBB\xBF[A]\r\nx=1\r\n", "A", "x", "2", "\xEF\xBB\xBF[A]\r\nx=2\r\n"},
  };
  for (const auto &c : cases) {
    ProfileFile profile = ProfileFile::Parse(c.before);
    profile.Write(c.section, c.key, c.value);
    EXPECT_EQ(profile.Serialize(), c.after) << c.before;
    EXPECT_EQ(profile.Read(c.section, c.key), c.value) << c.before;
  }
}

TEST(ProfileFileTest, WrittenValuesReadBackExactly) {
  struct Case {
    std::string value, line, readBack;
  };
  const std::vector<Case> cases = {
      {"plain", "k=plain", "plain"},
      {"", "k=", ""},
      {" lead", "k=\" lead\"", " lead"},
      {"trail\t", "k=\"trail\t\"", "trail\t"},
      {"\"q\"", "k=\"\"q\"\"", "\"q\""},
      {"'q'", "k=\"'q'\"", "'q'"},
      {"'q\"", "k='q\"", "'q\""},
      // Line breaks become blanks, so a value cannot add lines, keys or sections.
      {"a\r\nb", "k=a  b", "a  b"},
      {"a\n[B]\rx=1", "k=a [B] x=1", "a [B] x=1"},
      {"end\n", "k=\"end \"", "end "},
  };
  for (const auto &c : cases) {
    ProfileFile profile = ProfileFile::Parse("[A]\n");
    profile.Write("A", "k", c.value);
    EXPECT_EQ(profile.Serialize(), "[A]\n" + c.line + "\n") << c.value;
    EXPECT_EQ(profile.Read("A", "k"), c.readBack) << c.value;
    EXPECT_FALSE(profile.HasSection("B"));
  }
}

TEST(ProfileFileTest, Delete) {
  const std::string text = "[A]\nx=1\ny=2\nX=3\n[B]\nz=4\n[a]\nx=5\n";
  ProfileFile profile = ProfileFile::Parse(text);
  EXPECT_FALSE(profile.DeleteKey("A", "w"));
  EXPECT_FALSE(profile.DeleteKey("C", "x"));
  EXPECT_TRUE(profile.DeleteKey("a", "x"));
  EXPECT_EQ(profile.Serialize(), "[A]\ny=2\n[B]\nz=4\n[a]\nx=5\n");
  EXPECT_EQ(profile.Read("A", "x"), std::nullopt);

  EXPECT_TRUE(profile.DeleteSection("A"));
  EXPECT_EQ(profile.Serialize(), "[B]\nz=4\n");
  EXPECT_FALSE(profile.HasSection("A"));
  EXPECT_FALSE(profile.DeleteSection("A"));
}

TEST(ProfileFileTest, EntriesOfASection) {
  using Entries = std::vector<std::pair<std::string, std::string>>;
  struct Case {
    std::string text, section;
    Entries entries;
  };
  const std::vector<Case> cases = {
      {"[A]\nx=1\n; note\n\ny = \"two\" \nX=3\n[B]\nz=4\n", "a", {{"x", "1"}, {"y", "two"}}},
      {"[A]\n[B]\nz=4\n", "A", {}},
      {"[B]\nz=4\n", "A", {}},
      {"[A]\r\nVendigo=3,,1,Pellux\r\nPellux=\r\n",
       "A",
       {{"Vendigo", "3,,1,Pellux"}, {"Pellux", ""}}},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(ProfileFile::Parse(c.text).Entries(c.section), c.entries) << c.text;
  }
}

TEST(ProfileFileTest, AddSection) {
  struct Case {
    std::string text, section, expected;
  };
  const std::vector<Case> cases = {
      {"", "Key\\Path", "[Key\\Path]\n"},
      {"[A]\r\nx=1", "B", "[A]\r\nx=1\r\n[B]\r\n"},
      {"[a]\nx=1\n", "A", "[a]\nx=1\n"},
  };
  for (const Case &c : cases) {
    ProfileFile profile = ProfileFile::Parse(c.text);
    profile.AddSection(c.section);
    EXPECT_EQ(profile.Serialize(), c.expected) << c.text;
    EXPECT_TRUE(profile.HasSection(c.section));
  }
}

class ProfileFileOnDiskTest : public ::testing::Test {
 protected:
  static void WriteBytes(const fs::path &file, const std::string &bytes) {
    testing::TempFolder::WriteBytes(file, bytes);
  }
  static std::string ReadBytes(const fs::path &file) {
    return testing::TempFolder::ReadBytes(file);
  }

  testing::TempFolder folder_;
  const fs::path dir_ = folder_.path();
};

TEST_F(ProfileFileOnDiskTest, MissingOrUnreadableFileIsEmpty) {
  EXPECT_EQ(LoadProfileFile(dir_ / "none.ini").Serialize(), "");
  EXPECT_TRUE(TryLoadProfileFile(dir_ / "none.ini").has_value());
  fs::create_directory(dir_ / "folder.ini");
  EXPECT_EQ(LoadProfileFile(dir_ / "folder.ini").Serialize(), "");
  EXPECT_FALSE(TryLoadProfileFile(dir_ / "folder.ini").has_value());
}

TEST_F(ProfileFileOnDiskTest, Windows1252FileIsSavedAsUtf8) {
  const fs::path file = dir_ / "old.ini";
  WriteBytes(file, "[A]\r\nname=Caf\xE9 \x80\r\n");
  ProfileFile profile = LoadProfileFile(file);
  EXPECT_EQ(profile.Read("A", "name"), "Caf\xC3\xA9 \xE2\x82\xAC");
  profile.Write("A", "x", "1");
  SaveProfileFileAtomically(file, profile);
  EXPECT_EQ(ReadBytes(file), "[A]\r\nname=Caf\xC3\xA9 \xE2\x82\xAC\r\nx=1\r\n");
}

TEST_F(ProfileFileOnDiskTest, SaveKeepsByteOrderMarkAndPermissions) {
  const fs::path file = dir_ / "marked.ini";
  WriteBytes(file, "\xEF\xBB\xBF[A]\nx=1\n");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ProfileFile profile = LoadProfileFile(file);
  profile.Write("A", "x", "2");
  SaveProfileFileAtomically(file, profile);
  EXPECT_EQ(ReadBytes(file), "\xEF\xBB\xBF[A]\nx=2\n");
  EXPECT_EQ(fs::status(file).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(ProfileFileOnDiskTest, SaveWritesThroughSymbolicLink) {
  fs::create_directory(dir_ / "real");
  WriteBytes(dir_ / "real" / "settings.ini", "[A]\nx=1\n");
  fs::create_symlink("real/settings.ini", dir_ / "link.ini");
  ProfileFile profile = LoadProfileFile(dir_ / "link.ini");
  profile.Write("A", "x", "2");
  SaveProfileFileAtomically(dir_ / "link.ini", profile);
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.ini"));
  EXPECT_EQ(ReadBytes(dir_ / "real" / "settings.ini"), "[A]\nx=2\n");
}

TEST_F(ProfileFileOnDiskTest, FailedSaveThrowsAndLeavesNoFile) {
  WriteBytes(dir_ / "plain", "not a folder");
  const fs::path file = dir_ / "plain" / "settings.ini";
  try {
    SaveProfileFileAtomically(file, ProfileFile::Parse("[A]\nx=1\n"));
    FAIL() << "no error";
  } catch (const FileError &error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + file.string());
  }
  EXPECT_EQ(ReadBytes(dir_ / "plain"), "not a folder");
}

// Runs action as an ordinary user: directly, or in a child process that gives up root, since
// root may write into a read-only folder. True when action returned true.
bool RunAsOrdinaryUser(const std::function<bool()> &action) {
  if (geteuid() != 0) return action();
  const pid_t child = fork();
  if (child == 0) {
    const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
    _exit(dropped && action() ? 0 : 1);
  }
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

TEST_F(ProfileFileOnDiskTest, FailedSaveLeavesOldFileUnchanged) {
  const fs::path file = dir_ / "settings.ini";
  WriteBytes(file, "[A]\nx=1\n");
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                            fs::perms::group_exec | fs::perms::others_read |
                            fs::perms::others_exec);
  EXPECT_TRUE(RunAsOrdinaryUser([&file] {
    ProfileFile profile = LoadProfileFile(file);
    profile.Write("A", "x", "2");
    try {
      SaveProfileFileAtomically(file, profile);
    } catch (const FileError &error) {
      return std::string(error.what()) == "Unable to write to " + file.string();
    }
    return false;
  }));
  EXPECT_EQ(ReadBytes(file), "[A]\nx=1\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace vendigo
