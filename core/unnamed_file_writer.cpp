#include "core/unnamed_file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "core/whole_file.h"

namespace vendigo {
namespace {

// O_TMPFILE's refusals by a file system or kernel without it.
bool NoUnnamedFiles(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOSYS;
}

}  // namespace

UnnamedFileWriter::UnnamedFileWriter(const std::filesystem::path &folder, bool unnamed)
    : folder_(folder),
      directory_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      unnamed_(unnamed) {
  if (directory_.get() < 0) {
    throw FileError("cannot open the folder " + folder.string() + ": " +
                    std::generic_category().message(errno));
  }
}

int UnnamedFileWriter::WriteUnnamed(const std::string &name, std::string_view bytes) {
  const FileDescriptor file(
      ::openat(directory_.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
  if (file.get() < 0) {
    if (NoUnnamedFiles(errno)) unnamed_ = false;
    return errno;
  }
  if (!WriteAll(file.get(), bytes)) return errno ? errno : EIO;
  // Linking the descriptor itself (AT_EMPTY_PATH) needs no privilege since Linux 6.10, and
  // CAP_DAC_READ_SEARCH before; its name under /proc, when /proc is mounted, needs none.
  if (linksDescriptors_) {
    if (::linkat(file.get(), "", directory_.get(), name.c_str(), AT_EMPTY_PATH) == 0) return 0;
    if (errno != ENOENT && errno != EPERM) return errno;
    linksDescriptors_ = false;
  }
  char path[40];
  std::snprintf(path, sizeof path, "/proc/self/fd/%d", file.get());
  if (::linkat(AT_FDCWD, path, directory_.get(), name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  if (errno == EPERM || errno == ENOENT) unnamed_ = false;
  return errno;
}

void UnnamedFileWriter::Write(const std::string &name, std::string_view bytes) {
  if (unnamed_) {
    const int error = WriteUnnamed(name, bytes);
    if (error == 0) return;
    if (error == EEXIST)
      throw FileExistsError((folder_ / name).string() + " exists already and is not replaced");
    if (unnamed_) {
      throw FileError("cannot write " + (folder_ / name).string() + ": " +
                      std::generic_category().message(error));
    }
  }
  PlaceFileWhole(directory_.get(), folder_, name, bytes, false);
}

}  // namespace vendigo
