#include "cart/http_connection.h"

#include <QTcpSocket>

#include <utility>

namespace vendigo {

namespace {

// The largest request, head and body: nothing further ahead is read from the socket.
constexpr qsizetype kMaxReceived = kMaxHeadBytes + kMaxBodyBytes;

QByteArray ReasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 303:
      return "See Other";
    case 400:
      return "Bad Request";
    case 403:
      return "Forbidden";
    case 405:
      return "Method Not Allowed";
    case 413:
      return "Content Too Large";
    case 421:
      return "Misdirected Request";
    case 431:
      return "Request Header Fields Too Large";
    case 501:
      return "Not Implemented";
    case 505:
      return "HTTP Version Not Supported";
    default:
      return "";
  }
}

}  // namespace

HttpConnection::HttpConnection(QTcpSocket *socket, Answering answering, QObject *parent)
    : QObject(parent), socket_(socket), answering_(std::move(answering)) {
  socket_->setParent(this);
  // Qt reads no further ahead than this, so a sender of a huge request waits on its own side.
  socket_->setReadBufferSize(kMaxBodyBytes);
  idle_.setSingleShot(true);
  idle_.setInterval(kIdleMs);
  connect(&idle_, &QTimer::timeout, this, &HttpConnection::Close);
  connect(socket_, &QTcpSocket::readyRead, this, &HttpConnection::ReadRequests);
  connect(socket_, &QTcpSocket::bytesWritten, this, &HttpConnection::ReadRequests);
  connect(socket_, &QTcpSocket::disconnected, this, &HttpConnection::Close);
  idle_.start();
  waiting_.start();
  ReadRequests();
}

qint64 HttpConnection::WaitingMs() const {
  return waiting_.elapsed();
}

bool HttpConnection::IsIdle() const {
  return received_.isEmpty() && socket_->bytesAvailable() == 0 && socket_->bytesToWrite() == 0;
}

void HttpConnection::Close() {
  if (std::exchange(closed_, true)) return;
  idle_.stop();
  socket_->abort();
  emit Closed(this);
  deleteLater();
}

void HttpConnection::ReadRequests() {
  // The next request is read once the answer to the last one is written, so a sender of many
  // requests that reads no answers fills its own buffers, not the cart's.
  while (!closed_ && !closing_ && socket_->bytesToWrite() == 0) {
    received_ += socket_->read(kMaxReceived - received_.size());
    if (received_.isEmpty()) return;
    const HttpReading reading = ReadHttpRequest({received_.constData(), size_t(received_.size())});
    if (reading.outcome == HttpReading::Outcome::kIncomplete) return;
    if (reading.outcome == HttpReading::Outcome::kRefused) {
      Write({reading.status,
             "text/plain; charset=utf-8",
             QByteArray::fromStdString(reading.reason) + "\n",
             {}},
            false, false);
      return;
    }
    received_.remove(0, qsizetype(reading.length));
    Write(answering_(reading.request), reading.request.KeepsConnection(),
          reading.request.method == "HEAD");
  }
}

void HttpConnection::Write(const HttpAnswer &answer, bool keepsConnection, bool headOnly) {
  QByteArray bytes =
      "HTTP/1.1 " + QByteArray::number(answer.status) + " " + ReasonPhrase(answer.status) + "\r\n";
  for (const auto &[name, value] : answer.headers) bytes += name + ": " + value + "\r\n";
  if (!answer.contentType.isEmpty()) bytes += "Content-Type: " + answer.contentType + "\r\n";
  bytes += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
  if (!keepsConnection) bytes += "Connection: close\r\n";
  bytes += "\r\n";
  if (!headOnly) bytes += answer.body;
  socket_->write(bytes);
  idle_.start();
  waiting_.restart();
  if (!keepsConnection) {
    // The rest of a refused request stays unread: the socket closes once the answer is out.
    closing_ = true;
    socket_->disconnectFromHost();
  }
}

}  // namespace vendigo
