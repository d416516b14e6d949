#include "pageeditor/page_folder_scheme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>

#include "dialogs/web_engine_start.h"

namespace vendigo {

PageFolderScheme::PageFolderScheme(QObject *parent) : QWebEngineUrlSchemeHandler(parent) {}

PageFolderScheme *PageFolderScheme::ForProfile(QWebEngineProfile *profile) {
  const QByteArray scheme(kPageScheme);
  if (auto *installed = qobject_cast<PageFolderScheme *>(
          const_cast<QWebEngineUrlSchemeHandler *>(profile->urlSchemeHandler(scheme)))) {
    return installed;
  }
  auto *handler = new PageFolderScheme(profile);
  profile->installUrlSchemeHandler(scheme, handler);
  return handler;
}

void PageFolderScheme::Serve(const QString &host, const Site &site) {
  sites_.insert(host, site);
}

QUrl PageFolderScheme::PageAddress(const QString &host, const Site &site) {
  QUrl page;
  page.setScheme(QString::fromLatin1(kPageScheme));
  page.setHost(host);
  page.setPath("/" + site.pageName, QUrl::DecodedMode);
  return page;
}

void PageFolderScheme::Withdraw(const QString &host) {
  sites_.remove(host);
}

QString PageFolderScheme::FileFor(const QUrl &url) const {
  const auto site = sites_.constFind(url.host());
  if (site == sites_.cend()) return {};
  const QString path = url.path(QUrl::FullyDecoded);
  if (path == "/" + site->pageName) return site->pageFile;
  if (site->folder.isEmpty() || path.contains(QChar(0))) return {};
  const QString root = QFileInfo(site->folder).canonicalFilePath();
  const QFileInfo file(site->folder + path);
  const QString real = file.canonicalFilePath();
  if (root.isEmpty() || !real.startsWith(root + "/") || !QFileInfo(real).isFile()) return {};
  return real;
}

void PageFolderScheme::requestStarted(QWebEngineUrlRequestJob *job) {
  if (job->requestMethod() != "GET") {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
    return;
  }
  const QString path = FileFor(job->requestUrl());
  auto *file = new QFile(path, job);
  if (path.isEmpty() || !file->open(QIODevice::ReadOnly)) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  static const QMimeDatabase types;
  const QString type = path == sites_.value(job->requestUrl().host()).pageFile
                           ? QStringLiteral("text/html")
                           : types.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
  job->reply(type.toUtf8(), file);
}

}  // namespace vendigo
