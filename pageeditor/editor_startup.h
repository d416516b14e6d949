#pragma once

#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <filesystem>

namespace vendigo {

// Where the session bus looks for the editor's activation file:
// $XDG_DATA_HOME/dbus-1/services/FrontPage.Editor.service, or under ~/.local/share.
QString ActivationFilePath();
// The activation file that lets the bus start program when the editor is called.
QString ActivationFileText(const QString &program);
// Writes the activation file when it is missing or names another program. False with error
// set when it cannot be written.
bool EnsureActivationFile(const QString &file, const QString &program, QString *error);

// A QTemporaryDir pattern for the editor's temporary folders: <temp>/vendigo-pageeditor-<pid>-
// followed by random letters, so that the folders an editor leaves when it is killed are known.
QString TemporaryFolderTemplate();
// Removes the temporary folders of editors that no longer run.
void RemoveTemporaryFoldersOfEndedEditors();
// The recovery copies' folder: $XDG_STATE_HOME/vendigo/recovery, or under ~/.local/state.
std::filesystem::path RecoveryFolderPath();

// Asks the editor that owns the bus name to open files (absolute paths) and come to the front.
// False with error set when it does not answer.
bool HandOffToRunningEditor(QDBusConnection &bus, const QStringList &files, QString *error);

}  // namespace vendigo
