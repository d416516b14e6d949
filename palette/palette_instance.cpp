#include "palette/palette_instance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace vendigo {

bool PaletteInstance::Claim() {
  QDBusConnection bus = QDBusConnection::sessionBus();
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
  bus.call(QDBusMessage::createMethodCall(name, path, name, QStringLiteral("Raise")), QDBus::Block,
           kRaiseTimeoutMs);
  return false;
}

void PaletteInstance::Raise() {
  if (!window_) return;
  window_->show();
  window_->raise();
  window_->activateWindow();
}

}  // namespace vendigo
