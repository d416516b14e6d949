#include "dialogs/local_address_block.h"

#include <QHostAddress>

namespace vendigo {

LocalAddressBlock::LocalAddressBlock(QObject *parent) : QWebEngineUrlRequestInterceptor(parent) {}

bool LocalAddressBlock::IsLocal(const QUrl &url) {
  if (url.isLocalFile()) return true;
  const QString host = url.host().toLower();
  if (host == "localhost" || host.endsWith(".localhost")) return true;
  QHostAddress address(host);
  if (address.isNull()) return false;  // a name: the engine resolves it, not us
  bool mapped = false;
  const quint32 v4 = address.toIPv4Address(&mapped);
  if (mapped) address = QHostAddress(v4);
  const auto in = [&address](const char *subnet) {
    return address.isInSubnet(QHostAddress::parseSubnet(QString::fromLatin1(subnet)));
  };
  return address.isLoopback() || address.isLinkLocal() || address.isUniqueLocalUnicast() ||
         address.isSiteLocal() || in("0.0.0.0/8") || in("10.0.0.0/8") || in("172.16.0.0/12") ||
         in("192.168.0.0/16") || address == QHostAddress::AnyIPv6;
}

void LocalAddressBlock::interceptRequest(QWebEngineUrlRequestInfo &info) {
  if (IsLocal(info.requestUrl())) info.block(true);
}

}  // namespace vendigo
