#pragma once

#include <QElapsedTimer>
#include <QUrl>
#include <QWebEnginePage>

class QWebEngineNewWindowRequest;

namespace vendigo {

// The page of the rendered view. It shows what the editor loads into it and nothing else: a link
// the merchant clicks opens in the desktop's browser (http, https and mailto addresses only), and
// forms, scripts, redirections and history do not take the view away from the document. With the
// test cart on, the merchant's orders and the basket's own pages and buttons show in the view.
//
// What makes a click: the engine (Qt 6.4) reports a script's navigation after the page has
// loaded as a followed link too, and tells whether a user started a navigation only for new
// windows. So the page watches the view's own input: a navigation counts as the merchant's when
// the view took a mouse button's release, or Return, Enter or Space, within the last
// kClickToNavigationMs, and, when a mouse click follows a link, when its address is the link the
// engine last reported under the mouse. Each such input lets one navigation through. Anything else
// is refused.
class ExternalLinkPage : public QWebEnginePage {
  Q_OBJECT

 public:
  // Long enough for an engine busy with a large page, or slowed by a loaded machine, to report
  // the navigation a click started.
  static constexpr int kClickToNavigationMs = 10000;

  explicit ExternalLinkPage(QObject *parent = nullptr);

 protected:
  bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  // Whether the merchant's last input in the view asked for url, a link's address or a form's
  // action; the input is used up when it did.
  bool TakeClick(const QUrl &url, bool isLink);
  void NewWindow(QWebEngineNewWindowRequest &request);

  QElapsedTimer sinceInput_;  // invalid when no input is waiting for its navigation
  bool inputWasMouse_ = false;
  QUrl hoveredLink_;
  bool followingOrder_ = false;  // a navigation into the test cart has not finished loading
};

}  // namespace vendigo
