#include "core/program_folders.h"

#include <cstdlib>
#include <system_error>

#include "core/settings.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

constexpr char kOwnFolder[] = "vendigo";

std::string Variable(const char *name) {
  const char *value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

XdgEnvironment ProcessXdgEnvironment() {
  return {Variable("HOME"), Variable("XDG_CONFIG_HOME"), Variable("XDG_CACHE_HOME"),
          Variable("XDG_DATA_HOME")};
}

fs::path XdgFolder(const std::string &value, const std::string &home,
                   const std::string &fallbackUnderHome) {
  const fs::path base = !value.empty() && fs::path(value).is_absolute()
                            ? fs::path(value)
                            : fs::path(home) / fallbackUnderHome;
  return base / kOwnFolder;
}

ProgramFolders FindProgramFolders(const fs::path &programDir, bool programDirWritable,
                                  const fs::path &installedTemplates,
                                  const XdgEnvironment &environment) {
  std::error_code error;
  const bool settingsBeside =
      programDirWritable || fs::exists(programDir / kSettingsFileName, error);
  ProgramFolders folders;
  folders.settings =
      settingsBeside ? programDir : XdgFolder(environment.configHome, environment.home, ".config");
  folders.preview = programDirWritable
                        ? programDir
                        : XdgFolder(environment.cacheHome, environment.home, ".cache");
  folders.templates = {
      programDir, XdgFolder(environment.dataHome, environment.home, ".local/share") / "templates",
      installedTemplates};
  return folders;
}

}  // namespace vendigo
