#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/file_descriptor.h"

namespace vendigo {

// How the name of every staged folder begins.
inline constexpr char kStagedFolderPrefix[] = ".vendigo-stage-";

// A new folder filled out of sight: it is made hidden beside the place it is meant for, its files
// are written straight under their names (nobody else looks into it, so no file needs a temporary
// name or an unnamed stage), and Place renames the whole folder into place. The folder thus
// appears with every file in it whole. A process killed before Place leaves its hidden folder,
// which the next StagedFolder made beside it removes. One thread at a time.
class StagedFolder {
 public:
  // Throws FileError when the hidden folder, or the folders above target, cannot be made.
  explicit StagedFolder(const std::filesystem::path &target);
  StagedFolder(const StagedFolder &) = delete;
  StagedFolder &operator=(const StagedFolder &) = delete;

  // Where the files are until Place; afterwards, target.
  const std::filesystem::path &Path() const { return placed_ ? target_ : stage_; }

  // Makes a folder inside, named relative to the staged folder.
  void MakeFolder(const std::string &name);
  // Writes a whole file, named relative to the staged folder. Throws FileExistsError when the
  // name is taken, FileNameTooLongError, and FileError naming the file (as it will be named once
  // placed) and the system's reason on any other failure; a file that failed is removed.
  void Write(const std::string &name, std::string_view bytes);

  // Renames the folder to target. Throws FileError, saying where the files are, when something
  // else has made target meanwhile. Later calls do nothing.
  void Place();

 private:
  // Makes the hidden folder beside target, after removing those of ended processes.
  static std::filesystem::path MakeStage(const std::filesystem::path &target);

  std::filesystem::path target_;
  std::filesystem::path stage_;
  FileDescriptor directory_;
  bool placed_ = false;
};

}  // namespace vendigo
