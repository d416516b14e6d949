#include "core/staged_folder.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/process_folders.h"
#include "core/whole_file.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

std::map<std::string, std::string> FilesIn(const fs::path &folder) {
  std::map<std::string, std::string> files;
  for (const auto &entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(entry.path(), folder).string();
    files[name] = entry.is_directory() ? "/" : TempFolder::ReadBytes(entry.path());
  }
  return files;
}

pid_t EndedProcess() {
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  return ended;
}

// Nothing shows at the target until Place, then everything at once; a name is written once; a
// stage of an ended process goes when the next is made beside it, one of a running process stays.
TEST(StagedFolder, AppearsWholeAndClearsWhatKilledRunsLeft) {
  TempFolder parent;
  const fs::path shop = parent.path() / "shop";
  const fs::path left = shop / (ProcessFolderPrefix(".vendigo-stage", EndedProcess()) + "1");
  const fs::path running = shop / (ProcessFolderPrefix(".vendigo-stage", ::getppid()) + "1");
  fs::create_directories(left / "images");
  fs::create_directories(running);
  const fs::path target = shop / "catalogue";

  StagedFolder stage(target);
  stage.Write("a.html", "first");
  stage.MakeFolder("images");
  stage.Write("images/a.png", "");
  EXPECT_THROW(stage.Write("a.html", "second"), FileExistsError);
  EXPECT_FALSE(fs::exists(target));
  EXPECT_FALSE(fs::exists(left));
  EXPECT_TRUE(fs::exists(running));
  stage.Place();
  stage.Place();
  EXPECT_EQ(stage.Path(), target);
  EXPECT_EQ(FilesIn(target), (std::map<std::string, std::string>{
                                 {"a.html", "first"}, {"images", "/"}, {"images/a.png", ""}}));
  EXPECT_EQ(FilesIn(shop).size(), 5u);  // the catalogue, its three files and folders, running
}

// A folder something else made meanwhile is not replaced, and the message says where the files
// are.
TEST(StagedFolder, KeepsAFolderMadeMeanwhile) {
  TempFolder parent;
  const fs::path target = parent.path() / "catalogue";
  StagedFolder stage(target);
  stage.Write("a.html", "mine");
  fs::create_directory(target);
  TempFolder::WriteBytes(target / "theirs.html", "theirs");
  try {
    stage.Place();
    FAIL() << "placed over a folder made meanwhile";
  } catch (const FileError &error) {
    EXPECT_EQ(std::string(error.what()), "cannot put the folder " + target.string() +
                                             " in place (File exists); its files are in " +
                                             stage.Path().string());
  }
  EXPECT_EQ(TempFolder::ReadBytes(stage.Path() / "a.html"), "mine");
  EXPECT_EQ(FilesIn(target).size(), 1u);
}

// A new file of an ended process goes; one of this process, which runs, stays.
TEST(RemoveAbandonedFiles, RemovesTheNewFilesOfEndedProcesses) {
  const pid_t ended = EndedProcess();
  TempFolder folder;
  const std::string own = std::to_string(::getpid());
  for (const std::string &name :
       {".a.html." + std::to_string(ended) + ".3", ".b.html." + own + ".1",
        std::string(".c.html.x.1"), std::string("d.html")}) {
    TempFolder::WriteBytes(folder.path() / name, "part");
  }
  EXPECT_EQ(RemoveAbandonedFiles(folder.path()), 1u);
  EXPECT_EQ(FilesIn(folder.path()).size(), 3u);
  EXPECT_FALSE(fs::exists(folder.path() / (".a.html." + std::to_string(ended) + ".3")));
}

}  // namespace
}  // namespace vendigo
