#pragma once

#include <filesystem>
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

}  // namespace vendigo
