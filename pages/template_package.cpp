#include "pages/template_package.h"

#include <algorithm>
#include <system_error>

#include "core/file_error.h"
#include "core/profile_file.h"
#include "core/text_encoding.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

bool EndsWithIgnoringCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  const std::string_view end = text.substr(text.size() - tail.size());
  return std::equal(end.begin(), end.end(), tail.begin(),
                    [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

bool LessIgnoringCase(const std::string &a, const std::string &b) {
  const bool less =
      std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                   [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
  const bool greater =
      std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                   [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
  if (less || greater) return less;
  return a < b;
}

// The folder path with one trailing separator, so that a value can be appended as it is.
std::string WithTrailingSeparator(const fs::path &folder) {
  std::string text = folder.string();
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

// True when path names a file that lies in folder or below it once every ".", ".." and symbolic
// link is followed.
bool LiesInside(const fs::path &path, const fs::path &folder) {
  std::error_code error;
  const fs::path file = fs::canonical(path, error);
  if (error) return false;
  const fs::path root = fs::canonical(folder, error);
  if (error) return false;
  const auto [rootEnd, fileRest] =
      std::mismatch(root.begin(), root.end(), file.begin(), file.end());
  return rootEnd == root.end() && fileRest != file.end();
}

}  // namespace

std::vector<std::string> ListTemplates(const fs::path &folder) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  if (error) return names;
  for (const fs::directory_entry &entry : entries) {
    const std::string name = entry.path().filename().string();
    std::error_code typeError;
    if (EndsWithIgnoringCase(name, ".zft") && entry.is_regular_file(typeError)) {
      names.push_back(name);
    }
  }
  std::sort(names.begin(), names.end(), LessIgnoringCase);
  return names;
}

std::vector<TemplateEntry> ListTemplatesIn(const std::vector<fs::path> &folders) {
  std::vector<TemplateEntry> entries;
  for (const fs::path &folder : folders) {
    for (std::string &name : ListTemplates(folder)) {
      const bool known =
          std::any_of(entries.begin(), entries.end(),
                      [&](const TemplateEntry &entry) { return entry.name == name; });
      if (!known) entries.push_back({std::move(name), folder});
    }
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TemplateEntry &a, const TemplateEntry &b) {
                     return LessIgnoringCase(a.name, b.name);
                   });
  return entries;
}

fs::path TemplateProfilePath(const fs::path &templateFile) {
  fs::path profile = templateFile;
  profile.replace_extension(".inf");
  return profile;
}

TemplateProfile ReadTemplateProfile(const fs::path &templateFile) {
  const ProfileFile file = LoadProfileFile(TemplateProfilePath(templateFile));
  TemplateProfile profile;
  auto read = [&](std::string_view key, std::string &field) {
    if (auto value = file.Read(kTemplateProfileSection, key)) field = std::move(*value);
  };
  read("Author", profile.Author);
  read("License", profile.License);
  read("Email", profile.Email);
  read("prompt1", profile.Prompt1);
  read("prompt2", profile.Prompt2);
  read("image", profile.Image);
  return profile;
}

std::optional<fs::path> PreviewPicturePath(const fs::path &templateFolder,
                                           const TemplateProfile &profile) {
  if (profile.Image.empty()) return std::nullopt;
  const std::string folder = WithTrailingSeparator(templateFolder);
  const fs::path named = folder + profile.Image;
  std::error_code error;
  if (fs::exists(named, error) && LiesInside(named, templateFolder)) return named;
  return fs::path(folder + kNoPreviewPicture);
}

bool HasPrompts(const TemplateProfile &profile) {
  return !profile.Prompt1.empty() || !profile.Prompt2.empty();
}

std::string PromptsMessage(const TemplateProfile &profile) {
  if (profile.Prompt2.empty()) return profile.Prompt1;
  return profile.Prompt1 + "\r\r" + profile.Prompt2;
}

std::string WithCrLfLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string ReadTemplateText(const fs::path &templateFile) {
  std::string reason;
  std::error_code error;
  if (fs::is_directory(templateFile, error)) {
    throw FileError("Cannot open file \"" + templateFile.string() + "\". Is a directory");
  }
  const std::optional<std::string> bytes = ReadFileBytes(templateFile, reason);
  if (!bytes) {
    throw FileError("Cannot open file \"" + templateFile.string() + "\". " + reason);
  }
  return WithCrLfLineBreaks(DecodeTextFile(*bytes));
}

}  // namespace vendigo
