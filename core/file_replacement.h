#pragma once

#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace vendigo {

// Replaces the contents of file with bytes so that the file is either the old one or the whole
// new one, never a part. The bytes go to a new file beside it; every write is checked and the
// new file is flushed to the disk; it takes the old file's permissions, owner and group; only
// then is it renamed over the old file. When file is a symbolic link, the file it points to is
// replaced. On any failure the old file stays as it was, the new file is removed, and reason
// holds the system's words for why ("No space left on device").
//
// The new file is named "." + the file's name + "." + twelve hexadecimal digits and is locked
// while it is written. Such a file that nobody holds locked was left by a save that was killed
// half-way, and each save removes those it finds beside its file.
bool ReplaceFileContents(const std::filesystem::path &file, std::string_view bytes,
                         std::string &reason);

// ReplaceFileContents for many files at once, from any number of threads: the new files left
// beside them by killed saves are looked for once per folder, not once per file (a folder of ten
// thousand pages would be read ten thousand times), and each folder's entries are flushed to the
// disk once, when the batch ends.
class FileReplacementBatch {
 public:
  FileReplacementBatch() = default;
  FileReplacementBatch(const FileReplacementBatch &) = delete;
  FileReplacementBatch &operator=(const FileReplacementBatch &) = delete;
  ~FileReplacementBatch();

  bool Replace(const std::filesystem::path &file, std::string_view bytes, std::string &reason);

 private:
  std::mutex mutex_;
  std::set<std::filesystem::path> cleaned_;  // folders whose stale new files are gone
  std::set<std::filesystem::path> written_;  // folders to flush
};

}  // namespace vendigo
