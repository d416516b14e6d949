#include "core/program_folders.h"

#include <unistd.h>

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

bool IsInstalledCopy(const fs::path &programDir) {
  std::error_code error;
  const fs::path folder = programDir.lexically_normal();
  const fs::path bin = folder.has_filename() ? folder : folder.parent_path();
  return bin.filename() == "bin" &&
         fs::is_directory(bin.parent_path() / "share" / kOwnFolder, error);
}

ProgramFolders FindProgramFolders(const fs::path &programDir, bool programDirWritable,
                                  const fs::path &installedTemplates,
                                  const XdgEnvironment &environment) {
  std::error_code error;
  const bool settingsFileBeside = fs::exists(programDir / kSettingsFileName, error);
  const bool portable = settingsFileBeside || !IsInstalledCopy(programDir);
  ProgramFolders folders;
  folders.settings = portable && (programDirWritable || settingsFileBeside)
                         ? programDir
                         : XdgFolder(environment.configHome, environment.home, ".config");
  folders.preview = portable && programDirWritable
                        ? programDir
                        : XdgFolder(environment.cacheHome, environment.home, ".cache");
  folders.templates = {
      programDir, XdgFolder(environment.dataHome, environment.home, ".local/share") / "templates",
      installedTemplates};
  return folders;
}

ProgramFolders FindOwnProgramFolders(const fs::path &programDir,
                                     const fs::path &installedTemplates) {
  return FindProgramFolders(programDir, ::access(programDir.c_str(), W_OK) == 0, installedTemplates,
                            ProcessXdgEnvironment());
}

}  // namespace vendigo
