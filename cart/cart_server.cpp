#include "cart/cart_server.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QUrl>

#include <utility>

#include "basket/basket_page.h"

namespace vendigo {

namespace {

constexpr char kBasketPath[] = "/basket";
constexpr char kBasketJsonPath[] = "/basket.json";

// The request's encoded fields: the body of a POST, the query of anything else.
QByteArray EncodedFields(const QHttpServerRequest &request) {
  return request.method() == QHttpServerRequest::Method::Post
             ? request.body()
             : request.url().query(QUrl::FullyEncoded).toUtf8();
}

}  // namespace

CartServer::CartServer(std::function<std::string()> currency, QObject *parent)
    : QAbstractHttpServer(parent), currency_(std::move(currency)) {}

bool CartServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) {
  QHttpServerResponder responder = makeResponder(request, socket);
  const QString path = request.url().path();
  if (path == kBasketJsonPath) {
    responder.write(QByteArray::fromStdString(BasketJson(basket_, currency_(), refusals_)),
                    "application/json; charset=utf-8");
    return true;
  }
  if (path == kRemoveLinePath) {
    RemoveLine(request);
  } else if (path == kEmptyBasketPath) {
    basket_.lines.clear();
    refusals_.clear();
  } else if (path != kBasketPath && !EncodedFields(request).isEmpty()) {
    RememberReferer(request);
    TakeOrder(request);
  } else {
    if (path != kBasketPath) RememberReferer(request);
    responder.write(
        QByteArray::fromStdString(BasketPageHtml(basket_, currency_(), refusals_, backUrl_)),
        "text/html; charset=utf-8");
    return true;
  }
  responder.write({{"Location", kBasketPath}}, QHttpServerResponder::StatusCode::SeeOther);
  return true;
}

void CartServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) {
  makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
}

void CartServer::TakeOrder(const QHttpServerRequest &request) {
  const QByteArray type = request.value("Content-Type");
  if (request.method() == QHttpServerRequest::Method::Post && !type.isEmpty() &&
      !type.startsWith("application/x-www-form-urlencoded")) {
    refusals_ = {{"", "the form is sent as " + type.toStdString() +
                          "; the cart reads application/x-www-form-urlencoded"}};
    return;
  }
  const QByteArray encoded = EncodedFields(request);
  Order order = ReadRequest(std::string_view(encoded.constData(), encoded.size()));
  if (order.refusals.empty()) {
    if (std::optional<Refusal> full = AddToBasket(basket_, order.lines)) {
      order.refusals.push_back(*full);
    }
  }
  refusals_ = order.refusals;
}

void CartServer::RemoveLine(const QHttpServerRequest &request) {
  const QByteArray encoded = request.body();
  for (const FormField &field :
       ParseFormFields(std::string_view(encoded.constData(), encoded.size()))) {
    bool isNumber = false;
    const qsizetype line = QString::fromStdString(field.value).toLongLong(&isNumber);
    if (field.name == "line" && isNumber && line >= 0 && line < qsizetype(basket_.lines.size())) {
      basket_.lines.erase(basket_.lines.begin() + line);
      return;
    }
  }
}

void CartServer::RememberReferer(const QHttpServerRequest &request) {
  const QUrl referer(QString::fromUtf8(request.value("Referer")));
  if (referer.isValid() && !referer.isEmpty() && referer.port() != request.url().port()) {
    backUrl_ = referer.toString(QUrl::FullyEncoded).toStdString();
  }
}

}  // namespace vendigo
