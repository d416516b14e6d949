#include "pageeditor/external_link_page.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineView>

#include "dialogs/web_engine_start.h"
#include "pageeditor/test_cart_redirect.h"

namespace vendigo {
namespace {

bool ForDesktopBrowser(const QUrl &url) {
  const QString scheme = url.scheme();
  return scheme == "http" || scheme == "https" || scheme == "mailto";
}

}  // namespace

ExternalLinkPage::ExternalLinkPage(QObject *parent) : QWebEnginePage(parent) {
  RestrictPage(*this, new TestCartRedirect);
  connect(this, &QWebEnginePage::linkHovered, this,
          [this](const QString &link) { hoveredLink_ = QUrl(link); });
  connect(this, &QWebEnginePage::newWindowRequested, this, &ExternalLinkPage::NewWindow);
  connect(this, &QWebEnginePage::loadFinished, this, [this] { followingOrder_ = false; });
  // The view's focus proxy, where input arrives, is replaced whenever the engine makes a new
  // renderer for the page, so the input is watched where it all passes.
  qApp->installEventFilter(this);
}

bool ExternalLinkPage::eventFilter(QObject *watched, QEvent *event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonRelease && type != QEvent::KeyPress) return false;
  auto *widget = qobject_cast<QWidget *>(watched);
  QWebEngineView *view = QWebEngineView::forPage(this);
  if (!widget || !view || (widget != view && !view->isAncestorOf(widget))) return false;
  if (type == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) return false;
  }
  inputWasMouse_ = type == QEvent::MouseButtonRelease;
  sinceInput_.start();
  return false;
}

bool ExternalLinkPage::TakeClick(const QUrl &url, bool isLink) {
  if (!sinceInput_.isValid() || sinceInput_.hasExpired(kClickToNavigationMs)) return false;
  if (isLink && inputWasMouse_ && url != hoveredLink_) return false;
  sinceInput_.invalidate();
  return true;
}

bool ExternalLinkPage::acceptNavigationRequest(const QUrl &url, NavigationType type,
                                               bool isMainFrame) {
  // Frames inside the page load as a browser loads them, from the web or the page's site; the
  // request interceptor and the page scheme decide what they reach.
  if (!isMainFrame) {
    const QString scheme = url.scheme();
    return scheme == "http" || scheme == "https" || scheme == kPageScheme || scheme == "about" ||
           scheme == "data";
  }
  // The editor's own loads; a script can only reload what the editor loaded.
  if (type == NavigationTypeTyped || type == NavigationTypeReload) return true;
  // The engine reports a server's redirection (the test cart's answer to an order, and the
  // interceptor's own to the test cart) as it does a page's refresh: only one that comes while an
  // order is on its way is followed.
  if (type == NavigationTypeRedirect) {
    return followingOrder_ && TestCartRedirect::IsOn() && TestCartRedirect::IsTestCart(url);
  }
  if (!TakeClick(url, type != NavigationTypeFormSubmitted)) return false;
  // With the test cart on, orders, the basket's buttons and its link back to the page.
  if (TestCartRedirect::Takes(url) || (TestCartRedirect::IsOn() && url.scheme() == kPageScheme) ||
      (TestCartRedirect::IsOn() && type == NavigationTypeBackForward)) {
    followingOrder_ = true;
    return true;
  }
  if (type == NavigationTypeLinkClicked && ForDesktopBrowser(url)) QDesktopServices::openUrl(url);
  return false;
}

void ExternalLinkPage::NewWindow(QWebEngineNewWindowRequest &request) {
  const QUrl url = request.requestedUrl();
  if (request.isUserInitiated() && ForDesktopBrowser(url) && TakeClick(url, true)) {
    QDesktopServices::openUrl(url);
  }
}

}  // namespace vendigo
