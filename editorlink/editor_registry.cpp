#include "editorlink/editor_registry.h"

#include <system_error>

#include "core/file_error.h"
#include "core/profile_file.h"

namespace vendigo {

std::optional<std::string> RegistryKey::ReadString(std::string_view name) const {
  return LoadProfileFile(file_).Read(path_, name);
}

std::vector<std::pair<std::string, std::string>> RegistryKey::Values() const {
  return LoadProfileFile(file_).Entries(path_);
}

void RegistryKey::WriteString(std::string_view name, std::string_view value) {
  const std::string failure = "Failed to set data for '" + std::string(name) + "'";
  std::optional<ProfileFile> profile = TryLoadProfileFile(file_);
  if (!profile) throw RegistryError(failure);
  profile->Write(path_, name, value);
  try {
    SaveProfileFileAtomically(file_, *profile);
  } catch (const FileError &) {
    throw RegistryError(failure);
  }
}

bool RegistryKey::DeleteValue(std::string_view name) {
  std::optional<ProfileFile> profile = TryLoadProfileFile(file_);
  if (!profile || !profile->DeleteKey(path_, name)) return false;
  try {
    SaveProfileFileAtomically(file_, *profile);
    return true;
  } catch (const FileError &) {
    return false;
  }
}

bool EditorRegistry::KeyExists(std::string_view path) const {
  return LoadProfileFile(file_).HasSection(path);
}

std::optional<RegistryKey> EditorRegistry::OpenKey(std::string_view path, bool create) {
  std::optional<ProfileFile> profile = TryLoadProfileFile(file_);
  if (profile && profile->HasSection(path)) return RegistryKey(file_, std::string(path));
  if (!create || !profile) return std::nullopt;
  std::error_code error;
  if (file_.has_parent_path()) std::filesystem::create_directories(file_.parent_path(), error);
  if (error) return std::nullopt;
  profile->AddSection(path);
  try {
    SaveProfileFileAtomically(file_, *profile);
  } catch (const FileError &) {
    return std::nullopt;
  }
  return RegistryKey(file_, std::string(path));
}

}  // namespace vendigo
