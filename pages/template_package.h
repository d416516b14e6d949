#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vendigo {

// ZestForm template packages. A package lies directly in the template folder (the folder of the
// program): the template "name.zft", its optional profile "name.inf" and an optional preview
// picture that the profile names.

inline constexpr char kTemplateMask[] = "*.zft";
inline constexpr char kTemplateProfileSection[] = "PROFILE";
// Shown instead of a preview picture that the profile names but that does not exist.
inline constexpr char kNoPreviewPicture[] = "no_pre.bmp";
// Shown when neither the named picture nor the fallback can be loaded.
inline constexpr char kPagePreviewError[] = "Page Preview Error";

// The names (no folder) of the regular files in folder whose name ends in ".zft" in any letter
// case, sorted alphabetically without regard to ASCII letter case (names equal but for case keep
// a fixed order: the byte order). Subfolders are not searched. A missing or unreadable folder
// gives an empty list.
std::vector<std::string> ListTemplates(const std::filesystem::path &folder);

// A template found in one of several folders.
struct TemplateEntry {
  std::string name;
  std::filesystem::path folder;

  friend bool operator==(const TemplateEntry &, const TemplateEntry &) = default;
};

// The templates of all folders, one entry per file name: the first folder that holds a name gives
// its entry. Sorted as ListTemplates sorts.
std::vector<TemplateEntry> ListTemplatesIn(const std::vector<std::filesystem::path> &folders);

// What a template's profile says about it; a missing file, section or key leaves the default.
struct TemplateProfile {
  std::string Author = "Anonymous";
  std::string License = "Unknown";
  std::string Email = "Unknown!";
  std::string Prompt1;
  std::string Prompt2;
  std::string Image;  // the preview picture, relative to the template folder; empty: none

  friend bool operator==(const TemplateProfile &, const TemplateProfile &) = default;
};

// The profile file of a template: its full path with the extension replaced by ".inf".
std::filesystem::path TemplateProfilePath(const std::filesystem::path &templateFile);

// Reads the section "PROFILE" of the template's profile with the private-profile rules of
// ProfileFile (names without case, blanks around a value dropped, one pair of enclosing quotes
// dropped, at most 2047 characters). A missing or unreadable profile gives the defaults.
TemplateProfile ReadTemplateProfile(const std::filesystem::path &templateFile);

// The picture to show for a profile of a template in templateFolder:
// - nullopt when the profile names no picture (the picture shown before stays);
// - templateFolder + the Image value, appended as it is, when that file exists and lies in the
//   folder or below it (no "..", no symbolic link leads out of it);
// - otherwise templateFolder + "no_pre.bmp" (whether or not it exists: a picture that cannot be
//   loaded is reported by the caller with kPagePreviewError).
std::optional<std::filesystem::path> PreviewPicturePath(const std::filesystem::path &templateFolder,
                                                        const TemplateProfile &profile);

// True when the template information picture can be clicked: a prompt is set.
bool HasPrompts(const TemplateProfile &profile);

// The message the template information picture shows: Prompt1, and when Prompt2 is set, two
// carriage returns (CR CR) and Prompt2.
std::string PromptsMessage(const TemplateProfile &profile);

// The text with every line break (CR LF, a lone LF or a lone CR) written as CR LF.
std::string WithCrLfLineBreaks(std::string_view text);

// The whole template file as UTF-8 text (Windows-1252 files are converted), every line break made
// CR LF. Throws FileError ("Cannot open file \"<path>\". <reason>") when the file cannot be read.
std::string ReadTemplateText(const std::filesystem::path &templateFile);

}  // namespace vendigo
