#include "pageeditor/external_link_page.h"

#include <QDesktopServices>
#include <QUrl>

namespace vendigo {

ExternalLinkPage::ExternalLinkPage(QObject *parent) : QWebEnginePage(parent) {}

bool ExternalLinkPage::acceptNavigationRequest(const QUrl &url, NavigationType type,
                                               bool isMainFrame) {
  if (forNewWindow_) {
    QDesktopServices::openUrl(url);
    deleteLater();
    return false;
  }
  if (!isMainFrame) return true;  // frames inside the page load as a browser loads them
  switch (type) {
    case NavigationTypeTyped:
    case NavigationTypeReload:
      return true;  // the editor's own loads
    case NavigationTypeLinkClicked:
      QDesktopServices::openUrl(url);
      return false;
    default:
      return false;
  }
}

QWebEnginePage *ExternalLinkPage::createWindow(WebWindowType) {
  auto *page = new ExternalLinkPage(this);
  page->forNewWindow_ = true;
  return page;
}

}  // namespace vendigo
