#include "core/process_folders.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string_view>
#include <system_error>

namespace vendigo {

namespace fs = std::filesystem;

bool IsProcessRunning(int pid) {
  return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

std::string ProcessFolderPrefix(const std::string &program, int pid) {
  return program + "-" + std::to_string(pid) + "-";
}

void RemoveFoldersOfEndedProcesses(const fs::path &parent, const std::string &program) {
  const std::string start = program + "-";
  std::error_code error;
  for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(start)) continue;
    const std::string_view rest = std::string_view(name).substr(start.size());
    int pid = 0;
    const auto [digitsEnd, failure] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (failure != std::errc() || pid <= 0 || digitsEnd == rest.data() + rest.size() ||
        *digitsEnd != '-' || IsProcessRunning(pid)) {
      continue;
    }
    struct stat folder {};
    if (::lstat(it->path().c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode) ||
        folder.st_uid != ::geteuid()) {
      continue;
    }
    std::error_code ignored;
    fs::remove_all(it->path(), ignored);
  }
}

}  // namespace vendigo
