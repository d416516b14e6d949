#include "publish/site_files.h"

#include "core/staged_folder.h"
#include "publish/publish_libraries.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>

namespace vendigo {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kScratchSuffix = ".vendigo-upload";

std::string Hex(const unsigned char *bytes, unsigned int count) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < count; ++i) {
    hex += kHex[bytes[i] >> 4];
    hex += kHex[bytes[i] & 15];
  }
  return hex;
}

using DigestContext = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

DigestContext NewSha256() {
  DigestContext context(Libraries().EVP_MD_CTX_new(), Libraries().EVP_MD_CTX_free);
  if (!context ||
      Libraries().EVP_DigestInit_ex(context.get(), Libraries().EVP_sha256(), nullptr) != 1) {
    throw std::bad_alloc();
  }
  return context;
}

std::string Finish(EVP_MD_CTX *context) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  Libraries().EVP_DigestFinal_ex(context, digest, &length);
  return Hex(digest, length);
}

}  // namespace

std::string UploadScratchName(std::string_view name) {
  return "." + std::string(name) + std::string(kScratchSuffix);
}

bool IsUnpublishedName(std::string_view name) {
  // A catalogue run that was killed leaves its hidden folder of pages (StagedFolder); they were
  // never part of the site.
  return name == kPublishManifestName || name == ".git" || name == ".svn" || name == ".hg" ||
         name.starts_with(kStagedFolderPrefix) ||
         (name.size() > kScratchSuffix.size() + 1 && name.front() == '.' &&
          name.ends_with(kScratchSuffix));
}

std::string BytesSha256(std::string_view bytes) {
  DigestContext context = NewSha256();
  Libraries().EVP_DigestUpdate(context.get(), bytes.data(), bytes.size());
  return Finish(context.get());
}

std::optional<std::string> FileSha256(const fs::path &file, std::string &reason) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    reason = std::strerror(errno);
    return std::nullopt;
  }
  DigestContext context = NewSha256();
  std::vector<char> buffer(1 << 16);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    Libraries().EVP_DigestUpdate(context.get(), buffer.data(),
                                 static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) {
    reason = "Input/output error";
    return std::nullopt;
  }
  return Finish(context.get());
}

std::optional<std::vector<PublishFile>> ListSiteFiles(const fs::path &folder, std::string &error) {
  std::vector<PublishFile> files;
  std::error_code code;
  fs::recursive_directory_iterator it(folder, code), end;
  if (code) {
    error = folder.string() + ": " + code.message();
    return std::nullopt;
  }
  for (; it != end; it.increment(code)) {
    if (code) break;
    const fs::path &path = it->path();
    if (IsUnpublishedName(path.filename().string())) {
      if (it->is_directory(code)) it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file(code)) continue;
    const std::string relative = path.lexically_relative(folder).generic_string();
    // FTP commands end at a line break, so such a name could not be sent as it is.
    if (std::any_of(relative.begin(), relative.end(),
                    [](char c) { return c == '\n' || c == '\r'; })) {
      error = path.string() + ": a file name with a line break cannot be published";
      return std::nullopt;
    }
    std::string reason;
    const std::optional<std::string> sha256 = FileSha256(path, reason);
    const std::uintmax_t size = fs::file_size(path, code);
    if (!sha256 || code) {
      error = path.string() + ": " + (sha256 ? code.message() : reason);
      return std::nullopt;
    }
    files.push_back({relative, size, *sha256});
  }
  if (code) {
    error = folder.string() + ": " + code.message();
    return std::nullopt;
  }
  std::sort(files.begin(), files.end(),
            [](const PublishFile &a, const PublishFile &b) { return a.path < b.path; });
  return files;
}

}  // namespace vendigo
