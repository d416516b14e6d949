#include "core/recovery_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/process_folders.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// The process id of a child that has ended.
int EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

std::set<std::string> Names(const fs::path &folder) {
  std::set<std::string> names;
  for (const auto &entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

mode_t Mode(const fs::path &path) {
  struct stat status {};
  ::stat(path.c_str(), &status);
  return status.st_mode & 07777;
}

TEST(RecoveryCopy, ReadsBackWhatItWroteAndNothingElse) {
  const std::vector<RecoveryCopy> copies = {
      {"/a b/c\nd\\e.html", "", "windows-1252", "<p>\xE9</p>\r\n\n\\n"},
      {"", "Untitled 2", "utf-8", ""},
  };
  for (const RecoveryCopy &copy : copies) {
    const std::optional<RecoveryCopy> read = ReadRecoveryCopy(RecoveryCopyBytes(copy));
    ASSERT_TRUE(read);
    EXPECT_EQ(std::tie(read->path, read->untitledName, read->encoding, read->text),
              std::tie(copy.path, copy.untitledName, copy.encoding, copy.text));
  }
  EXPECT_EQ(RecoveryCopyBytes(copies[0]),
            "vendigo-pageeditor recovery copy 1\npath /a b/c\\nd\\\\e.html\nuntitled \n"
            "encoding windows-1252\n\n<p>\xE9</p>\r\n\n\\n");
  for (const char *other :
       {"", "<p>x</p>", "vendigo-pageeditor recovery copy 1\npath /a\n",
        "vendigo-pageeditor recovery copy 1\npath \\x\nuntitled \nencoding \n\n",
        "vendigo-pageeditor recovery copy 1\nuntitled \npath \nencoding \n\n"}) {
    EXPECT_FALSE(ReadRecoveryCopy(other)) << other;
  }
}

TEST(RecoveryStore, ANewEditorClaimsTheCopiesOfEndedEditorsOnly) {
  TempFolder base;
  const fs::path folder = base.path() / "state" / "recovery";
  const RecoveryCopy page{"/site/page.html", "", "utf-8", "<p>page</p>"};
  const RecoveryCopy untitled{"", "Untitled 1", "utf-8", "<p>new</p>"};
  std::string reason;
  {
    // An editor that quit: its lock file went, its copies stayed.
    const auto quit = RecoveryStore::Open(folder, 101, reason);
    ASSERT_TRUE(quit) << reason;
    const int slot = quit->NewSlot();
    ASSERT_TRUE(quit->Write(quit->NewSlot(), untitled, reason)) << reason;
    ASSERT_TRUE(quit->Write(slot, page, reason)) << reason;
  }
  // An editor that was killed in the middle of a write: its lock is free.
  TempFolder::WriteBytes(folder / "102.lock", "");
  TempFolder::WriteBytes(folder / "102-4.recovery", RecoveryCopyBytes(page));
  TempFolder::WriteBytes(folder / ".102-4.recovery.0123456789ab", "<p>pa");
  TempFolder::WriteBytes(folder / "102-5.recovery", "");  // created, never written
  const auto running = RecoveryStore::Open(folder, 103, reason);
  ASSERT_TRUE(running && running->Write(running->NewSlot(), untitled, reason)) << reason;

  const auto starting = RecoveryStore::Open(folder, 104, reason);
  ASSERT_TRUE(starting) << reason;
  std::vector<std::pair<int, std::string>> claimed;
  for (const RecoveryStore::Orphan &orphan : starting->ClaimOrphans()) {
    claimed.emplace_back(orphan.slot, orphan.copy.path + orphan.copy.untitledName);
  }
  EXPECT_EQ(claimed, (std::vector<std::pair<int, std::string>>{
                         {1, "/site/page.html"}, {2, "Untitled 1"}, {3, "/site/page.html"}}));
  EXPECT_EQ(Names(folder), (std::set<std::string>{"103-1.recovery", "103.lock", "104-1.recovery",
                                                  "104-2.recovery", "104-3.recovery", "104.lock"}));
  EXPECT_TRUE(RecoveryStore::Open(folder, 105, reason)->ClaimOrphans().empty());
  EXPECT_EQ(Mode(folder), 0700u);
  EXPECT_EQ(Mode(folder / "104-1.recovery"), 0600u);
  EXPECT_EQ(Mode(folder / "103-1.recovery"), 0600u);
}

TEST(RemoveFoldersOfEndedProcesses, RemovesOnlyTheFoldersOfEndedProcessesOfTheProgram) {
  TempFolder temp;
  const std::string ended = std::to_string(EndedProcess());
  const std::string running = std::to_string(::getpid());
  for (const std::string &name :
       {"editor-" + ended + "-aB3xYz", "editor-" + running + "-aB3xYz",
        std::string("editor-aB3xYz"), "editor-" + ended, "other-" + ended + "-x"}) {
    fs::create_directories(temp.path() / name / "inside");
  }
  TempFolder::WriteBytes(temp.path() / ("editor-" + ended + "-file"), "");
  RemoveFoldersOfEndedProcesses(temp.path(), "editor");
  EXPECT_EQ(Names(temp.path()),
            (std::set<std::string>{"editor-" + ended, "editor-" + ended + "-file",
                                   "editor-" + running + "-aB3xYz", "editor-aB3xYz",
                                   "other-" + ended + "-x"}));
}

}  // namespace
}  // namespace vendigo
