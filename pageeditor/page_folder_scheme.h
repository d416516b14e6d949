#pragma once

#include <QHash>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

class QWebEngineProfile;

namespace vendigo {

// Serves the rendered views' pages under vendigo-page:// addresses, as a web server serves a
// published site: vendigo-page://<site>/<name> is the page a view shows (its newest rendering,
// from the view's temporary file) when name is the document's file name, and otherwise a regular
// file in the document's folder or below. Nothing outside that folder, neither through "..", an
// encoded "%2e%2e" or "%2f", nor through a symbolic link: the real path must lie under the real
// folder. Folders are never listed. Only GET is answered; the MIME type follows the file's name.
class PageFolderScheme : public QWebEngineUrlSchemeHandler {
  Q_OBJECT

 public:
  // What a site is made of. folder is empty for a document never saved: then only the page.
  struct Site {
    QString folder;
    QString pageName;
    QString pageFile;
  };

  // The profile's handler, installed the first time it is asked for.
  static PageFolderScheme *ForProfile(QWebEngineProfile *profile);

  // The address of the page of a site served under host.
  static QUrl PageAddress(const QString &host, const Site &site);

  // Serves site under host from now on, in place of what was served there.
  void Serve(const QString &host, const Site &site);
  void Withdraw(const QString &host);

  void requestStarted(QWebEngineUrlRequestJob *job) override;

 private:
  explicit PageFolderScheme(QObject *parent);

  // The file that url names, or empty when it may not be served.
  QString FileFor(const QUrl &url) const;

  QHash<QString, Site> sites_;
};

}  // namespace vendigo
