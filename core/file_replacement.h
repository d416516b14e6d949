#pragma once

#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// ReplaceFileContents for many files at once, from any number of threads, with the same
// guarantee for each file (the old file or the whole new one) at a fraction of the cost: the new
// files left beside them by killed saves are looked for once per folder, not once per file (a
// folder of ten thousand pages would be read ten thousand times), and rather than one flush to the
// disk per file the new files are written, then brought to the disk together with one flush of
// their file system, and only then renamed over their files; each folder's entries are flushed
// once per such commit. A commit happens every kMostPending files and at Finish.
class FileReplacementBatch {
 public:
  static constexpr std::size_t kMostPending = 256;

  FileReplacementBatch();
  FileReplacementBatch(const FileReplacementBatch &) = delete;
  FileReplacementBatch &operator=(const FileReplacementBatch &) = delete;
  ~FileReplacementBatch();  // finishes

  // Writes the new contents of file beside it; they take its place at the next commit. False
  // with reason set when the new file cannot be written; the old file then stays as it was.
  bool Replace(const std::filesystem::path &file, std::string_view bytes, std::string &reason);
  // Commits what is left; the files (as given to Replace) whose new contents could not take their
  // place since the batch began, each with the system's words for why. Each stays as it was.
  std::vector<std::pair<std::filesystem::path, std::string>> Finish();

 private:
  struct Pending;
  void Commit(std::vector<Pending> &files);

  std::mutex mutex_;
  std::set<std::filesystem::path> cleaned_;  // folders whose stale new files are gone
  std::vector<Pending> pending_;
  std::vector<std::pair<std::filesystem::path, std::string>> failures_;
};

}  // namespace vendigo
