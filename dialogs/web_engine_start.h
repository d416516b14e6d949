#pragma once

class QWebEnginePage;
class QWebEngineUrlRequestInterceptor;

namespace vendigo {

// The scheme of the addresses the page editor serves a document's page and its folder under
// (pageeditor/page_folder_scheme.h): vendigo-page://<view>/<file name>.
inline constexpr char kPageScheme[] = "vendigo-page";

// Prepares Qt WebEngine before the QApplication is made: its views share one OpenGL context, the
// page scheme is registered, and a program run as root switches the engine's sandbox off
// (Chromium refuses to start as root with it on), saying so once on standard error. programName
// starts that line.
void PrepareWebEngine(const char *programName);

// Keeps the HTML a page shows from the user's files, from windows of its own and from this
// machine's servers: no file:// address may be read, scripts open no windows, addresses of unknown
// schemes are never handed to the desktop, and every request goes through interceptor (made the
// page's child), or through a LocalAddressBlock when none is given.
void RestrictPage(QWebEnginePage &page, QWebEngineUrlRequestInterceptor *interceptor = nullptr);

}  // namespace vendigo
