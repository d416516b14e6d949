#pragma once

#include <QList>
#include <QObject>
#include <initializer_list>

class QSocketNotifier;

namespace vendigo {

// Delivers Unix signals through the event loop, where any work may be done. A signal handler may
// call next to nothing, so it only writes the signal's number into a socket pair, whose other end
// a QSocketNotifier reads in the window thread. One notifier per process.
class UnixSignalNotifier : public QObject {
  Q_OBJECT

 public:
  explicit UnixSignalNotifier(std::initializer_list<int> signalNumbers, QObject *parent = nullptr);
  // The signals get their default handling back.
  ~UnixSignalNotifier() override;

 signals:
  void Received(int signalNumber);

 private:
  void Read();

  QList<int> signalNumbers_;
  QSocketNotifier *notifier_ = nullptr;
};

}  // namespace vendigo
