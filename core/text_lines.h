#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "core/file_descriptor.h"
#include "core/file_reading.h"

namespace vendigo {

// The lines of a text, one at a time, without a leading byte order mark and each decoded on its
// own (UTF-8 when it is valid UTF-8, else Windows-1252, as a file pieced together from several
// sources needs), each with its line end: CR LF, LF or a lone CR. A file is read a piece at a time, so a long one takes little memory.
class TextLines {
 public:
  // The lines of bytes, which must outlive this.
  explicit TextLines(std::string_view bytes);
  // The lines of a file. nullptr when it cannot be read, with reason as ReadFileBytes gives it.
  static std::unique_ptr<TextLines> OpenFile(const std::filesystem::path &file, std::string &reason,
                                             std::size_t maxBytes = kMaxFileBytes);

  // Sets line to the next line and its end; false after the last. Throws FileError ("cannot
  // read FILE: reason") when the file cannot be read on.
  bool Next(std::string &line);
  // Starts again at the first line.
  void Rewind();
  // How much of the text has been read, from 0 to 1.
  double Progress() const;

 private:
  TextLines(int fd, std::size_t size, std::size_t maxBytes);
  // Reads more of the file behind what is left of the window; false at its end.
  bool Fill();
  [[noreturn]] void Fail(const std::string &reason) const;

  FileDescriptor file_;  // none when the text is in memory
  std::string name_;     // the file's, for messages
  std::size_t size_;
  std::size_t maxBytes_;
  std::string buffer_;        // what has been read of the file and not yet handed out
  std::string_view window_;   // the bytes at hand: the text in memory or buffer_
  std::size_t at_ = 0;        // where in window_ the next line begins
  std::size_t consumed_ = 0;  // the bytes handed out, of the whole text
  std::size_t read_ = 0;      // the bytes read of the file
  bool atEnd_;
};

}  // namespace vendigo
