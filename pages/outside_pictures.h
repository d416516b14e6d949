#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "html/html_document.h"

namespace vendigo {

// A picture (or stylesheet, or icon) that a page refers to where no visitor can load it: a file:
// address, a path of this computer's disk ("/home/me/mug.png") or a relative path that climbs out
// of the site folder. Relative paths inside the site, the site's own root addresses ("/images/...")
// and addresses of other servers are not such references.
struct OutsideReference {
  std::string address;  // as the page writes it, character references decoded, blanks trimmed
  std::string file;     // the file it names on this computer
  // The relative address it is to become, percent-encoded ASCII; empty when file is missing (or
  // the address is written with character references other than "&amp;", which is left alone).
  std::string newAddress;
};

// One change of the page: the bytes from begin.offset to end.offset of the file become text
// (ASCII, so the same bytes in any encoding the page is written in). begin and end also give the
// line and column, for an editor that holds the text rather than the bytes.
struct PageTextEdit {
  SourcePlace begin;
  SourcePlace end;
  std::string text;
  std::string written;  // what the place holds now, UTF-8
};

struct PictureCopy {
  std::string from;
  std::string to;
};

// What bringing a page's outside pictures into its site takes: each picture is copied once into
// the folder "images" beside the page, under its own name unless another file has that name there
// (then "mug-2.png", "mug-3.png", ...; a file there with the same bytes is used as it is), and each
// reference to it is rewritten as the relative address of the copy. A picture already inside the
// site (by a file: address or a disk path) is not copied, only referred to relatively.
struct OutsidePicturePlan {
  std::vector<OutsideReference> references;  // in page order, missing files included
  std::vector<PictureCopy> copies;           // one per picture to copy, in page order
  std::vector<PageTextEdit> edits;           // in page order, none overlapping
  std::vector<std::string> missing;          // the addresses whose file does not exist

  bool Empty() const { return references.empty(); }
};

// The plan for the page at pagePath (its bytes as a save writes them) in the site whose folder is
// siteFolder (the page's folder or one above it). Reads the disk, writes nothing.
OutsidePicturePlan PlanOutsidePictures(const std::string &pagePath, const std::string &siteFolder,
                                       std::string_view bytes);

// The page's bytes with the edits made; every other byte as it was.
std::string ApplyPageEdits(std::string_view bytes, const std::vector<PageTextEdit> &edits);

// Copies the pictures, making the folders they go into. Throws FileError naming the file that
// could not be read or written; the copies made before it stay.
void CopyPictures(const std::vector<PictureCopy> &copies);

}  // namespace vendigo
