#include "core/program_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

TEST(FindProgramFolders, PortableCopiesKeepTheirFilesInstalledOnesUseTheUsersFolders) {
  struct Case {
    const char *name;
    bool writable;
    bool settingsFileThere;
    XdgEnvironment environment;
    const char *settings;
    const char *preview;
    const char *ownTemplates;
  };
  const XdgEnvironment set{"/home/m", "/cfg", "/cache", "/data"};
  const XdgEnvironment unset{"/home/m", "", "", ""};
  const XdgEnvironment relative{"/home/m", "cfg", "cache", "data"};
  const std::vector<Case> cases = {
      {"portable", true, false, set, "", "", "/data/vendigo/templates"},
      {"portable with settings", true, true, unset, "", "",
       "/home/m/.local/share/vendigo/templates"},
      {"read-only with settings", false, true, set, "", "/cache/vendigo",
       "/data/vendigo/templates"},
      {"installed", false, false, set, "/cfg/vendigo", "/cache/vendigo", "/data/vendigo/templates"},
      {"installed, variables unset", false, false, unset, "/home/m/.config/vendigo",
       "/home/m/.cache/vendigo", "/home/m/.local/share/vendigo/templates"},
      {"installed, relative variables", false, false, relative, "/home/m/.config/vendigo",
       "/home/m/.cache/vendigo", "/home/m/.local/share/vendigo/templates"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder program;
    if (c.settingsFileThere) testing::TempFolder::WriteBytes(program.path() / "pelluxfp.ini", "");
    // An empty expectation is the program folder itself.
    const auto place = [&](const char *where) { return *where ? fs::path(where) : program.path(); };
    const ProgramFolders found = FindProgramFolders(program.path(), c.writable,
                                                    "/usr/share/vendigo/templates", c.environment);
    EXPECT_EQ(found.settings, place(c.settings));
    EXPECT_EQ(found.preview, place(c.preview));
    EXPECT_EQ(found.templates, (std::vector<fs::path>{program.path(), c.ownTemplates,
                                                      "/usr/share/vendigo/templates"}));
  }
}

}  // namespace
}  // namespace vendigo
