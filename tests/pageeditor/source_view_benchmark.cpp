// The page editor's source view on large documents against a 10 KB page measured in the same run
// (the "x_small" column): opening, the insertion call the palette makes, and the time until the
// editor can answer its next call. Only opening must grow with the document; an insertion and the
// next answer stay near the small page's however long the lines are.
#include <QApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <string>

#include "pageeditor/source_edit.h"

namespace {

using vendigo::SourceEdit;

struct Document {
  const char *name;
  qsizetype size;
  qsizetype lineLength;
};
const Document kSmall = {"10 KB in lines of 80", 10 << 10, 80};
const Document kLarge[] = {
    {"32 MB in lines of 80", 32 << 20, 80},
    {"8 MB in lines of 2 MB", 8 << 20, 2 << 20},
    {"one line of 16 MB", 16 << 20, 16 << 20},
};

QString Page(const Document &document) {
  QString line;
  while (line.size() < document.lineLength)
    line += QStringLiteral("<td><a href=\"/p?id=1\">Mug</a>");
  line.truncate(document.lineLength);
  line += QStringLiteral("\r\n");
  QString page;
  while (page.size() < document.size) page += line;
  return page;
}

void Insert(SourceEdit &edit) {
  QTextCursor cursor = edit.textCursor();
  cursor.setPosition(edit.document()->characterCount() / 2);
  edit.setTextCursor(cursor);
  edit.InsertAtCursor(QStringLiteral("<b>x</b>"));
}

enum class Step { Open, Insert, NextAnswer };

// The mean time of step on a shown source view holding the document, timing state's iterations
// when it is given and five runs otherwise.
double MeanTime(Step step, const Document &document, benchmark::State *state) {
  SourceEdit edit;
  edit.setLineWrapMode(QPlainTextEdit::NoWrap);  // as the page editor shows it
  edit.resize(800, 600);
  edit.show();
  const QString page = Page(document);
  edit.SetText(page);
  QApplication::processEvents();
  double total = 0;
  int runs = 0;
  const auto once = [&] {
    QElapsedTimer timer;
    timer.start();
    if (step == Step::Open) edit.SetText(page);
    if (step != Step::Open) Insert(edit);
    if (step != Step::Insert) QApplication::processEvents();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) * 1e-9;
    total += seconds;
    ++runs;
    return seconds;
  };
  if (state) {
    for (auto _ : *state) state->SetIterationTime(once());
  } else {
    for (int i = 0; i < 5; ++i) once();
  }
  return total / runs;
}

void Measure(benchmark::State &state, Step step, const Document &document) {
  const double small = MeanTime(step, kSmall, nullptr);
  state.counters["x_small"] = MeanTime(step, document, &state) / small;
}

}  // namespace

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  const std::pair<const char *, Step> steps[] = {
      {"Open", Step::Open}, {"Insert", Step::Insert}, {"NextAnswer", Step::NextAnswer}};
  for (const auto &[name, step] : steps) {
    for (const Document &document : kLarge) {
      benchmark::RegisterBenchmark((std::string(name) + "/" + document.name).c_str(), Measure, step,
                                   document)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
