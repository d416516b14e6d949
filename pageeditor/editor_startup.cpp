#include "pageeditor/editor_startup.h"

#include <unistd.h>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <QVariant>
#include <algorithm>

#include "core/process_folders.h"
#include "core/recovery_store.h"
#include "editorlink/dbus_editor_host.h"
#include "editorlink/editor_store_location.h"

namespace vendigo {
namespace {

// The program as one word of the bus's Exec line, which is split like a shell command line.
QString ExecWord(const QString &program) {
  static const QString kPlain =
      QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+");
  const bool plain =
      std::all_of(program.begin(), program.end(), [](QChar c) { return kPlain.contains(c); });
  if (plain && !program.isEmpty()) return program;
  QString quoted = program;
  quoted.replace("'", "'\\''");
  return "'" + quoted + "'";
}

constexpr char kProgramName[] = "vendigo-pageeditor";

QDBusMessage EditorCall(const QString &method, const QList<QVariant> &arguments) {
  QDBusMessage message =
      QDBusMessage::createMethodCall(kEditorBusName, kEditorObjectPath, kEditorInterface, method);
  message.setArguments(arguments);
  return message;
}

}  // namespace

QString ActivationFilePath() {
  return XdgBaseFolder("XDG_DATA_HOME", ".local/share") + "/dbus-1/services/" + kEditorBusName +
         ".service";
}

QString ActivationFileText(const QString &program) {
  return QStringLiteral("[D-BUS Service]\nName=%1\nExec=%2\n")
      .arg(QString::fromLatin1(kEditorBusName), ExecWord(program));
}

bool EnsureActivationFile(const QString &file, const QString &program, QString *error) {
  const QByteArray wanted = ActivationFileText(program).toUtf8();
  QFile current(file);
  if (current.open(QIODevice::ReadOnly) && current.readAll() == wanted) return true;
  current.close();
  if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
    *error = QStringLiteral("cannot make the folder of %1").arg(file);
    return false;
  }
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) || out.write(wanted) != wanted.size() || !out.commit()) {
    *error = QStringLiteral("cannot write %1: %2").arg(file, out.errorString());
    return false;
  }
  return true;
}

QString TemporaryFolderTemplate() {
  return QDir(QDir::tempPath())
      .filePath(QString::fromStdString(ProcessFolderPrefix(kProgramName, ::getpid())) + "XXXXXX");
}

void RemoveTemporaryFoldersOfEndedEditors() {
  RemoveFoldersOfEndedProcesses(QFile::encodeName(QDir::tempPath()).toStdString(), kProgramName);
}

std::filesystem::path RecoveryFolderPath() {
  return RecoveryFolder(qgetenv("XDG_STATE_HOME").toStdString(),
                        QFile::encodeName(QDir::homePath()).toStdString());
}

bool HandOffToRunningEditor(QDBusConnection &bus, const QStringList &files, QString *error) {
  QList<QDBusMessage> calls;
  for (const QString &file : files) calls.append(EditorCall("OpenDocument", {file}));
  calls.append(EditorCall("vtiBringToTop", {}));
  bool ok = true;
  for (const QDBusMessage &call : calls) {
    const QDBusMessage reply = bus.call(call, QDBus::Block, DBusEditorHost::kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
      if (!error->isEmpty()) *error += "\n";
      *error += reply.errorMessage();
      ok = false;
    }
  }
  return ok;
}

}  // namespace vendigo
