#pragma once

#include <QByteArray>
#include <QList>

#include <utility>

namespace vendigo {

// What the test cart answers to one request.
struct HttpAnswer {
  int status = 200;
  QByteArray contentType;
  QByteArray body;
  QList<std::pair<QByteArray, QByteArray>> headers;  // besides the type, length and Connection
};

}  // namespace vendigo
