#include "palette/palette_instance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace vendigo {

bool PaletteInstance::Claim(QDBusConnection bus) {
  if (!bus.isConnected()) return true;
  const QString name = QString::fromLatin1(kPaletteBusName);
  const QString path = QString::fromLatin1(kPaletteObjectPath);
  // Served before the name is ours, so no Raise can find the name without the object.
  bus.registerObject(path, this, QDBusConnection::ExportScriptableSlots);
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> claim =
      bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                       QDBusConnectionInterface::DontAllowReplacement);
  // A bus that refuses to answer says nothing about another palette: run this one.
  if (!claim.isValid() || claim.value() != QDBusConnectionInterface::ServiceNotRegistered) {
    return true;
  }
  bus.unregisterObject(path);
  QDBusMessage raise = QDBusMessage::createMethodCall(name, path, name, QStringLiteral("Raise"));
  raise << qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
  bus.call(raise, QDBus::Block, kRaiseTimeoutMs);
  return false;
}

void PaletteInstance::Raise(const QString &activationToken) {
  if (!window_) return;
  // Read (and cleared) by the Wayland platform when the window asks to be activated.
  if (!activationToken.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
  window_->show();
  window_->raise();
  window_->activateWindow();
}

bool PaletteInstance::EditFragment(const QString &, const QString &, const QString &, QString &) {
  setDelayedReply(true);
  fragmentEdits_.Take(connection(), message());
  return false;
}

}  // namespace vendigo
