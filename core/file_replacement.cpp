#include "core/file_replacement.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <system_error>
#include <vector>

#include "core/file_descriptor.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

// The twelve hexadecimal digits that end the name of a new file.
constexpr std::size_t kSuffixLength = 12;

std::string SystemReason(int error) {
  return std::generic_category().message(error);
}

std::string UniqueSuffix() {
  static std::mt19937_64 generator{std::random_device{}()};
  static constexpr char kDigits[] = "0123456789abcdef";
  std::uint64_t number = generator();
  std::string suffix;
  for (std::size_t i = 0; i < kSuffixLength; ++i, number >>= 4) suffix += kDigits[number & 0xF];
  return suffix;
}

// The file that a write to path really changes: path itself, or the end of its chain of
// symbolic links. nullopt when a link cannot be followed.
std::optional<fs::path> FollowLinks(fs::path path) {
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!fs::is_symlink(path, error)) return path;
    const fs::path link = fs::read_symlink(path, error);
    if (error) return std::nullopt;
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  return std::nullopt;
}

std::string TemporaryPrefix(const fs::path &target) {
  return "." + target.filename().string() + ".";
}

bool IsTemporaryOf(const std::string &name, const std::string &prefix) {
  if (name.size() != prefix.size() + kSuffixLength || !name.starts_with(prefix)) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// The name of the file whose new file name is ("." + that name + "." + twelve hexadecimal
// digits); empty when name is none.
std::string SavedName(const std::string &name) {
  if (name.size() < kSuffixLength + 3 || name.front() != '.') return {};
  const std::size_t dot = name.size() - kSuffixLength - 1;
  if (name[dot] != '.' || !IsTemporaryOf(name, name.substr(0, dot + 1))) return {};
  return name.substr(1, dot - 1);
}

// Removes the new files of saves that were killed before they finished, in folder: those of
// target, or without a target those of every file there (a save of the file would remove them
// too). A save holds its new file locked until it is renamed, and the system drops the lock of a
// killed process.
void RemoveStaleTemporaries(const fs::path &folder, const fs::path *target) {
  const std::string prefix = target ? TemporaryPrefix(*target) : std::string();
  std::vector<fs::path> found;
  std::set<std::string> names;
  std::error_code error;
  for (fs::directory_iterator entry(folder.empty() ? fs::path(".") : folder, error), end;
       !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (!target) names.insert(name);
    if (target ? IsTemporaryOf(name, prefix) : !SavedName(name).empty()) {
      found.push_back(entry->path());
    }
  }
  for (const fs::path &path : found) {
    if (!target && !names.count(SavedName(path.filename().string()))) continue;
    const FileDescriptor stale(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (stale.get() < 0 || ::flock(stale.get(), LOCK_EX | LOCK_NB) != 0) continue;
    ::unlink(path.c_str());
  }
}

// Creates the new file beside target and locks it. The descriptor is -1, with errno set, when
// no file could be made.
int CreateTemporary(const fs::path &target, fs::path &temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = target.parent_path() / (TemporaryPrefix(target) + UniqueSuffix());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    // Another save may have taken the new file for a stale one between its creation and the
    // lock; a file still at its name after the lock is safe from that. A file system without
    // locks saves all the same, without that guard.
    if (::flock(fd, LOCK_EX) != 0) return fd;
    struct stat locked {};
    struct stat named {};
    if (::fstat(fd, &locked) == 0 && ::stat(temp.c_str(), &named) == 0 &&
        locked.st_ino == named.st_ino && locked.st_dev == named.st_dev) {
      return fd;
    }
    ::close(fd);
  }
  errno = EEXIST;
  return -1;
}

// Gives the new file what the old one has that a new file does not: its owner and group (a save
// by root of another user's file must leave it theirs) and its permission bits. An ordinary user
// cannot give a file away; their new file stays theirs, as it would be without a save.
bool TakeOverAttributes(int fd, const fs::path &target) {
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) return errno == ENOENT;
  struct stat made {};
  if (::fstat(fd, &made) != 0) return false;
  if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
      ::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) {
    return false;
  }
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// Makes the rename itself last: the folder's entry is flushed too. A folder that cannot be
// flushed is no failure of the save, which has happened.
void FlushFolder(const fs::path &folder) {
  const FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

// Writes the new file and renames it over target; the folder's entry is not flushed.
bool WriteAndRename(const fs::path &target, std::string_view bytes, std::string &reason) {
  fs::path temp;
  const FileDescriptor out(CreateTemporary(target, temp));
  if (out.get() < 0) {
    reason = SystemReason(errno);
    return false;
  }
  const bool ok = WriteAll(out.get(), bytes) && ::fsync(out.get()) == 0 &&
                  TakeOverAttributes(out.get(), target) &&
                  ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    reason = SystemReason(errno);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool ReplaceFileContents(const fs::path &file, std::string_view bytes, std::string &reason) {
  const std::optional<fs::path> target = FollowLinks(file);
  if (!target) {
    reason = SystemReason(ELOOP);
    return false;
  }
  RemoveStaleTemporaries(target->parent_path(), &*target);
  if (!WriteAndRename(*target, bytes, reason)) return false;
  FlushFolder(target->parent_path());
  return true;
}

struct FileReplacementBatch::Pending {
  fs::path file;    // as given
  fs::path target;  // the file a write changes
  fs::path temp;
  int fd = -1;  // the new file, open and locked until it is renamed
};

FileReplacementBatch::FileReplacementBatch() = default;

FileReplacementBatch::~FileReplacementBatch() {
  Finish();
}

bool FileReplacementBatch::Replace(const fs::path &file, std::string_view bytes,
                                   std::string &reason) {
  const std::optional<fs::path> target = FollowLinks(file);
  if (!target) {
    reason = SystemReason(ELOOP);
    return false;
  }
  const fs::path folder = target->parent_path();
  {
    // One thread cleans a folder while the others wait for it, so none writes beside a file
    // that is being looked at as stale.
    const std::lock_guard lock(mutex_);
    if (cleaned_.insert(folder).second) RemoveStaleTemporaries(folder, nullptr);
  }
  Pending pending{file, *target, {}, -1};
  pending.fd = CreateTemporary(*target, pending.temp);
  if (pending.fd < 0) {
    reason = SystemReason(errno);
    return false;
  }
  if (!WriteAll(pending.fd, bytes) || !TakeOverAttributes(pending.fd, *target)) {
    reason = SystemReason(errno);
    ::unlink(pending.temp.c_str());
    ::close(pending.fd);
    return false;
  }
  std::vector<Pending> full;
  {
    const std::lock_guard lock(mutex_);
    pending_.push_back(std::move(pending));
    if (pending_.size() >= kMostPending) full.swap(pending_);
  }
  Commit(full);
  return true;
}

void FileReplacementBatch::Commit(std::vector<Pending> &files) {
  if (files.empty()) return;
  // One flush of each file system brings every new file to the disk before any is renamed;
  // without it no new file of that file system may take an old one's place.
  std::set<fs::path> folders;
  for (const Pending &file : files) folders.insert(file.target.parent_path());
  std::map<dev_t, int> flushed;  // file system, 0 or the error of its flush
  std::map<fs::path, int> unflushed;
  for (const fs::path &folder : folders) {
    struct stat info {};
    const FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC));
    if (dir.get() < 0 || ::fstat(dir.get(), &info) != 0) {
      unflushed[folder] = errno;
      continue;
    }
    const auto [known, added] = flushed.emplace(info.st_dev, 0);
    if (added && ::syncfs(dir.get()) != 0) known->second = errno;
    if (known->second != 0) unflushed[folder] = known->second;
  }
  for (Pending &file : files) {
    const auto notFlushed = unflushed.find(file.target.parent_path());
    int error = notFlushed != unflushed.end() ? notFlushed->second : 0;
    if (error == 0 && ::rename(file.temp.c_str(), file.target.c_str()) != 0) error = errno;
    if (error != 0) {
      ::unlink(file.temp.c_str());
      const std::lock_guard lock(mutex_);
      failures_.emplace_back(file.file, SystemReason(error));
    }
    ::close(file.fd);
  }
  for (const fs::path &folder : folders) FlushFolder(folder);
  files.clear();
}

std::vector<std::pair<fs::path, std::string>> FileReplacementBatch::Finish() {
  std::vector<Pending> rest;
  {
    const std::lock_guard lock(mutex_);
    rest.swap(pending_);
  }
  Commit(rest);
  const std::lock_guard lock(mutex_);
  return std::move(failures_);
}

}  // namespace vendigo
