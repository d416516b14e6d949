#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vendigo {

// The page editor's per-user store of menu registrations, kept like the registry keys of the
// editor it stands in for: one profile file, one section per key named by the full key path,
// one entry per string value. A key that does not exist is a section that does not exist.
inline constexpr char kEditorRegistryFileName[] = "editor-registry.ini";
inline constexpr char kInitCommandsKey[] = "Software\\Microsoft\\FrontPage\\Editor\\Init Commands";
inline constexpr char kInitMenusKey[] = "Software\\Microsoft\\FrontPage\\Editor\\Init Menus";

// A value that could not be stored; the message names the value: "Failed to set data for
// 'Vendigo'".
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One open key of the store. Every call reads the file afresh and every change is written back
// at once, so two programs sharing the store see each other's changes.
class RegistryKey {
 public:
  RegistryKey(std::filesystem::path file, std::string path)
      : file_(std::move(file)), path_(std::move(path)) {}

  const std::string &Path() const { return path_; }

  // nullopt when the value (or by now the key, or the file) does not exist.
  std::optional<std::string> ReadString(std::string_view name) const;
  // Every value of the key, in the order the store holds them.
  std::vector<std::pair<std::string, std::string>> Values() const;
  // Throws RegistryError when the store cannot be read or written. A CR or LF in value is stored
  // as a blank, as the store keeps one value per line.
  void WriteString(std::string_view name, std::string_view value);
  // True when the value existed and is gone; deleting a missing value is no failure, and a
  // store that cannot be written leaves the value in place and gives false.
  bool DeleteValue(std::string_view name);

 private:
  std::filesystem::path file_;
  std::string path_;
};

// The store in one file (editor-registry.ini in the page editor's configuration folder).
class EditorRegistry {
 public:
  explicit EditorRegistry(std::filesystem::path file) : file_(std::move(file)) {}

  const std::filesystem::path &File() const { return file_; }

  bool KeyExists(std::string_view path) const;
  // The key, or nullopt when it does not exist and create is false, or when it had to be
  // created and the store could not be read or written (its folder is made when missing).
  std::optional<RegistryKey> OpenKey(std::string_view path, bool create);

 private:
  std::filesystem::path file_;
};

}  // namespace vendigo
