#include "pageeditor/unix_signal_notifier.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

namespace vendigo {
namespace {

// [0] is written by the handler, [1] read by the notifier.
int sockets[2] = {-1, -1};

void Handle(int signalNumber) {
  const int savedErrno = errno;
  const auto byte = static_cast<char>(signalNumber);
  [[maybe_unused]] const ssize_t written = ::write(sockets[0], &byte, 1);
  errno = savedErrno;
}

}  // namespace

UnixSignalNotifier::UnixSignalNotifier(std::initializer_list<int> signalNumbers, QObject *parent)
    : QObject(parent), signalNumbers_(signalNumbers) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, sockets) != 0) {
    qWarning("signals cannot be handled: no socket pair: %s", strerror(errno));
    return;
  }
  notifier_ = new QSocketNotifier(sockets[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &UnixSignalNotifier::Read);
  struct sigaction action {};
  action.sa_handler = Handle;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signalNumber : signalNumbers_) ::sigaction(signalNumber, &action, nullptr);
}

UnixSignalNotifier::~UnixSignalNotifier() {
  if (!notifier_) return;
  for (const int signalNumber : signalNumbers_) ::signal(signalNumber, SIG_DFL);
  delete notifier_;
  ::close(sockets[0]);
  ::close(sockets[1]);
  sockets[0] = sockets[1] = -1;
}

void UnixSignalNotifier::Read() {
  char byte = 0;
  while (::read(sockets[1], &byte, 1) == 1) emit Received(static_cast<unsigned char>(byte));
}

}  // namespace vendigo
