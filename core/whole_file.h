#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/file_error.h"

namespace vendigo {

// The file to write exists and is to be kept.
class FileExistsError : public FileError {
 public:
  using FileError::FileError;
};

// The file system refuses the file's name, or the path to it, as too long.
class FileNameTooLongError : public FileError {
 public:
  using FileError::FileError;
};

// Writes bytes to a new file beside target and then gives it target's name, so target is never
// seen half-written: it is the old file or the whole new one, and a failure leaves no file
// behind. A target that holds these bytes already is left as it is, so writing the same files
// again costs only reading them. Otherwise, without replace, an existing target is kept and
// FileExistsError thrown. Safe to call from
// several threads at once. Throws FileError naming target and the system's reason,
// FileNameTooLongError when that is ENAMETOOLONG.
void WriteFileWhole(const std::filesystem::path &target, std::string_view bytes, bool replace);

// As WriteFileWhole with the bytes read from the start of source a piece at a time, so a file of
// any size is written without holding it in memory. source is left at an unknown position.
void WriteFileWholeFrom(const std::filesystem::path &target, std::FILE *source, bool replace);

// As WriteFileWhole for the file `name` in the open folder `directory` (a descriptor; its path is
// folder, for messages), without first reading what the name holds.
void PlaceFileWhole(int directory, const std::filesystem::path &folder, const std::string &name,
                    std::string_view bytes, bool replace);

// Removes from folder the new files that writers of ended processes left behind, killed before
// they could give them their names. A writer holds a lock on its new file until it is named, so
// a file is only removed when no process holds that lock and the process that made it has ended.
// Returns how many were removed.
std::size_t RemoveAbandonedFiles(const std::filesystem::path &folder);

}  // namespace vendigo
