#include "dialogs/web_engine_start.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineUrlScheme>
#include <cstdio>
#include <cstdlib>

#include "dialogs/local_address_block.h"

namespace vendigo {

void PrepareWebEngine(const char *programName) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // An address with a host, so every view is an origin of its own and relative addresses resolve
  // as on a web server. No flags: the pages are neither local (they reach no file:// address)
  // nor secure (they post to http:// carts as published pages may).
  QWebEngineUrlScheme scheme(kPageScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  QWebEngineUrlScheme::registerScheme(scheme);
  if (geteuid() != 0) return;
  if (qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) return;
  qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  std::fprintf(stderr,
               "%s: running as root, so the browser engine runs without its sandbox; "
               "run as an ordinary user to keep it.\n",
               programName);
}

void RestrictPage(QWebEnginePage &page, QWebEngineUrlRequestInterceptor *interceptor) {
  QWebEngineSettings *settings = page.settings();
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  // A window opens only from a click: the engine's popup blocker refuses any other.
  settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  settings->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
  if (!interceptor) interceptor = new LocalAddressBlock;
  interceptor->setParent(&page);
  page.setUrlRequestInterceptor(interceptor);
}

}  // namespace vendigo
