#pragma once

#include <QWebEnginePage>

namespace vendigo {

// The page of the rendered view. It shows what the editor loads into it and nothing else: a
// link the user follows opens in the desktop's browser, and forms, scripts and history do not
// take the view away from the document.
class ExternalLinkPage : public QWebEnginePage {
  Q_OBJECT

 public:
  explicit ExternalLinkPage(QObject *parent = nullptr);

 protected:
  bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
  // A link to a new window (target="_blank") opens in the desktop's browser too.
  QWebEnginePage *createWindow(WebWindowType type) override;

 private:
  // A page made for a new window only passes its first address on to the desktop's browser.
  bool forNewWindow_ = false;
};

}  // namespace vendigo
