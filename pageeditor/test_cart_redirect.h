#pragma once

#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

#include <atomic>

namespace vendigo {

// While the test cart is on, every request of the editor's pages for the cart program (a path
// ending in pellux.cgi or pellux.exe) goes to vendigo-cart on this machine instead, so the
// merchant can order from the preview without publishing anything.
class TestCartRedirect : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT

 public:
  static constexpr quint16 kPort = 8765;

  explicit TestCartRedirect(QObject *parent = nullptr);

  static bool IsOn();
  static void SetOn(bool on);
  // Whether the editor's page may go to url: the cart program or the test cart itself, while on.
  static bool Takes(const QUrl &url);
  // The test cart's address for a request to the cart program.
  static QUrl Redirected(const QUrl &url);

  void interceptRequest(QWebEngineUrlRequestInfo &info) override;

 private:
  static bool IsCartProgram(const QUrl &url);
  static bool IsTestCart(const QUrl &url);

  static std::atomic<bool> on_;
};

}  // namespace vendigo
