#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/message_interface.h"
#include "core/program_folders.h"
#include "core/settings.h"
#include "editorlink/editor_link.h"

namespace vendigo {

// What every palette command and dialog works with. Settings are shared, not copied, so a
// dialog opened after the options were saved sees the new values.
struct AppContext {
  Settings &settings;
  EditorLink &editor;
  MessageInterface &messages;
  // The folder of the executable.
  std::string programDir;
  // Where the files live (FindProgramFolders); an empty member stands for programDir, as in a
  // portable copy.
  ProgramFolders folders = {};

  // pelluxfp.ini and buttons.slu.
  std::filesystem::path SettingsFolder() const { return Or(folders.settings); }
  // img~.html.
  std::filesystem::path PreviewFolder() const { return Or(folders.preview); }
  // The folders searched for templates, in order.
  std::vector<std::filesystem::path> TemplateFolders() const {
    if (folders.templates.empty()) return {programDir};
    return folders.templates;
  }

 private:
  std::filesystem::path Or(const std::filesystem::path &folder) const {
    return folder.empty() ? std::filesystem::path(programDir) : folder;
  }
};

}  // namespace vendigo
