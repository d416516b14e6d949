#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/program_folders.h"

namespace vendigo {

// The per-user file that remembers each site's target: $XDG_CONFIG_HOME/vendigo/vendigo.conf
// (~/.config/vendigo/vendigo.conf), the file the windows keep their choices in.
std::filesystem::path PublishTargetsFile(const XdgEnvironment &environment);

// The site folder as the targets are keyed by it: absolute, with "." and ".." and links resolved
// as far as it exists.
std::filesystem::path SiteKey(const std::filesystem::path &siteFolder);

// The target address remembered for the site folder; nullopt when there is none.
std::optional<std::string> LoadPublishTargetUrl(const std::filesystem::path &targetsFile,
                                                const std::filesystem::path &siteFolder);

// Remembers the target address for the site folder, keeping everything else in the file. Throws
// FileError("Unable to write to <file>") when the file cannot be written.
void SavePublishTargetUrl(const std::filesystem::path &targetsFile,
                          const std::filesystem::path &siteFolder, const std::string &url);

}  // namespace vendigo
