#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "publish/publish_run.h"

namespace vendigo {

// The name a file is sent under before it is renamed into place: "." + name + ".vendigo-upload"
// in the same folder, so a rerun sends it under the same name again.
std::string UploadScratchName(std::string_view name);

// True for names that are never published: the manifest, upload scratch files, and version
// control folders (.git, .svn, .hg).
bool IsUnpublishedName(std::string_view name);

// The SHA-256 of the file's contents as 64 lowercase hexadecimal digits; nullopt with reason (the
// system's words) when it cannot be read.
std::optional<std::string> FileSha256(const std::filesystem::path &file, std::string &reason);
std::string BytesSha256(std::string_view bytes);

// Every regular file below the folder (links to files followed, links to folders not), in path
// order, with its size and SHA-256. nullopt with error ("<path>: <reason>") when a file or folder
// cannot be read.
std::optional<std::vector<PublishFile>> ListSiteFiles(const std::filesystem::path &folder,
                                                      std::string &error);

}  // namespace vendigo
