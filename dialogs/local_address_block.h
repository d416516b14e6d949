#pragma once

#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

namespace vendigo {

// Refuses a page's requests for file:// addresses and for servers on this machine or its local
// network (loopback, unspecified, link-local and private addresses, localhost), which a
// published page could not reach either.
class LocalAddressBlock : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT

 public:
  explicit LocalAddressBlock(QObject *parent = nullptr);

  static bool IsLocal(const QUrl &url);

  void interceptRequest(QWebEngineUrlRequestInfo &info) override;
};

}  // namespace vendigo
