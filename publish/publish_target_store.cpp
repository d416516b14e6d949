#include "publish/publish_target_store.h"

#include <algorithm>
#include <string_view>

#include "core/file_error.h"
#include "core/profile_file.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;

// The targets are kept as the windows' settings library keeps a list, so it reads them too and
// keeps them when it writes its own choices into the same file:
//   [Publish]
//   1\folder=/home/shop/site
//   1\target=sftp://shop@example.com/var/www
//   size=1
constexpr char kSection[] = "Publish";

// The entry's number when key is "<number>\<name>".
std::optional<int> EntryNumber(std::string_view key, std::string_view name) {
  const std::size_t slash = key.find('\\');
  if (slash == std::string_view::npos || slash == 0 || key.substr(slash + 1) != name) {
    return std::nullopt;
  }
  int number = 0;
  for (const char c : key.substr(0, slash)) {
    if (c < '0' || c > '9' || number > 100000) return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

// The number of the site's entry, or nullopt; last is the highest number in use.
std::optional<int> FindEntry(const ProfileFile &profile, const std::string &site, int &last) {
  std::optional<int> found;
  last = 0;
  for (const auto &[key, value] : profile.Entries(kSection)) {
    const std::optional<int> number = EntryNumber(key, "folder");
    if (!number) continue;
    last = std::max(last, *number);
    if (value == site && !found) found = number;
  }
  return found;
}

}  // namespace

fs::path PublishTargetsFile(const XdgEnvironment &environment) {
  return XdgFolder(environment.configHome, environment.home, ".config") / "vendigo.conf";
}

fs::path SiteKey(const fs::path &siteFolder) {
  std::error_code error;
  fs::path key = fs::weakly_canonical(fs::absolute(siteFolder, error), error);
  if (error) key = fs::absolute(siteFolder).lexically_normal();
  std::string text = key.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

std::optional<std::string> LoadPublishTargetUrl(const fs::path &targetsFile,
                                                const fs::path &siteFolder) {
  const ProfileFile profile = LoadProfileFile(targetsFile);
  int last = 0;
  const std::optional<int> entry = FindEntry(profile, SiteKey(siteFolder).string(), last);
  if (!entry) return std::nullopt;
  std::optional<std::string> url = profile.Read(kSection, std::to_string(*entry) + "\\target");
  if (url && url->empty()) return std::nullopt;
  return url;
}

void SavePublishTargetUrl(const fs::path &targetsFile, const fs::path &siteFolder,
                          const std::string &url) {
  std::optional<ProfileFile> profile = TryLoadProfileFile(targetsFile);
  if (!profile) throw FileError("Unable to write to " + fs::absolute(targetsFile).string());
  const std::string site = SiteKey(siteFolder).string();
  int last = 0;
  const int entry = FindEntry(*profile, site, last).value_or(last + 1);
  profile->Write(kSection, std::to_string(entry) + "\\folder", site);
  profile->Write(kSection, std::to_string(entry) + "\\target", url);
  profile->Write(kSection, "size", std::to_string(std::max(entry, last)));
  std::error_code error;
  fs::create_directories(targetsFile.parent_path(), error);
  SaveProfileFileAtomically(targetsFile, *profile);
}

}  // namespace vendigo
