#include "pageeditor/desktop_browser.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <memory>

namespace vendigo {
namespace {

constexpr char kLauncher[] = "xdg-open";
// Only the last words of the launcher and the browser count; a browser that runs on may talk for
// hours.
constexpr qsizetype kKeptOutputBytes = 4096;

// The last line said, without the bracketed prefix of a log line ("[1:1:ERROR:file.cc(1)] ").
QString LastLine(const QByteArray &output) {
  static const QRegularExpression logPrefix(QStringLiteral("^\\[[^\\]]*\\]\\s*"));
  const QStringList lines = QString::fromLocal8Bit(output).split('\n', Qt::SkipEmptyParts);
  return lines.isEmpty() ? QString() : lines.last().trimmed().remove(logPrefix);
}

}  // namespace

DesktopBrowser::DesktopBrowser(QObject *parent) : QObject(parent) {}

DesktopBrowser::~DesktopBrowser() {
  for (QProcess *launcher : findChildren<QProcess *>(Qt::FindDirectChildrenOnly)) {
    launcher->disconnect();
    launcher->kill();
    launcher->waitForFinished(1000);
  }
}

void DesktopBrowser::Open(const QString &path, Failure failed) {
  const QString program = QStandardPaths::findExecutable(kLauncher);
  if (program.isEmpty()) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
      Report(failed, QStringLiteral("no program to open web pages was found."));
    }
    return;
  }
  auto *launcher = new QProcess(this);
  launcher->setProcessChannelMode(QProcess::MergedChannels);
  launcher->setStandardInputFile(QProcess::nullDevice());
  auto output = std::make_shared<QByteArray>();
  QElapsedTimer clock;
  clock.start();
  connect(launcher, &QProcess::readyReadStandardOutput, this, [launcher, output] {
    output->append(launcher->readAllStandardOutput());
    if (output->size() > kKeptOutputBytes) output->remove(0, output->size() - kKeptOutputBytes);
  });
  connect(launcher, &QProcess::finished, this,
          [this, launcher, output, clock, failed](int code, QProcess::ExitStatus status) {
            output->append(launcher->readAllStandardOutput());
            launcher->deleteLater();
            if (clock.hasExpired(kStartWatchMs) || (status == QProcess::NormalExit && code == 0)) {
              return;
            }
            const QString said = LastLine(*output);
            Report(failed, said.isEmpty() ? QStringLiteral("%1 ended with status %2.")
                                                .arg(QString::fromLatin1(kLauncher))
                                                .arg(code)
                                          : said);
          });
  connect(launcher, &QProcess::errorOccurred, this,
          [this, launcher, failed](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart) return;
            launcher->deleteLater();
            Report(failed, QStringLiteral("%1 could not be started: %2")
                               .arg(QString::fromLatin1(kLauncher), launcher->errorString()));
          });
  launcher->start(program, {path});
}

void DesktopBrowser::Report(const Failure &failed, const QString &reason) {
  // Told from an event of its own, never from inside a signal of the launcher.
  QMetaObject::invokeMethod(
      this, [failed, reason] { failed(reason); }, Qt::QueuedConnection);
}

}  // namespace vendigo
