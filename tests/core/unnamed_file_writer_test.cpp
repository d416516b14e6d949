#include "core/unnamed_file_writer.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/whole_file.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

std::map<std::string, std::string> FilesIn(const fs::path &folder) {
  std::map<std::string, std::string> files;
  for (const auto &entry : fs::directory_iterator(folder))
    files[entry.path().filename()] = TempFolder::ReadBytes(entry.path());
  return files;
}

// Unnamed files, and the temporary name with the rename where they are turned off: either way
// only whole files under their names, and a name that exists is kept.
TEST(UnnamedFileWriter, WritesWholeFilesAndKeepsThoseThatExist) {
  for (const bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed" : "renamed");
    TempFolder folder;
    UnnamedFileWriter writer(folder.path(), unnamed);
    writer.Write("a.html", "first");
    writer.Write("b.html", "");
    EXPECT_THROW(writer.Write("a.html", "second"), FileExistsError);
    EXPECT_EQ(FilesIn(folder.path()),
              (std::map<std::string, std::string>{{"a.html", "first"}, {"b.html", ""}}));
    EXPECT_EQ(writer.WritesUnnamed(), unnamed);
  }
}

// A new file of an ended process goes; one of this process, which runs, stays.
TEST(RemoveAbandonedFiles, RemovesTheNewFilesOfEndedProcesses) {
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
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
