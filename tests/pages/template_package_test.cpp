#include "pages/template_package.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/file_error.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

TEST(ListTemplates, ListsZftFilesOfTheFolderSortedWithoutCase) {
  TempFolder folder;
  for (const char *name : {"shop.zft", "Basic.ZFT", "apple.Zft", "zebra.zft", "notes.txt",
                           "shop.inf", "archive.zft.bak", "b.zftx", ".zft"}) {
    TempFolder::WriteBytes(folder.path() / name, "x");
  }
  fs::create_directory(folder.path() / "folder.zft");
  fs::create_directory(folder.path() / "sub");
  TempFolder::WriteBytes(folder.path() / "sub" / "inner.zft", "x");

  EXPECT_EQ(ListTemplates(folder.path()),
            (std::vector<std::string>{".zft", "apple.Zft", "Basic.ZFT", "shop.zft", "zebra.zft"}));
}

TEST(ListTemplates, EmptyOrMissingFolderGivesNoTemplates) {
  TempFolder folder;
  EXPECT_EQ(ListTemplates(folder.path()), std::vector<std::string>{});
  EXPECT_EQ(ListTemplates(folder.path() / "missing"), std::vector<std::string>{});
}

TEST(ListTemplatesIn, OneEntryPerNameTheFirstFolderWins) {
  TempFolder program, own, installed;
  for (const auto &[folder, name] :
       std::vector<std::pair<const TempFolder *, const char *>>{{&program, "shop.zft"},
                                                                {&own, "Mine.zft"},
                                                                {&own, "shop.zft"},
                                                                {&installed, "shop.zft"},
                                                                {&installed, "mine.zft"},
                                                                {&installed, "basic.zft"}}) {
    TempFolder::WriteBytes(folder->path() / name, "x");
  }
  EXPECT_EQ(ListTemplatesIn({program.path(), own.path() / "missing", own.path(), installed.path()}),
            (std::vector<TemplateEntry>{{"basic.zft", installed.path()},
                                        {"Mine.zft", own.path()},
                                        {"mine.zft", installed.path()},
                                        {"shop.zft", program.path()}}));
}

TEST(TemplateProfilePath, ReplacesTheExtension) {
  EXPECT_EQ(TemplateProfilePath("/opt/vendigo/shop.zft"), fs::path("/opt/vendigo/shop.inf"));
  EXPECT_EQ(TemplateProfilePath("/opt/vendigo/my.shop.ZFT"), fs::path("/opt/vendigo/my.shop.inf"));
}

TemplateProfile Profile(std::string author, std::string license, std::string email,
                        std::string prompt1, std::string prompt2, std::string image) {
  return {author, license, email, prompt1, prompt2, image};
}

TEST(ReadTemplateProfile, ReadsTheProfileSectionWithItsDefaults) {
  struct Case {
    const char *name;
    std::optional<std::string> profile;  // nullopt: no .inf file
    TemplateProfile expected;
  };
  const std::vector<Case> cases = {
      {"no profile", std::nullopt, Profile("Anonymous", "Unknown", "Unknown!", "", "", "")},
      {"every key",
       "[PROFILE]\r\nAuthor=Ann Smith\r\nLicense=Free\r\nEmail=ann@example.com\r\nprompt1=Fill "
       "in a price\r\nprompt2=Pick an image\r\nimage=shop.bmp\r\n",
       Profile("Ann Smith", "Free", "ann@example.com", "Fill in a price", "Pick an image",
               "shop.bmp")},
      {"names without case, blanks and quotes dropped",
       "[profile]\nAUTHOR =  Ann  \nlicense=\"GPL\"\nEMAIL='a@b.c'\nPROMPT1=  \" p \"\n",
       Profile("Ann", "GPL", "a@b.c", " p ", "", "")},
      {"other sections ignored",
       "[OTHER]\nAuthor=Bob\n[PROFILE]\nLicense=MIT\n[MORE]\nEmail=x@y.z\n",
       Profile("Anonymous", "MIT", "Unknown!", "", "", "")},
      {"empty values stay empty", "[PROFILE]\nAuthor=\nLicense=\n",
       Profile("", "", "Unknown!", "", "", "")},
      {"no profile section", "Author=Bob\n",
       Profile("Anonymous", "Unknown", "Unknown!", "", "", "")},
      {"windows-1252 profile", "[PROFILE]\r\nAuthor=Jos\xE9\r\n",
       Profile("Jos\xC3\xA9", "Unknown", "Unknown!", "", "", "")},
      {"long value cut", "[PROFILE]\nprompt1=" + std::string(3000, 'p') + "\n",
       Profile("Anonymous", "Unknown", "Unknown!", std::string(2047, 'p'), "", "")},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const fs::path templateFile = folder.path() / "shop.zft";
    TempFolder::WriteBytes(templateFile, "<p>x</p>");
    if (c.profile) TempFolder::WriteBytes(folder.path() / "shop.inf", *c.profile);
    EXPECT_EQ(ReadTemplateProfile(templateFile), c.expected);
  }
}

