#include "core/text_lines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "core/file_error.h"
#include "core/text_encoding.h"

namespace vendigo {
namespace {

constexpr std::size_t kPiece = 64 * 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

TextLines::TextLines(std::string_view bytes)
    : size_(bytes.size()), maxBytes_(bytes.size()), window_(bytes), atEnd_(true) {}

TextLines::TextLines(int fd, std::size_t size, std::size_t maxBytes)
    : file_(fd), size_(size), maxBytes_(maxBytes), atEnd_(false) {}

std::unique_ptr<TextLines> TextLines::OpenFile(const std::filesystem::path &file,
                                               std::string &reason, std::size_t maxBytes) {
  // As ReadFileBytes: no open or read that could wait.
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat status {};
  if (fd < 0 || ::fstat(fd, &status) != 0) {
    reason = std::generic_category().message(errno);
    if (fd >= 0) ::close(fd);
    return nullptr;
  }
  std::unique_ptr<TextLines> lines(
      new TextLines(fd, static_cast<std::size_t>(status.st_size), maxBytes));
  lines->name_ = file.string();
  if (S_ISDIR(status.st_mode)) {
    reason = std::generic_category().message(EISDIR);
    return nullptr;
  }
  if (!S_ISREG(status.st_mode)) {
    reason = "Not a regular file";
    return nullptr;
  }
  if (lines->size_ > maxBytes) {
    reason = TooLargeReason(maxBytes);
    return nullptr;
  }
  reason.clear();
  return lines;
}

void TextLines::Fail(const std::string &reason) const {
  throw FileError("cannot read " + name_ + ": " + reason);
}

bool TextLines::Fill() {
  if (atEnd_) return false;
  buffer_.erase(0, at_);
  at_ = 0;
  const std::size_t kept = buffer_.size();
  buffer_.resize(kept + kPiece);
  ssize_t got = 0;
  do {
    got = ::read(file_.get(), buffer_.data() + kept, kPiece);
  } while (got < 0 && errno == EINTR);
  if (got < 0) Fail(std::generic_category().message(errno));
  buffer_.resize(kept + static_cast<std::size_t>(got));
  read_ += static_cast<std::size_t>(got);
  if (read_ > maxBytes_) Fail(TooLargeReason(maxBytes_));
  window_ = buffer_;
  atEnd_ = got == 0;
  return !atEnd_;
}

bool TextLines::Next(std::string &line) {
  if (consumed_ == 0 && at_ == 0) {
    while (window_.size() < kByteOrderMark.size() && Fill()) {
    }
    if (window_.starts_with(kByteOrderMark)) {
      at_ = kByteOrderMark.size();
      consumed_ = at_;
    }
  }
  // How far past at_ there is surely no line end: a long line is searched once, not at each read.
  std::size_t searched = 0;
  for (;;) {
    const std::size_t end = FindLineBreak(window_, at_ + searched);
    // A CR at the end of what is at hand may be the first half of a CR LF.
    const bool open =
        end == std::string_view::npos || (window_[end] == '\r' && end + 1 == window_.size());
    if (open && !atEnd_) {
      searched = (end == std::string_view::npos ? window_.size() : end) - at_;
      Fill();
      continue;
    }
    if (at_ == window_.size()) return false;
    std::size_t length = end == std::string_view::npos ? window_.size() - at_ : end + 1 - at_;
    if (end != std::string_view::npos && window_[end] == '\r' && end + 1 < window_.size() &&
        window_[end + 1] == '\n') {
      ++length;
    }
    const std::string_view text = window_.substr(at_, length);
    line = IsValidUtf8(text) ? std::string(text) : Windows1252ToUtf8(text);
    at_ += length;
    consumed_ += length;
    return true;
  }
}

void TextLines::Rewind() {
  at_ = 0;
  consumed_ = 0;
  if (file_.get() < 0) return;
  if (::lseek(file_.get(), 0, SEEK_SET) != 0) Fail(std::generic_category().message(errno));
  buffer_.clear();
  window_ = buffer_;
  read_ = 0;
  atEnd_ = false;
}

double TextLines::Progress() const {
  return size_ == 0 ? 1.0
                    : std::min(1.0, static_cast<double>(consumed_) / static_cast<double>(size_));
}

}  // namespace vendigo
