#pragma once

#include <QByteArray>
#include <QObject>

#include <functional>
#include <string>
#include <vector>

#include "basket/basket_line.h"
#include "basket/http_request_reader.h"
#include "basket/order_reader.h"
#include "cart/http_answer.h"

class QTcpServer;

namespace vendigo {

class HttpConnection;

// The test cart: takes orders at any path, by GET (quick links) or POST (forms), keeps the basket
// in memory, and shows it as a page, or as JSON at /basket.json. After an order the browser is
// sent to /basket, so reloading the basket page orders nothing twice. The currency sign is asked
// for each time the basket is shown, so a sign the merchant changes shows at the next look.
//
// It answers only requests for 127.0.0.1 or localhost (no other site's name that a DNS entry
// points here), takes orders only as the shopper's own navigation (no images, scripts or
// background requests of another site), and Remove and Empty Basket only as POST from its own
// basket page. It keeps up to kMaxConnections: a new one closes the one that has waited longest.
class CartServer : public QObject {
  Q_OBJECT

 public:
  static constexpr std::size_t kMaxConnections = 256;

  // Answers the connections that listener takes.
  CartServer(QTcpServer *listener, std::function<std::string()> currency,
             QObject *parent = nullptr);

 private:
  void TakeConnections();
  HttpAnswer Answer(const HttpRequest &request);
  // Reads the order in the encoded fields, adds it or keeps the refusals.
  void TakeOrder(const HttpRequest &request, const QByteArray &encoded);
  void RemoveLine(const HttpRequest &request);
  // Remembers the page an order came from, for the basket's way back: a web page or one of the
  // page editor's own.
  void RememberReferer(const HttpRequest &request);
  // 127.0.0.1 or localhost, with this cart's port or none.
  bool IsOwnHost(const QByteArray &host) const;
  // The basket page of this cart sent it, as far as the browser says where a request comes from.
  bool IsFromBasketPage(const HttpRequest &request) const;

  QTcpServer *listener_;
  std::vector<HttpConnection *> connections_;
  std::function<std::string()> currency_;
  Basket basket_;
  std::vector<Refusal> refusals_;  // of the last order, until the next one is read
  std::string backUrl_;
};

}  // namespace vendigo
