// The page editor's answers on a private session bus; run it under dbus-run-session.
//
// AnswerAfterInsertion/<bytes>: a document of that size is open; 100 bytes are inserted over the
// bus and calls follow one after another for 3 s, while the view catches up with the edit. The
// time is the slowest of those answers; the counter slowest_ms is the median of the rounds'
// slowest, as one round's slowest answer swings with whatever else the machine did in it. The case
// that runs second of 10 MB and 10 KB also gives the ratio of the two (counter
// ratio_10MB_over_10KB).
//
// MemoryWithPage/<bytes>: the editor opens a page of that size and renders it; once the editor
// and its engine's processes have settled (their CPU time stands still), the counters give the
// proportional set size (PSS) of the editor, of its child processes and of all together, in MB.
// The time is how long the page took to settle.
//
// Every wait is bounded: a case that does not finish in time ends with an error that says what.
//
// StartUntilAnswer: from starting the editor with a small page until it answers on the bus, and
// the same for a bare Qt program that shows the page in a QWebEngineView. The time is the
// editor's; the counters give both and the ratio, editor over baseline.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <map>
#include <vector>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "editorlink/dbus_editor_host.h"
#include "support/page_editor_session.h"

namespace {

using vendigo::testing::PageEditorSession;

constexpr int kCallTimeoutMs = 20000;
constexpr int kWatchMs = 3000;
constexpr qint64 kTenMegabytes = 10 * 1024 * 1024;
constexpr qint64 kTenKilobytes = 10 * 1024;
// The longest a page may take to settle, and how still its processes must then be.
constexpr int kSettleTimeoutMs = 240000;
constexpr int kSettleWindowMs = 3000;
constexpr double kSettledCpuShare = 0.05;

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

// The slowest answer of the calls made during kWatchMs, in milliseconds; -1 when a call fails.
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

// The slowest answer after an insertion, per document size, of the cases run so far.
std::map<qint64, double> slowestAfterInsertion;

void BM_AnswerAfterInsertion(benchmark::State &state) {
  PageEditorSession editor;
  const QString page = editor.WriteFile("large.html", Page(state.range(0)));
  if (!editor.Start({page}) || editor.ListOpenDocs() != page) {
    state.SkipWithError(qPrintable("the editor did not open the page: " + editor.LastError()));
    return;
  }
  SlowestAnswerMs();  // the first rendering of the page
  const QString hundredBytes = "<p>" + QString(93, 'x') + "</p>";
  std::vector<double> slowestOfRounds;
  for (auto _ : state) {
    if (!Call(kEditor, "vtiInsertHTML", {hundredBytes})) {
      state.SkipWithError("the insertion failed or took longer than the call timeout");
      return;
    }
    const double slowest = SlowestAnswerMs();
    if (slowest < 0) {
      state.SkipWithError("a call failed or took longer than the call timeout");
      return;
    }
    slowestOfRounds.push_back(slowest);
    // Never 0, which would have the library iterate on.
    state.SetIterationTime(std::max(slowest, 0.001) / 1000);
  }
  const auto middle = slowestOfRounds.begin() + slowestOfRounds.size() / 2;
  std::nth_element(slowestOfRounds.begin(), middle, slowestOfRounds.end());
  const double slowest = *middle;
  state.counters["slowest_ms"] = slowest;
  slowestAfterInsertion[state.range(0)] = slowest;
  if (slowestAfterInsertion.count(kTenMegabytes) && slowestAfterInsertion.count(kTenKilobytes)) {
    state.counters["ratio_10MB_over_10KB"] =
        slowestAfterInsertion[kTenMegabytes] / slowestAfterInsertion[kTenKilobytes];
  }
}
BENCHMARK(BM_AnswerAfterInsertion)
    ->Arg(kTenMegabytes)
    ->Arg(kTenKilobytes)
    ->Iterations(7)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The process and all its descendants.
QList<qint64> ProcessTree(qint64 root) {
  QList<qint64> tree{root};
  for (qsizetype i = 0; i < tree.size(); ++i) {
    const QString taskFolder = QStringLiteral("/proc/%1/task").arg(tree[i]);
    for (const QString &task : QDir(taskFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      QFile children(taskFolder + "/" + task + "/children");
      if (!children.open(QIODevice::ReadOnly)) continue;
      for (const QByteArray &child : children.readAll().split(' ')) {
        if (!child.trimmed().isEmpty()) tree.append(child.trimmed().toLongLong());
      }
    }
  }
  return tree;
}

// The process's proportional set size in kB, 0 when it is gone.
qint64 PssKb(qint64 process) {
  QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(process));
  if (!rollup.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray &line : rollup.readAll().split('\n')) {
    if (line.startsWith("Pss:")) return line.mid(4).trimmed().split(' ').value(0).toLongLong();
  }
  return 0;
}

// The CPU time the processes have used so far, in clock ticks.
qint64 CpuTicks(const QList<qint64> &processes) {
  qint64 ticks = 0;
  for (const qint64 process : processes) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
    if (!stat.open(QIODevice::ReadOnly)) continue;
    const QByteArray text = stat.readAll();
    // The fields after the name in parentheses; utime and stime are the 14th and 15th.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    ticks += fields.value(11).toLongLong() + fields.value(12).toLongLong();
  }
  return ticks;
}

