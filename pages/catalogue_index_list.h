#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <vector>

#include "pages/catalogue_document.h"

namespace vendigo {

// The products of a catalogue's index in the order they are added, kept in an unnamed temporary
// file rather than in memory, so a catalogue of a million products needs no more memory than
// one of a thousand. One thread at a time.
class CatalogueIndexList {
 public:
  // Throws FileError when there is no temporary file.
  CatalogueIndexList();
  ~CatalogueIndexList();
  CatalogueIndexList(const CatalogueIndexList &) = delete;
  CatalogueIndexList &operator=(const CatalogueIndexList &) = delete;

  void Add(const CatalogueEntry &entry);
  std::size_t Size() const { return size_; }

  // Calls page with the products in order, perPage at a time (the last page may hold fewer;
  // one empty page when there are none). Throws FileError when the list cannot be read back.
  void ForEachPage(std::size_t perPage,
                   const std::function<void(const std::vector<CatalogueEntry> &)> &page);

 private:
  std::FILE *file_;
  std::size_t size_ = 0;
};

}  // namespace vendigo
