#pragma once

#include <QAbstractHttpServer>
#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "basket/basket_line.h"
#include "basket/order_reader.h"

namespace vendigo {

// The test cart: takes orders at any path, by GET (quick links) or POST (forms), keeps the basket
// in memory, and shows it as a page, or as JSON at /basket.json. After an order the browser is
// sent to /basket, so reloading the basket page orders nothing twice. The currency sign is asked
// for each time the basket is shown, so a sign the merchant changes shows at the next look.
class CartServer : public QAbstractHttpServer {
  Q_OBJECT

 public:
  explicit CartServer(std::function<std::string()> currency, QObject *parent = nullptr);

 protected:
  bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
  void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

 private:
  // Reads the order in the request, adds it or keeps the refusals.
  void TakeOrder(const QHttpServerRequest &request);
  void RemoveLine(const QHttpServerRequest &request);
  // Remembers the page an order came from, for the basket's way back.
  void RememberReferer(const QHttpServerRequest &request);

  std::function<std::string()> currency_;
  Basket basket_;
  std::vector<Refusal> refusals_;  // of the last order, until the next one is read
  std::string backUrl_;
};

}  // namespace vendigo
