#pragma once

#include <sys/types.h>

#include <compare>
#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pages/catalogue_names.h"

namespace vendigo {

// The pictures a catalogue copies, told by their first bytes and never by their names: a
// spreadsheet from someone else may name any file, and what lands in the images folder is
// uploaded. SVG is not among them, as it may carry scripts.
enum class PictureKind { Png, Jpeg, Gif, WebP };

// The kind of picture the bytes begin with; nullopt when they begin no PNG, JPEG, GIF or WebP.
std::optional<PictureKind> PictureKindOf(std::string_view bytes);

// ".png", ".jpg", ".gif" or ".webp".
std::string_view PictureExtension(PictureKind kind);

// Where a file lies on its device: one file reached by several paths (a link, "..", an absolute
// path) has one identity.
struct FileIdentity {
  dev_t Device = 0;
  ino_t Inode = 0;

  friend auto operator<=>(const FileIdentity &, const FileIdentity &) = default;
};

// A picture file some rows name, copied once into the images folder.
struct CataloguePicture {
  std::filesystem::path Source;
  std::string Named;     // as the first row to name it wrote it
  std::string FileName;  // in the images folder
  FileIdentity Identity;
  PictureKind Kind = PictureKind::Png;
  std::string Error;  // why it could not be copied
};

// Finds the pictures the rows name. A picture may lie anywhere, named by an absolute path, one
// with ".." or a link: a merchant's own photos folder is as good as the spreadsheet's. What keeps
// other files out of the catalogue is the file itself: only a regular file (links followed)
// whose first bytes are a PNG, JPEG, GIF or WebP picture is taken.
class CataloguePictures {
 public:
  // Relative paths are taken from inputFolder.
  explicit CataloguePictures(std::filesystem::path inputFolder)
      : inputFolder_(std::move(inputFolder)) {}

  // The picture a row names: the same index for every name of one file. nullopt with error set,
  // in the merchant's words, when the file cannot be opened, is no regular file or no picture.
  // Pictures are named after their files, made unique, in the order they are added, with the
  // extension of their kind.
  std::optional<std::size_t> Add(const std::string &named, std::string &error);

  std::size_t Size() const { return pictures_.size(); }
  const CataloguePicture &At(std::size_t picture) const { return pictures_[picture]; }

 private:
  // What one name gave: a picture or the reason it gives none.
  struct Found {
    std::optional<std::size_t> picture;
    std::string error;
  };
  Found Find(const std::string &named);

  std::filesystem::path inputFolder_;
  std::vector<CataloguePicture> pictures_;
  std::map<std::string, Found> byName_;
  std::map<FileIdentity, std::size_t> byIdentity_;
  FileNames fileNames_;
};

// The bytes of a picture that Add found, read through one descriptor: still that file and still
// a picture of its kind, so what is copied is what was checked. nullopt with picture.Error set
// otherwise.
std::optional<std::string> ReadCataloguePicture(CataloguePicture &picture);

}  // namespace vendigo
