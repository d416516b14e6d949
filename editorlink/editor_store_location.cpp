#include "editorlink/editor_store_location.h"

#include <QDir>

#include "editorlink/editor_registry.h"

namespace vendigo {

QString XdgBaseFolder(const char *variable, const QString &fallbackUnderHome) {
  const QString value = qEnvironmentVariable(variable);
  if (!value.isEmpty() && QDir::isAbsolutePath(value)) return value;
  return QDir::homePath() + "/" + fallbackUnderHome;
}

QString EditorConfigFolder() {
  return XdgBaseFolder("XDG_CONFIG_HOME", ".config") + "/vendigo-pageeditor";
}

QString EditorRegistryFile() {
  return QDir(EditorConfigFolder()).filePath(QString::fromLatin1(kEditorRegistryFileName));
}

}  // namespace vendigo
