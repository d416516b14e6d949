#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/file_descriptor.h"

namespace vendigo {

// Writes whole files into one folder with a single directory entry each: a file is written
// unnamed (O_TMPFILE) and linked in under its name once complete, so it is never seen
// half-written and a process killed on the way leaves nothing behind. Where the file system has
// no unnamed files, or they cannot be linked, each file is written under a temporary name and
// renamed, as PlaceFileWhole does. Meant for a folder the caller has just made: an existing name
// is never replaced. One thread at a time.
class UnnamedFileWriter {
 public:
  // unnamed false: always the temporary name and the rename. Throws FileError when the folder
  // cannot be opened.
  explicit UnnamedFileWriter(const std::filesystem::path &folder, bool unnamed = true);

  // Writes bytes as the file name in the folder. Throws FileExistsError when the name exists,
  // FileError naming the file and the system's reason on any other failure.
  void Write(const std::string &name, std::string_view bytes);

  // False once the file system has refused an unnamed file.
  bool WritesUnnamed() const { return unnamed_; }

 private:
  // 0, or the errno of the step that failed; unnamed_ is cleared when the step is one the file
  // system does not offer.
  int WriteUnnamed(const std::string &name, std::string_view bytes);

  std::filesystem::path folder_;
  FileDescriptor directory_;
  bool unnamed_;
  bool linksDescriptors_ = true;  // linkat with AT_EMPTY_PATH works
};

}  // namespace vendigo
