#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vendigo {

// The environment variables that say where a user's files go, as the process has them; an unset
// variable is the empty text.
struct XdgEnvironment {
  std::string home;        // HOME
  std::string configHome;  // XDG_CONFIG_HOME
  std::string cacheHome;   // XDG_CACHE_HOME
  std::string dataHome;    // XDG_DATA_HOME
};

// The process's own XdgEnvironment.
XdgEnvironment ProcessXdgEnvironment();

// Where the palette keeps its files.
struct ProgramFolders {
  // pelluxfp.ini, read and written, and buttons.slu, read.
  std::filesystem::path settings;
  // The image preview page img~.html.
  std::filesystem::path preview;
  // Where templates are looked for, in order; a file name found in an earlier folder hides the
  // same name in the later ones.
  std::vector<std::filesystem::path> templates;
};

// The folder of our own below an XDG base folder: the variable's value when it is an absolute
// path, otherwise home followed by fallbackUnderHome; then "vendigo".
std::filesystem::path XdgFolder(const std::string &value, const std::string &home,
                                const std::string &fallbackUnderHome);

// True when programDir is the bin folder of an installation: a folder named "bin" beside which
// share/vendigo exists.
bool IsInstalledCopy(const std::filesystem::path &programDir);

// Where the files of a program in programDir live. An installed copy (IsInstalledCopy) keeps its
// settings in $XDG_CONFIG_HOME/vendigo and its preview page in $XDG_CACHE_HOME/vendigo, unless
// pelluxfp.ini already lies beside the program: then it is a portable copy. A portable copy keeps
// its settings beside the program when that folder can be written or already holds pelluxfp.ini,
// else in $XDG_CONFIG_HOME/vendigo, and its preview page beside the program when that folder can
// be written, else in $XDG_CACHE_HOME/vendigo. Templates come from the program folder, then the
// merchant's own in $XDG_DATA_HOME/vendigo/templates, then installedTemplates (the installation's
// share/vendigo/templates).
ProgramFolders FindProgramFolders(const std::filesystem::path &programDir, bool programDirWritable,
                                  const std::filesystem::path &installedTemplates,
                                  const XdgEnvironment &environment);

// FindProgramFolders for the program in programDir as this process finds it: the folder's
// writability as the system answers for this user, and the process's own XdgEnvironment.
ProgramFolders FindOwnProgramFolders(const std::filesystem::path &programDir,
                                     const std::filesystem::path &installedTemplates = {});

}  // namespace vendigo
