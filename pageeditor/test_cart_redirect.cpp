#include "pageeditor/test_cart_redirect.h"

namespace vendigo {

std::atomic<bool> TestCartRedirect::on_ = false;

TestCartRedirect::TestCartRedirect(QObject *parent) : LocalAddressBlock(parent) {}

bool TestCartRedirect::IsOn() {
  return on_;
}

void TestCartRedirect::SetOn(bool on) {
  on_ = on;
}

bool TestCartRedirect::IsCartProgram(const QUrl &url) {
  const QString path = url.path();
  return path.endsWith("pellux.cgi", Qt::CaseInsensitive) ||
         path.endsWith("pellux.exe", Qt::CaseInsensitive);
}

bool TestCartRedirect::IsTestCart(const QUrl &url) {
  return url.scheme() == "http" && url.host() == "127.0.0.1" && url.port() == kPort;
}

bool TestCartRedirect::Takes(const QUrl &url) {
  return IsOn() && (IsCartProgram(url) || IsTestCart(url));
}

QUrl TestCartRedirect::Redirected(const QUrl &url) {
  QUrl cart = url;
  cart.setScheme("http");
  cart.setUserInfo({});
  cart.setHost("127.0.0.1");
  cart.setPort(kPort);
  return cart;
}

void TestCartRedirect::interceptRequest(QWebEngineUrlRequestInfo &info) {
  const QUrl url = info.requestUrl();
  if (IsOn()) {
    const bool navigation = info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame;
    if (IsTestCart(url)) {
      // The page's own navigation (the view lets only the shopper's through, the redirection
      // below and the cart's answers to it), or the basket page's own requests.
      if (!navigation && !IsTestCart(info.firstPartyUrl())) info.block(true);
      return;
    }
    if (IsCartProgram(url)) {
      if (navigation) {
        info.redirect(Redirected(url));
      } else {
        info.block(true);
      }
      return;
    }
  }
  LocalAddressBlock::interceptRequest(info);
}

}  // namespace vendigo
