#include "core/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text_encoding.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

using testing::TempFolder;

// A file read a piece at a time gives the lines of the whole file decoded at once, also where a
// CR LF or a character is cut by the end of a piece.
TEST(TextLines, FileGivesTheLinesOfTheWholeText) {
  const std::string piece(64 * 1024 - 1, 'a');
  const std::vector<std::pair<const char *, std::string>> cases = {
      {"UTF-8 with a byte order mark", "\xEF\xBB\xBFone\r\ntwo\rthree\n\nfour"},
      {"CR LF across pieces", piece + "\r\n" + piece + "\r" + piece + "\xC3\xA9\n"},
      {"Windows-1252", "Cr\xE8me\r\n" + piece + "\xE9"},
      {"empty", ""},
  };
  TempFolder folder;
  for (const auto &[name, bytes] : cases) {
    SCOPED_TRACE(name);
    std::vector<std::string> expected;
    for (const TextLine &line : SplitLines(DecodeTextFile(bytes)))
      expected.push_back(line.text + line.end);
    TempFolder::WriteBytes(folder.path() / "text", bytes);
    std::string reason;
    const std::unique_ptr<TextLines> file = TextLines::OpenFile(folder.path() / "text", reason);
    ASSERT_TRUE(file) << reason;
    TextLines memory(bytes);
    for (TextLines *text : {file.get(), &memory, file.get()}) {
      std::vector<std::string> lines;
      for (std::string line; text->Next(line);) lines.push_back(line);
      EXPECT_EQ(lines, expected);
      EXPECT_EQ(text->Progress(), 1.0);
      text->Rewind();
    }
  }
  std::string reason;
  EXPECT_FALSE(TextLines::OpenFile(folder.path(), reason));
  EXPECT_EQ(reason, "Is a directory");
}

}  // namespace
}  // namespace vendigo
