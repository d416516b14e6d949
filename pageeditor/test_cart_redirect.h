#pragma once

#include <QUrl>

#include <atomic>

#include "dialogs/local_address_block.h"

namespace vendigo {

// The rendered views' requests: while the test cart is on, the shopper's own navigation to the
// cart program (an address whose path ends in pellux.cgi or pellux.exe) goes to vendigo-cart on
// this machine instead, so the merchant can order from the preview without publishing anything.
// Nothing else of a page reaches this machine's servers: its scripts, pictures and beacons for
// the cart program are refused while the test cart is on, and the test cart answers only the
// navigation sent to it and the requests of its own pages.
class TestCartRedirect : public LocalAddressBlock {
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
  static bool IsTestCart(const QUrl &url);

  void interceptRequest(QWebEngineUrlRequestInfo &info) override;

 private:
  static bool IsCartProgram(const QUrl &url);

  static std::atomic<bool> on_;
};

}  // namespace vendigo
