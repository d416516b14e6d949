#pragma once

#include <unistd.h>

#include <string_view>

namespace vendigo {

// An open file descriptor that is closed when it goes out of scope; -1 holds none.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor &) = delete;
  FileDescriptor &operator=(const FileDescriptor &) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Writes all of bytes to fd, however many calls the system needs. False with errno set on
// failure (ENOSPC when the system takes no byte without saying why).
bool WriteAll(int fd, std::string_view bytes);

}  // namespace vendigo
