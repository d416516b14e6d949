// The page editor's source view on large documents: opening, an insertion as the palette makes
// it, the time until the editor can answer its next call, and handing out the whole text, each
// against the same on a 10 KB page measured in the same run. The "x_small" column is that ratio:
// it stays near 1 for an insertion and the next answer however long the lines are, and grows
// with the size only where the work must (opening a file, handing out its whole text).
#include <QApplication>
#include <QElapsedTimer>
#include <QString>

#include <benchmark/benchmark.h>

#include <functional>

#include "pageeditor/source_edit.h"

namespace {

using vendigo::SourceEdit;

// A page of size characters in lines of lineLength (and "\r\n").
QString Page(qsizetype size, qsizetype lineLength) {
  QString line;
  while (line.size() < lineLength)
    line += QStringLiteral("<td class=\"c\"><a href=\"/p?id=1\">Mug</a>");
  line.truncate(lineLength);
  line += QStringLiteral("\r\n");
  QString page;
  page.reserve(size + line.size());
  while (page.size() < size) page += line;
  return page;
}

struct Document {
  const char *name;
  qsizetype size;
  qsizetype lineLength;
};
const Document kDocuments[] = {
    {"small: 10 KB in lines of 80", 10 << 10, 80},
    {"32 MB in lines of 80", 32 << 20, 80},
    {"8 MB in lines of 2 MB", 8 << 20, 2 << 20},
    {"one line of 16 MB", 16 << 20, 16 << 20},
};

using Step = std::function<void(SourceEdit &, const QString &page)>;

// A shown source view holding the page, with nothing left for the event loop.
void Open(SourceEdit &edit, const QString &page) {
  edit.SetText(page);
  QApplication::processEvents();
}

// An insertion in the middle of the text, and the layout and painting it leaves to the event loop.
void Insert(SourceEdit &edit, const QString &) {
  QTextCursor cursor = edit.textCursor();
  cursor.setPosition(edit.document()->characterCount() / 2);
  edit.setTextCursor(cursor);
  edit.InsertAtCursor(QStringLiteral("<b>x</b>"));
  QApplication::processEvents();
}

// The next call is answered once the event loop has done what an insertion left it.
void InsertAndNextTurn(SourceEdit &edit, const QString &page) {
  Insert(edit, page);
  QApplication::processEvents();
}

// The whole text, as ActiveDocumentText hands it out: this one grows with the document.
void WholeText(SourceEdit &edit, const QString &) {
  benchmark::DoNotOptimize(edit.Text());
}

// Times step on the document of the benchmark's argument and on the small one, and reports the
// ratio of the two means as "x_small".
void Measure(benchmark::State &state, const Step &prepare, const Step &step) {
  const Document &document = kDocuments[state.range(0)];
  state.SetLabel(document.name);
  const auto mean = [&](const Document &measured, benchmark::State *timed) {
    SourceEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.resize(800, 600);
    edit.show();
    const QString page = Page(measured.size, measured.lineLength);
    Open(edit, page);
    prepare(edit, page);
    double total = 0;
    int runs = 0;
    const auto once = [&] {
      QElapsedTimer timer;
      timer.start();
      step(edit, page);
      const double seconds = static_cast<double>(timer.nsecsElapsed()) * 1e-9;
      total += seconds;
      ++runs;
      return seconds;
    };
    if (timed) {
      for (auto _ : *timed) timed->SetIterationTime(once());
    } else {
      for (int i = 0; i < 5; ++i) once();
    }
    return total / runs;
  };
  const double small = mean(kDocuments[0], nullptr);
  const double measured = mean(document, &state);
  state.counters["x_small"] = measured / small;
}

void Nothing(SourceEdit &, const QString &) {}

void BM_Open(benchmark::State &state) {
  Measure(state, Nothing, Open);
}

void BM_Insert(benchmark::State &state) {
  Measure(state, Nothing, Insert);
}

void BM_NextAnswer(benchmark::State &state) {
  Measure(state, Nothing, InsertAndNextTurn);
}

void BM_WholeText(benchmark::State &state) {
  Measure(state, Insert, WholeText);
}

}  // namespace

BENCHMARK(BM_Open)->DenseRange(1, 3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Insert)->DenseRange(1, 3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextAnswer)->DenseRange(1, 3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeText)->DenseRange(1, 3)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
