#include "support/page_editor_session.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>
#include <utility>

#include "editorlink/dbus_editor_host.h"
#include "editorlink/editor_registry.h"

namespace vendigo::testing {
namespace {

constexpr int kPollMs = 20;

bool HasOwner(QDBusConnection &bus, const QString &name) {
  const auto reply = bus.interface()->isServiceRegistered(name);
  return reply.isValid() && reply.value();
}

}  // namespace

bool WaitUntilNameIsFree(QDBusConnection &bus, const QString &name, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (HasOwner(bus, name)) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(kPollMs);
  }
  return true;
}

PageEditorSession::PageEditorSession(QString dataHome)
    : dataHome_(std::move(dataHome)), bus_(QDBusConnection::sessionBus()) {
  if (dataHome_.isEmpty()) dataHome_ = home_.filePath("data");
  QDir().mkpath(dataHome_);
  QDir().mkpath(ConfigHome());
  QDir().mkpath(FilesFolder());
  process_.setProcessChannelMode(QProcess::ForwardedChannels);
}

PageEditorSession::~PageEditorSession() {
  Quit();
}

QString PageEditorSession::Program() {
  const QString program = qEnvironmentVariable("VENDIGO_PAGEEDITOR");
  return program.isEmpty() ? QStringLiteral(VENDIGO_PAGEEDITOR_PROGRAM) : program;
}

QString PageEditorSession::RegistryFile() const {
  return ConfigHome() + "/vendigo-pageeditor/" + kEditorRegistryFileName;
}

bool PageEditorSession::Start(const QStringList &arguments) {
  lastError_.clear();
  if (!bus_.isConnected()) {
    lastError_ = "no session bus: " + bus_.lastError().message();
    return false;
  }
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_CONFIG_HOME", ConfigHome());
  environment.insert("XDG_DATA_HOME", dataHome_);
  environment.insert("XDG_STATE_HOME", StateHome());
  process_.setProcessEnvironment(environment);
  process_.start(Program(), arguments);
  if (!process_.waitForStarted(kStartTimeoutMs)) {
    lastError_ = "cannot start " + Program() + ": " + process_.errorString();
    return false;
  }
  QDeadlineTimer deadline(kStartTimeoutMs);
  while (!deadline.hasExpired()) {
    if (process_.state() == QProcess::NotRunning) {
      lastError_ = QStringLiteral("the editor ended with status %1 before it took the bus name")
                       .arg(process_.exitCode());
      return false;
    }
    const auto owner = bus_.interface()->servicePid(kEditorBusName);
    if (owner.isValid() && owner.value() == static_cast<uint>(process_.processId())) return true;
    QThread::msleep(kPollMs);
  }
  lastError_ = "the editor did not take the bus name in time";
  return false;
}

bool PageEditorSession::Quit() {
  if (process_.state() == QProcess::NotRunning) return true;
  process_.terminate();
  if (!process_.waitForFinished(kStartTimeoutMs)) {
    process_.kill();
    process_.waitForFinished(kStartTimeoutMs);
  }
  // The bus frees the name when it notices the connection is gone.
  QDeadlineTimer deadline(kStartTimeoutMs);
  while (!deadline.hasExpired()) {
    const auto owner = bus_.interface()->servicePid(kEditorBusName);
    if (!owner.isValid() || owner.value() != static_cast<uint>(process_.processId())) break;
    QThread::msleep(kPollMs);
  }
  return process_.state() == QProcess::NotRunning;
}

bool PageEditorSession::Call(const QString &method, const QVariantList &arguments,
                             QVariant *answer) {
  lastError_.clear();
  QDBusMessage message =
      QDBusMessage::createMethodCall(kEditorBusName, kEditorObjectPath, kEditorInterface, method);
  message.setArguments(arguments);
  const QDBusMessage reply = bus_.call(message, QDBus::Block, DBusEditorHost::kCallTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage) {
    lastError_ = method + ": " + reply.errorName() + " " + reply.errorMessage();
    return false;
  }
  if (answer) *answer = reply.arguments().value(0);
  return true;
}

bool PageEditorSession::NewDocument() {
  return Call("NewDocument", {});
}

bool PageEditorSession::OpenDocument(const QString &path) {
  return Call("OpenDocument", {path});
}

bool PageEditorSession::CloseActiveDocument() {
  return Call("CloseActiveDocument", {});
}

bool PageEditorSession::SaveActiveDocument() {
  return Call("SaveActiveDocument", {});
}

QString PageEditorSession::ActiveDocumentText() {
  QVariant answer;
  return Call("ActiveDocumentText", {}, &answer) ? answer.toString() : QString();
}

QString PageEditorSession::ListOpenDocs() {
  QVariant answer;
  return Call("vtiListOpenDocs", {}, &answer) ? answer.toString() : QString();
}

QString PageEditorSession::WriteFile(const QString &name, const QByteArray &bytes) {
  const QString path = QDir(FilesFolder()).filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  return path;
}

}  // namespace vendigo::testing
