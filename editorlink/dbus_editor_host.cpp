#include "editorlink/dbus_editor_host.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QVariant>
#include <utility>

#include "editorlink/automation_failure.h"

namespace vendigo {
namespace {

constexpr char kBusService[] = "org.freedesktop.DBus";
constexpr char kBusPath[] = "/org/freedesktop/DBus";
constexpr char kBusInterface[] = "org.freedesktop.DBus";

// Sends message and waits for the answer; anything but an ordinary reply throws.
QDBusMessage Call(QDBusConnection &bus, const QDBusMessage &message, int timeoutMs) {
  const QDBusMessage reply = bus.call(message, QDBus::Block, timeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage) {
    throw AutomationFailure(QStringLiteral("%1 failed: %2 %3")
                                .arg(message.member(), reply.errorName(), reply.errorMessage())
                                .toStdString());
  }
  return reply;
}

QString StringAnswer(const QDBusMessage &reply) {
  const QList<QVariant> arguments = reply.arguments();
  if (arguments.size() != 1 || arguments.front().userType() != QMetaType::QString) {
    throw AutomationFailure("the editor answered " + reply.signature().toStdString() +
                            " where a text was expected");
  }
  return arguments.front().toString();
}

QDBusMessage BusCall(const QString &method, const QList<QVariant> &arguments) {
  QDBusMessage message =
      QDBusMessage::createMethodCall(kBusService, kBusPath, kBusInterface, method);
  message.setArguments(arguments);
  return message;
}

// Starts the owner of name by activation unless somebody owns it already.
void StartUnlessRunning(QDBusConnection &bus, const QString &name) {
  if (Call(bus, BusCall(QStringLiteral("NameHasOwner"), {name}), DBusEditorHost::kCallTimeoutMs)
          .arguments()
          .value(0)
          .toBool()) {
    return;
  }
  Call(bus, BusCall(QStringLiteral("StartServiceByName"), {name, 0u}),
       DBusEditorHost::kStartTimeoutMs);
}

}  // namespace

DBusEditorHost::DBusEditorHost(QDBusConnection bus, QString editorBusName)
    : bus_(std::move(bus)), editor_(std::move(editorBusName)) {}

QDBusMessage DBusEditorHost::EditorCall(const char *method, const QList<QVariant> &arguments) {
  StartUnlessRunning(bus_, editor_);
  QDBusMessage message = QDBusMessage::createMethodCall(
      editor_, kEditorObjectPath, kEditorInterface, QString::fromLatin1(method));
  message.setArguments(arguments);
  return Call(bus_, message, kCallTimeoutMs);
}

void DBusEditorHost::BringToTop() {
  EditorCall("vtiBringToTop");
}

std::string DBusEditorHost::ListOpenDocs() {
  return StringAnswer(EditorCall("vtiListOpenDocs")).toStdString();
}

void DBusEditorHost::InsertHTML(const std::string &html) {
  EditorCall("vtiInsertHTML", {QString::fromStdString(html)});
}

std::shared_ptr<EditorHost> ConnectDBusEditorHost() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    throw AutomationFailure("no session bus: " + bus.lastError().message().toStdString());
  }
  const QString name = QString::fromLatin1(kEditorBusName);
  StartUnlessRunning(bus, name);
  return std::make_shared<DBusEditorHost>(bus, name);
}

}  // namespace vendigo