TEST(ReadTemplateProfile, UnreadableProfileGivesTheDefaults) {
  TempFolder folder;
  fs::create_directory(folder.path() / "shop.inf");
  EXPECT_EQ(ReadTemplateProfile(folder.path() / "shop.zft"), TemplateProfile{});
}

TEST(PreviewPicturePath, NamedPictureOrTheFallback) {
  struct Case {
    const char *name;
    std::string image;
    std::vector<std::string> files;
    std::optional<std::string> expected;  // relative to the folder
  };
  const std::vector<Case> cases = {
      {"no image named", "", {"shop.bmp", "no_pre.bmp"}, std::nullopt},
      {"named picture exists", "shop.bmp", {"shop.bmp", "no_pre.bmp"}, "shop.bmp"},
      {"named picture missing", "gone.bmp", {"no_pre.bmp"}, "no_pre.bmp"},
      {"both missing: the fallback, which fails to load", "gone.bmp", {}, "no_pre.bmp"},
      {"relative path below the folder", "pics/shop.bmp", {"pics/shop.bmp"}, "pics/shop.bmp"},
      {"a leading separator stays below the folder", "/shop.bmp", {"shop.bmp"}, "/shop.bmp"},
      {"a path back into the folder", "pics/../shop.bmp", {"shop.bmp"}, "pics/../shop.bmp"},
      {"a path out of the folder is not read",
       "../../../../../../../../etc/passwd",
       {},
       "no_pre.bmp"},
      {"a link out of the folder is not read", "pics/out.bmp", {}, "no_pre.bmp"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    fs::create_directory(folder.path() / "pics");
    fs::create_symlink("/etc/passwd", folder.path() / "pics" / "out.bmp");
    for (const std::string &file : c.files) TempFolder::WriteBytes(folder.path() / file, "BM");
    TemplateProfile profile;
    profile.Image = c.image;
    const std::optional<fs::path> path = PreviewPicturePath(folder.path(), profile);
    if (c.expected) {
      ASSERT_TRUE(path.has_value());
      EXPECT_EQ(path->string(), folder.path().string() + "/" + *c.expected);
    } else {
      EXPECT_FALSE(path.has_value());
    }
  }
}

TEST(PromptsMessage, JoinsThePromptsWithTwoCarriageReturns) {
  struct Case {
    std::string prompt1;
    std::string prompt2;
    std::string message;
    bool clickable;
  };
  const std::vector<Case> cases = {
      {"", "", "", false},
      {"First", "", "First", true},
      {"First", "Second", "First\r\rSecond", true},
      {"", "Second", "\r\rSecond", true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.prompt1 + "|" + c.prompt2);
    TemplateProfile profile;
    profile.Prompt1 = c.prompt1;
    profile.Prompt2 = c.prompt2;
    EXPECT_EQ(PromptsMessage(profile), c.message);
    EXPECT_EQ(HasPrompts(profile), c.clickable);
  }
}

TEST(ReadTemplateText, ReadsTheWholeFileWithCrLfLineBreaks) {
  struct Case {
    const char *name;
    std::string bytes;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"lf only", "<p>\n%zf_price%\n</p>\n", "<p>\r\n%zf_price%\r\n</p>\r\n"},
      {"cr lf kept", "a\r\nb\r\n", "a\r\nb\r\n"},
      {"lone cr", "a\rb", "a\r\nb"},
      {"mixed, blank lines kept", "a\n\r\n\rb\n\nc", "a\r\n\r\n\r\nb\r\n\r\nc"},
      {"lf cr is two breaks", "a\n\rb", "a\r\n\r\nb"},
      {"empty file", "", ""},
      {"utf-8 kept, mark dropped", "\xEF\xBB\xBF\xE2\x82\xAC 5", "\xE2\x82\xAC 5"},
      {"windows-1252 converted", "\x80 5\n", "\xE2\x82\xAC 5\r\n"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    TempFolder::WriteBytes(folder.path() / "t.zft", c.bytes);
    EXPECT_EQ(ReadTemplateText(folder.path() / "t.zft"), c.text);
  }
}

TEST(ReadTemplateText, FileThatCannotBeOpenedThrowsWithItsReason) {
  TempFolder folder;
  const fs::path missing = folder.path() / "missing.zft";
  try {
    ReadTemplateText(missing);
    ADD_FAILURE() << "no error";
  } catch (const FileError &error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot open file \"" + missing.string() + "\". No such file or directory");
  }
  EXPECT_THROW(ReadTemplateText(folder.path()), FileError);
}

}  // namespace
}  // namespace vendigo
