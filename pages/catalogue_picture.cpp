#include "pages/catalogue_picture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "core/file_descriptor.h"
#include "core/file_reading.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

// Enough of a file's start to tell its kind: WebP's is the longest.
constexpr std::size_t kHeadBytes = 12;

std::string Quoted(std::string_view named) {
  return "picture \"" + std::string(named) + "\"";
}

std::string CannotRead(const fs::path &source, const std::string &reason) {
  return "cannot read the picture " + source.string() + ": " + reason;
}

std::string NotAPicture(std::string_view named) {
  return Quoted(named) + " is not a PNG, JPEG, GIF or WebP picture";
}

// Opened without waiting: a pipe named as a picture would hold a plain open up for good. Links
// are followed; what counts is what the descriptor then shows.
int OpenPicture(const fs::path &source) {
  return ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

// Why the opened file is no picture file to read, by its kind and size; empty when it is one.
std::string FileKindError(const struct stat &status, const fs::path &source,
                          std::string_view named) {
  if (S_ISDIR(status.st_mode)) return Quoted(named) + " is a folder, not a picture file";
  if (!S_ISREG(status.st_mode)) {
    return Quoted(named) + " is not a plain file (it is a pipe, device or socket)";
  }
  if (static_cast<std::size_t>(status.st_size) > kMaxFileBytes) {
    return CannotRead(source, TooLargeReason(kMaxFileBytes));
  }
  return "";
}

}  // namespace

std::optional<PictureKind> PictureKindOf(std::string_view bytes) {
  if (bytes.starts_with("\x89PNG\r\n\x1A\n")) return PictureKind::Png;
  if (bytes.starts_with("\xFF\xD8\xFF")) return PictureKind::Jpeg;
  if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) return PictureKind::Gif;
  if (bytes.size() >= kHeadBytes && bytes.starts_with("RIFF") && bytes.substr(8, 4) == "WEBP") {
    return PictureKind::WebP;
  }
  return std::nullopt;
}

std::string_view PictureExtension(PictureKind kind) {
  switch (kind) {
    case PictureKind::Png:
      return ".png";
    case PictureKind::Jpeg:
      return ".jpg";
    case PictureKind::Gif:
      return ".gif";
    case PictureKind::WebP:
      return ".webp";
  }
  return "";
}

std::optional<std::size_t> CataloguePictures::Add(const std::string &named, std::string &error) {
  auto [at, added] = byName_.try_emplace(named);
  if (added) at->second = Find(named);
  error = at->second.error;
  return at->second.picture;
}

CataloguePictures::Found CataloguePictures::Find(const std::string &named) {
  const fs::path source = (inputFolder_ / named).lexically_normal();
  const FileDescriptor in(OpenPicture(source));
  struct stat status {};
  if (in.get() < 0 || ::fstat(in.get(), &status) != 0) {
    return {std::nullopt, CannotRead(source, std::generic_category().message(errno))};
  }
  if (std::string error = FileKindError(status, source, named); !error.empty()) {
    return {std::nullopt, error};
  }
  char head[kHeadBytes];
  const ssize_t count = ::pread(in.get(), head, sizeof head, 0);
  if (count < 0) return {std::nullopt, CannotRead(source, std::generic_category().message(errno))};
  const std::optional<PictureKind> kind =
      PictureKindOf(std::string_view(head, static_cast<std::size_t>(count)));
  if (!kind) return {std::nullopt, NotAPicture(named)};

  const FileIdentity identity{status.st_dev, status.st_ino};
  auto [at, added] = byIdentity_.try_emplace(identity, pictures_.size());
  if (added) {
    const std::string fileName = fileNames_.Unique(FileNameWords(source.stem().string()),
                                                   std::string(PictureExtension(*kind)));
    pictures_.push_back({source, named, fileName, identity, *kind, ""});
  }
  return {at->second, ""};
}

std::optional<std::string> ReadCataloguePicture(CataloguePicture &picture) {
  const FileDescriptor in(OpenPicture(picture.Source));
  struct stat status {};
  if (in.get() < 0 || ::fstat(in.get(), &status) != 0) {
    picture.Error = CannotRead(picture.Source, std::generic_category().message(errno));
    return std::nullopt;
  }
  picture.Error = FileKindError(status, picture.Source, picture.Named);
  if (picture.Error.empty() && FileIdentity{status.st_dev, status.st_ino} != picture.Identity) {
    picture.Error = Quoted(picture.Named) + " was replaced by another file while it was copied";
  }
  if (!picture.Error.empty()) return std::nullopt;
  std::string reason;
  std::optional<std::string> bytes = ReadStreamBytes(in.get(), reason);
  if (!bytes) {
    picture.Error = CannotRead(picture.Source, reason);
  } else if (PictureKindOf(*bytes) != picture.Kind) {
    picture.Error = NotAPicture(picture.Named);
    bytes.reset();
  }
  return bytes;
}

}  // namespace vendigo
