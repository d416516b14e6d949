#include "cart/cart_server.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <utility>

#include "basket/basket_page.h"
#include "cart/http_connection.h"

namespace vendigo {

namespace {

constexpr char kBasketPath[] = "/basket";
constexpr char kBasketJsonPath[] = "/basket.json";
constexpr char kTextType[] = "text/plain; charset=utf-8";

QByteArray HeaderValue(const HttpRequest &request, std::string_view name) {
  const std::string *value = request.Header(name);
  return value ? QByteArray::fromStdString(*value) : QByteArray();
}

// A quick link followed or a form sent by the shopper; browsers that say how a request is made
// say "navigate" for these, tools such as curl say nothing.
bool IsShoppersNavigation(const HttpRequest &request) {
  const std::string *mode = request.Header("sec-fetch-mode");
  return !mode || *mode == "navigate";
}

HttpAnswer Refused(int status, const QByteArray &text) {
  return {status, kTextType, text + "\n", {}};
}

}  // namespace

CartServer::CartServer(QTcpServer *listener, std::function<std::string()> currency, QObject *parent)
    : QObject(parent), listener_(listener), currency_(std::move(currency)) {
  connect(listener_, &QTcpServer::newConnection, this, &CartServer::TakeConnections);
  // Out of file descriptors Qt stops accepting; a second later there may be some again.
  connect(listener_, &QTcpServer::acceptError, this,
          [this] { QTimer::singleShot(1000, listener_, &QTcpServer::resumeAccepting); });
}

void CartServer::TakeConnections() {
  while (QTcpSocket *socket = listener_->nextPendingConnection()) {
    if (connections_.size() >= kMaxConnections) {
      // The idle one that has waited longest, so a request under way is answered.
      (*std::max_element(connections_.begin(), connections_.end(), [](auto *a, auto *b) {
        return std::pair(a->IsIdle(), a->WaitingMs()) < std::pair(b->IsIdle(), b->WaitingMs());
      }))->Close();
    }
    auto *connection = new HttpConnection(
        socket, [this](const HttpRequest &request) { return Answer(request); }, this);
    connections_.push_back(connection);
    connect(connection, &HttpConnection::Closed, this,
            [this](HttpConnection *closed) { std::erase(connections_, closed); });
  }
}

HttpAnswer CartServer::Answer(const HttpRequest &request) {
  const std::string *host = request.Header("host");
  if (host && !IsOwnHost(QByteArray::fromStdString(*host))) {
    return Refused(421, "This test cart answers only at 127.0.0.1 and localhost.");
  }
  const QByteArray target = QByteArray::fromStdString(request.target);
  const qsizetype question = target.indexOf('?');
  const QByteArray path =
      QByteArray::fromPercentEncoding(question < 0 ? target : target.left(question));
  const bool isPost = request.method == "POST";
  const QByteArray fields = isPost         ? QByteArray::fromStdString(request.body)
                            : question < 0 ? QByteArray()
                                           : target.mid(question + 1);

  if (path == kBasketJsonPath) {
    return {200,
            "application/json; charset=utf-8",
            QByteArray::fromStdString(BasketJson(basket_, currency_(), refusals_)),
            {}};
  }
  if (path == kRemoveLinePath || path == kEmptyBasketPath) {
    if (!isPost) {
      return {405,
              kTextType,
              "Remove and Empty Basket are sent by POST from the basket page.\n",
              {{"Allow", "POST"}}};
    }
    if (!IsFromBasketPage(request)) {
      return Refused(403, "Remove and Empty Basket are taken only from this test cart's basket.");
    }
    if (path == kRemoveLinePath) {
      RemoveLine(request);
    } else {
      basket_.lines.clear();
      refusals_.clear();
    }
  } else if (path != kBasketPath && !fields.isEmpty()) {
    if (!IsShoppersNavigation(request)) {
      return Refused(403,
                     "The test cart takes orders only from the shopper's own clicks, not from a "
                     "page's pictures, scripts or background requests.");
    }
    RememberReferer(request);
    TakeOrder(request, fields);
  } else {
    if (path != kBasketPath && IsShoppersNavigation(request)) RememberReferer(request);
    return {200,
            "text/html; charset=utf-8",
            QByteArray::fromStdString(BasketPageHtml(basket_, currency_(), refusals_, backUrl_)),
            {}};
  }
  return {303, {}, {}, {{"Location", kBasketPath}}};
}

void CartServer::TakeOrder(const HttpRequest &request, const QByteArray &encoded) {
  const QByteArray type = HeaderValue(request, "content-type");
  if (request.method == "POST" && !type.isEmpty() &&
      !type.startsWith("application/x-www-form-urlencoded")) {
    refusals_ = {{"", "the form is sent as " + type.toStdString() +
                          "; the cart reads application/x-www-form-urlencoded"}};
    return;
  }
  Order order = ReadRequest(std::string_view(encoded.constData(), encoded.size()));
  if (order.refusals.empty()) {
    if (std::optional<Refusal> full = AddToBasket(basket_, order.lines)) {
      order.refusals.push_back(*full);
    }
  }
  refusals_ = order.refusals;
}

void CartServer::RemoveLine(const HttpRequest &request) {
  for (const FormField &field : ParseFormFields(request.body)) {
    bool isNumber = false;
    const qsizetype line = QString::fromStdString(field.value).toLongLong(&isNumber);
    if (field.name == "line" && isNumber && line >= 0 && line < qsizetype(basket_.lines.size())) {
      basket_.lines.erase(basket_.lines.begin() + line);
      return;
    }
  }
}

void CartServer::RememberReferer(const HttpRequest &request) {
  const QUrl referer(QString::fromUtf8(HeaderValue(request, "referer")));
  const QString scheme = referer.scheme().toLower();
  const bool isWebPage = (scheme == "http" || scheme == "https") && !referer.host().isEmpty();
  // The basket page itself (its own links and forms) is no way back.
  const bool isThisCart = isWebPage && IsOwnHost(referer.authority().toUtf8()) &&
                          referer.port() == listener_->serverPort();
  if (referer.isValid() && (isWebPage || scheme == "vendigo-page") && !isThisCart) {
    backUrl_ = referer.toString(QUrl::FullyEncoded).toStdString();
  }
}

bool CartServer::IsOwnHost(const QByteArray &host) const {
  const QByteArray lower = host.toLower();
  const qsizetype colon = lower.lastIndexOf(':');
  const QByteArray name = colon < 0 ? lower : lower.left(colon);
  bool isNumber = false;
  const uint port = colon < 0 ? listener_->serverPort() : lower.mid(colon + 1).toUInt(&isNumber);
  return (name == "127.0.0.1" || name == "localhost") && (colon < 0 || isNumber) &&
         port == listener_->serverPort();
}

bool CartServer::IsFromBasketPage(const HttpRequest &request) const {
  const std::string *site = request.Header("sec-fetch-site");
  const std::string *origin = request.Header("origin");
  const QByteArray originHost = HeaderValue(request, "origin").toLower().mid(7);
  const bool isOwnOrigin = origin && origin->starts_with("http://") &&
                           originHost.endsWith(":" + QByteArray::number(listener_->serverPort())) &&
                           IsOwnHost(originHost);
  return (!site || *site == "same-origin") && (!origin || isOwnOrigin);
}

}  // namespace vendigo
