#pragma once

#include <QString>

namespace vendigo {

// An XDG base folder: the variable when it holds an absolute path, else the default under home.
QString XdgBaseFolder(const char *variable, const QString &fallbackUnderHome);

// The page editor's folder for its own settings and the menu store:
// $XDG_CONFIG_HOME/vendigo-pageeditor, or ~/.config/vendigo-pageeditor.
QString EditorConfigFolder();

// The page editor's store of menu registrations, which the palette installs itself into.
QString EditorRegistryFile();

}  // namespace vendigo
