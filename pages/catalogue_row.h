#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#include "pages/product_page.h"

namespace vendigo {

// One product of a catalogue, as a row of the input file gives it.
struct CatalogueRow {
  // The line of the input file where the row begins, counting from 1.
  std::size_t Line = 0;
  // What the product page is built from. Its ProductImageTag stays empty: the picture is
  // ImagePath, which the catalogue copies beside the pages.
  ProductPageInput Page;
  // The product picture as the row names it; a relative path is taken from the input file's
  // folder. Empty: no picture.
  std::string ImagePath;
  // The page's file name when the row names one; empty: made from the description.
  std::string FileName;
  // Why the row cannot be read; empty when it can.
  std::string Error;
};

// The rows of a catalogue's input, handed over one at a time in the order of the file, so a run
// holds only the rows under way however long the file is.
class CatalogueRowReader {
 public:
  virtual ~CatalogueRowReader() = default;
  // Sets row to the next row; false, leaving row as it is, after the last.
  virtual bool Next(CatalogueRow &row) = 0;
  // Starts again at the first row.
  virtual void Rewind() = 0;
  // How much of the input has been read, from 0 to 1.
  virtual double Progress() const = 0;
  // False when no row can name its file (a spreadsheet without the File column), which spares
  // the run reading the rows once first for those names.
  virtual bool MayNameFiles() const { return true; }
};

// An input file that cannot be read as a catalogue at all (no header, an unknown column). The
// message is meant for the user as it stands.
class CatalogueInputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vendigo
