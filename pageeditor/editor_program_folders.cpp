#include "pageeditor/editor_program_folders.h"

#include <QCoreApplication>

#include <filesystem>

namespace vendigo {

ProgramFolders ProgramFoldersOfEditor() {
  const std::filesystem::path programDir = QCoreApplication::applicationDirPath().toStdString();
  return FindOwnProgramFolders(programDir,
                               (programDir / VENDIGO_INSTALLED_TEMPLATES).lexically_normal());
}

Settings SettingsOfEditor() {
  return LoadSettings(ProgramFoldersOfEditor().settings);
}

}  // namespace vendigo
