#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

#include "basket/http_request_reader.h"
#include "cart/http_answer.h"

class QTcpSocket;

namespace vendigo {

// One connection to the test cart: reads its requests one at a time, never more than one
// request's bounds ahead, and writes each answer before the next request is read. A connection
// that has not brought a whole request within kIdleMs of opening or of its last answer is closed,
// and so is one whose request is refused, one that asks for it (Connection: close) and HTTP/1.0.
class HttpConnection : public QObject {
  Q_OBJECT

 public:
  static constexpr int kIdleMs = 10000;

  using Answering = std::function<HttpAnswer(const HttpRequest &)>;
  // Takes the socket over.
  HttpConnection(QTcpSocket *socket, Answering answering, QObject *parent);

  // How long it has waited for its next request.
  qint64 WaitingMs() const;
  // Whether nothing of a next request has come, nor is an answer being written.
  bool IsIdle() const;
  // Ends the connection at once; Closed follows.
  void Close();

 signals:
  void Closed(HttpConnection *connection);

 private:
  void ReadRequests();
  void Write(const HttpAnswer &answer, bool keepsConnection, bool headOnly);

  QTcpSocket *socket_;
  Answering answering_;
  QByteArray received_;  // of the next request, up to its bounds
  QTimer idle_;
  QElapsedTimer waiting_;
  bool closing_ = false;  // the last answer is written, then the socket closes
  bool closed_ = false;
};

}  // namespace vendigo
