#pragma once

#include "core/program_folders.h"
#include "core/settings.h"

namespace vendigo {

// Where the palette beside this editor keeps its settings and templates, so the editor builds and
// checks pages with the merchant's own settings in a portable and in an installed copy alike.
ProgramFolders ProgramFoldersOfEditor();

// The merchant's settings as the palette beside this editor reads them.
Settings SettingsOfEditor();

}  // namespace vendigo
