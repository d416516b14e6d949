// The page editor's answers on a private session bus; run it under dbus-run-session.
//
// AnswerAfterInsertion/<bytes>: a document of that size is open; 100 bytes are inserted over the
// bus and calls follow one after another for a second, while the view catches up with the edit.
// The time is the slowest of those answers.
//
// StartUntilAnswer: from starting the editor with a small page until it answers on the bus, and
// the same for a bare Qt program that shows the page in a QWebEngineView. The time is the
// editor's; the counters give both and the ratio, editor over baseline.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>

#include <benchmark/benchmark.h>

#include "editorlink/dbus_editor_host.h"
#include "support/page_editor_session.h"

namespace {

using vendigo::testing::PageEditorSession;

constexpr int kCallTimeoutMs = 60000;
constexpr int kWatchMs = 1000;

struct Service {
  QString name;
  QString path;
  QString interface;
  QString method;
};

const Service kEditor{vendigo::kEditorBusName, vendigo::kEditorObjectPath,
                      vendigo::kEditorInterface, "vtiListOpenDocs"};
const Service kBaseline{"org.vendigo.WebViewBaseline", "/Baseline", "org.vendigo.WebViewBaseline",
                        "Ping"};

bool Call(const Service &service, const QString &method, const QVariantList &arguments = {}) {
  QDBusMessage message =
      QDBusMessage::createMethodCall(service.name, service.path, service.interface, method);
  message.setArguments(arguments);
  return QDBusConnection::sessionBus().call(message, QDBus::Block, kCallTimeoutMs).type() ==
         QDBusMessage::ReplyMessage;
}

QByteArray Page(qsizetype bytes) {
  QByteArray page = "<html><body>\n";
  for (int i = 0; page.size() < bytes; ++i) {
    page += "<p>Paragraph " + QByteArray::number(i) +
            " with <b>bold</b> words, a <a href=\"#top\">link</a> and <input name=\"q\">.</p>\n";
  }
  return page + "</body></html>\n";
}

// The slowest answer of the calls made during kWatchMs, in milliseconds.
double SlowestAnswerMs() {
  double slowest = 0;
  QElapsedTimer window;
  window.start();
  while (window.elapsed() < kWatchMs) {
    QElapsedTimer call;
    call.start();
    if (!Call(kEditor, kEditor.method)) return -1;
    slowest = std::max(slowest, call.nsecsElapsed() / 1e6);
  }
  return slowest;
}

void BM_AnswerAfterInsertion(benchmark::State &state) {
  PageEditorSession editor;
  const QString page = editor.WriteFile("large.html", Page(state.range(0)));
  if (!editor.Start({page}) || editor.ListOpenDocs() != page) {
    state.SkipWithError(qPrintable("the editor did not open the page: " + editor.LastError()));
    return;
  }
  SlowestAnswerMs();  // the first rendering of the page
  const QString hundredBytes = "<p>" + QString(93, 'x') + "</p>";
  for (auto _ : state) {
    if (!Call(kEditor, "vtiInsertHTML", {hundredBytes})) {
      state.SkipWithError("the insertion failed");
      break;
    }
    const double slowest = SlowestAnswerMs();
    if (slowest < 0) {
      state.SkipWithError("a call failed");
      break;
    }
    state.SetIterationTime(slowest / 1000);
  }
}
BENCHMARK(BM_AnswerAfterInsertion)
    ->Arg(10 * 1024 * 1024)
    ->Arg(10 * 1024)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Milliseconds from starting program until service answers, or -1 when it does not; the program
// is ended afterwards and its bus name is free again.
double StartUntilAnswer(const QString &program, const QStringList &arguments, const QString &home,
                        const Service &service) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", home + "/config");
  environment.insert("XDG_DATA_HOME", home + "/data");
  environment.insert("XDG_STATE_HOME", home + "/state");
  process.setProcessEnvironment(environment);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  double answeredMs = -1;
  QElapsedTimer clock;
  clock.start();
  process.start(program, arguments);
  while (clock.elapsed() < PageEditorSession::kStartTimeoutMs &&
         process.state() != QProcess::NotRunning) {
    if (Call(service, service.method)) {
      answeredMs = clock.nsecsElapsed() / 1e6;
      break;
    }
    QThread::msleep(1);
  }
  process.terminate();
  if (!process.waitForFinished(PageEditorSession::kStartTimeoutMs)) process.kill();
  process.waitForFinished();
  QDBusConnection bus = QDBusConnection::sessionBus();
  vendigo::testing::WaitUntilNameIsFree(bus, service.name);
  return answeredMs;
}

void BM_StartUntilAnswer(benchmark::State &state) {
  QTemporaryDir home;
  const QString page = home.filePath("page.html");
  QFile file(page);
  if (!file.open(QIODevice::WriteOnly) || file.write(Page(4096)) < 0) {
    state.SkipWithError("cannot write the page");
    return;
  }
  file.close();
  double editorSum = 0;
  double baselineSum = 0;
  for (auto _ : state) {
    const double baseline =
        StartUntilAnswer(VENDIGO_WEB_VIEW_BASELINE, {page}, home.path(), kBaseline);
    const double editor =
        StartUntilAnswer(PageEditorSession::Program(), {page}, home.path(), kEditor);
    if (editor < 0 || baseline < 0) {
      state.SkipWithError("a program did not answer on the bus");
      break;
    }
    editorSum += editor;
    baselineSum += baseline;
    state.SetIterationTime(editor / 1000);
  }
  state.counters["editor_ms"] = benchmark::Counter(editorSum, benchmark::Counter::kAvgIterations);
  state.counters["baseline_ms"] =
      benchmark::Counter(baselineSum, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = editorSum / baselineSum;
}
BENCHMARK(BM_StartUntilAnswer)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char *argv[]) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  QCoreApplication app(argc, argv);  // the session bus needs it
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
