#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace vendigo {

// Opens files in the desktop's browser and tells when it could not be started. The file goes to
// xdg-open, which follows the desktop's choice of browser; its status counts, not only whether it
// started: a browser that refuses to run (Chromium as root, for one) makes it end with an error
// at once, while one that runs keeps it waiting or lets it end well. An error it ends with within
// kStartWatchMs is a browser that did not start; later, it only tells how a browser session ended.
// Without xdg-open, Qt's own choice of program opens the file (QDesktopServices).
class DesktopBrowser : public QObject {
  Q_OBJECT

 public:
  static constexpr int kStartWatchMs = 10000;

  using Failure = std::function<void(const QString &reason)>;

  explicit DesktopBrowser(QObject *parent = nullptr);
  // A browser that runs stays; the xdg-open still waiting for it is ended.
  ~DesktopBrowser() override;

  // Opens path; failed is told why, from the event loop, when the browser could not be started.
  void Open(const QString &path, Failure failed);

 private:
  void Report(const Failure &failed, const QString &reason);
};

}  // namespace vendigo