// Waits until the editor has a child process of the engine's and the tree of processes spends
// less than kSettledCpuShare of a core during kSettleWindowMs. False when that does not happen
// within kSettleTimeoutMs.
bool WaitUntilSettled(qint64 editor) {
  const double ticksPerMs = sysconf(_SC_CLK_TCK) / 1000.0;
  QElapsedTimer clock;
  clock.start();
  qint64 ticksBefore = -1;
  while (clock.elapsed() < kSettleTimeoutMs) {
    QThread::msleep(kSettleWindowMs);
    const QList<qint64> tree = ProcessTree(editor);
    const qint64 ticks = CpuTicks(tree);
    if (tree.size() > 1 && ticksBefore >= 0 &&
        ticks - ticksBefore <= kSettledCpuShare * kSettleWindowMs * ticksPerMs) {
      return true;
    }
    ticksBefore = ticks;
  }
  return false;
}

void BM_MemoryWithPage(benchmark::State &state) {
  for (auto _ : state) {
    PageEditorSession editor;
    const QString page = editor.WriteFile("page.html", Page(state.range(0)));
    QElapsedTimer clock;
    clock.start();
    if (!editor.Start({page}) || editor.ListOpenDocs() != page) {
      state.SkipWithError(qPrintable("the editor did not open the page: " + editor.LastError()));
      return;
    }
    if (!WaitUntilSettled(editor.ProcessId())) {
      state.SkipWithError("the editor and its engine did not settle within the timeout");
      return;
    }
    state.SetIterationTime(clock.nsecsElapsed() / 1e9);
    const QList<qint64> tree = ProcessTree(editor.ProcessId());
    qint64 totalKb = 0;
    for (const qint64 process : tree) totalKb += PssKb(process);
    const qint64 editorKb = PssKb(editor.ProcessId());
    state.counters["pss_total_MB"] = totalKb / 1024.0;
    state.counters["pss_editor_MB"] = editorKb / 1024.0;
    state.counters["pss_children_MB"] = (totalKb - editorKb) / 1024.0;
    state.counters["processes"] = static_cast<double>(tree.size());
  }
}
BENCHMARK(BM_MemoryWithPage)
    ->Arg(kTenMegabytes)
    ->Arg(kTenKilobytes)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Milliseconds from starting program until service answers, or -1 when it does not or when it
// does not end, or free its bus name, in time afterwards.
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
  if (!process.waitForFinished(PageEditorSession::kStartTimeoutMs)) {
    process.kill();
    if (!process.waitForFinished(PageEditorSession::kStartTimeoutMs)) return -1;
  }
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!vendigo::testing::WaitUntilNameIsFree(bus, service.name)) return -1;
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
      state.SkipWithError("a program did not answer on the bus, or did not end, in time");
      return;
    }
    editorSum += editor;
    baselineSum += baseline;
    state.SetIterationTime(std::max(editor, 0.001) / 1000);
  }
  state.counters["editor_ms"] = benchmark::Counter(editorSum, benchmark::Counter::kAvgIterations);
  state.counters["baseline_ms"] =
      benchmark::Counter(baselineSum, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = editorSum / baselineSum;
}
// A fixed count: with a minimum time instead, a run whose times come out tiny would go on and on.
BENCHMARK(BM_StartUntilAnswer)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char *argv[]) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  QCoreApplication app(argc, argv);  // the session bus needs it
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
