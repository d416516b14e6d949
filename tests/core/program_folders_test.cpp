#include "core/program_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

// The program in a folder of its own, a bin folder alone, or an installation's (beside share/).
enum class Layout { Plain, Bin, Installed };

TEST(FindProgramFolders, PortableCopiesKeepTheirFilesInstalledOnesUseTheUsersFolders) {
  struct Case {
    const char *name;
    bool writable;
    bool settingsFileThere;
    XdgEnvironment environment;
    const char *settings;
    const char *preview;
    const char *ownTemplates;
    Layout layout = Layout::Plain;
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
      {"bin alone", true, false, set, "", "", "/data/vendigo/templates", Layout::Bin},
      {"installed, writable", true, false, set, "/cfg/vendigo", "/cache/vendigo",
       "/data/vendigo/templates", Layout::Installed},
      {"installed read-only with settings", false, true, set, "", "/cache/vendigo",
       "/data/vendigo/templates", Layout::Installed},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder base;
    const fs::path program = c.layout == Layout::Plain ? base.path() : base.path() / "bin";
    fs::create_directories(program);
    if (c.layout == Layout::Installed) fs::create_directories(base.path() / "share/vendigo");
    if (c.settingsFileThere) testing::TempFolder::WriteBytes(program / "pelluxfp.ini", "");
    // An empty expectation is the program folder itself.
    const auto place = [&](const char *where) { return *where ? fs::path(where) : program; };
    const ProgramFolders found =
        FindProgramFolders(program, c.writable, "/usr/share/vendigo/templates", c.environment);
    EXPECT_EQ(found.settings, place(c.settings));
    EXPECT_EQ(found.preview, place(c.preview));
    EXPECT_EQ(found.templates,
              (std::vector<fs::path>{program, c.ownTemplates, "/usr/share/vendigo/templates"}));
  }
}

}  // namespace
}  // namespace vendigo
