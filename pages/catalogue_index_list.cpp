#include "pages/catalogue_index_list.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "core/file_error.h"

namespace vendigo {
namespace {

[[noreturn]] void Fail(const char *what, int error) {
  throw FileError(std::string("cannot keep the index's list of products: ") + what + ": " +
                  std::generic_category().message(error));
}

void Put(std::FILE *file, const std::string &text) {
  const std::size_t size = text.size();
  std::fwrite(&size, sizeof size, 1, file);
  std::fwrite(text.data(), 1, size, file);
}

bool Get(std::FILE *file, std::string &text) {
  std::size_t size = 0;
  if (std::fread(&size, sizeof size, 1, file) != 1) return false;
  text.resize(size);
  return std::fread(text.data(), 1, size, file) == size;
}

}  // namespace

CatalogueIndexList::CatalogueIndexList() : file_(std::tmpfile()) {
  if (!file_) Fail("no temporary file", errno);
}

CatalogueIndexList::~CatalogueIndexList() {
  std::fclose(file_);
}

void CatalogueIndexList::Add(const CatalogueEntry &entry) {
  Put(file_, entry.Description);
  Put(file_, entry.Price);
  Put(file_, entry.FileName);
  ++size_;
}

void CatalogueIndexList::ForEachPage(
    std::size_t perPage, const std::function<void(const std::vector<CatalogueEntry> &)> &page) {
  if (std::fflush(file_) != 0 || std::ferror(file_)) Fail("writing", errno ? errno : EIO);
  std::rewind(file_);
  std::vector<CatalogueEntry> entries;
  if (perPage == 0) perPage = 1;
  if (size_ == 0) page(entries);
  for (std::size_t read = 0; read < size_;) {
    entries.clear();
    for (; entries.size() < perPage && read < size_; ++read) {
      CatalogueEntry &entry = entries.emplace_back();
      if (!Get(file_, entry.Description) || !Get(file_, entry.Price) ||
          !Get(file_, entry.FileName)) {
        Fail("reading", errno ? errno : EIO);
      }
    }
    page(entries);
  }
  std::fseek(file_, 0, SEEK_END);
}

}  // namespace vendigo
