// The yardstick for the page editor's start: a bare Qt program that shows a browser view with the
// page named on its command line and answers one call on the session bus
// (org.vendigo.WebViewBaseline at /Baseline, method Ping).
#include <QApplication>
#include <QDBusConnection>
#include <QFile>
#include <QObject>
#include <QUrl>
#include <QWebEngineView>

namespace {

class Baseline : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.vendigo.WebViewBaseline")

 public slots:
  Q_SCRIPTABLE QString Ping() { return QStringLiteral("pong"); }
};

}  // namespace

int main(int argc, char *argv[]) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QWebEngineView view;
  if (argc > 1) view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
  view.resize(800, 600);
  view.show();

  Baseline baseline;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.registerObject("/Baseline", &baseline, QDBusConnection::ExportScriptableSlots);
  bus.registerService("org.vendigo.WebViewBaseline");
  return QApplication::exec();
}

#include "web_view_baseline.moc"
