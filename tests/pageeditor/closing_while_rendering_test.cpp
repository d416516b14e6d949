// Documents closed, and the editor quit, at random moments while their pages are written, loaded
// and scrolled: whatever the engine or the worker thread still has under way must not reach a
// view that is going.
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QtTest>
#include <memory>

#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "support/scripted_editor_prompts.h"
#include "support/stress_seed.h"

using vendigo::EditorDocument;
using vendigo::PageEditorWindow;

class ClosingWhileRenderingTest : public QObject {
  Q_OBJECT

 private slots:
  void closingAtRandomMomentsLeavesTheEditorRunning() {
    QRandomGenerator random(vendigo::testing::StressSeed());

    vendigo::testing::ScriptedEditorPrompts prompts;
    auto window = std::make_unique<PageEditorWindow>(prompts);
    window->show();
    int closed = 0;
    int quit = 0;
    for (int round = 0; round < kRounds; ++round) {
      if (window->Documents().size() < 3) window->NewDocument();
      EditorDocument *document = window->ActiveDocument();
      document->InsertAtCursor(QStringLiteral("<p>round %1</p>").arg(round));
      document->Source()->document()->setModified(false);
      document->RefreshRendered();
      QTest::qWait(static_cast<int>(random.bounded(kLongestWaitMs)));
      const quint32 what = random.bounded(10);
      if (what < 6) {
        QVERIFY(window->CloseDocument(window->ActiveDocument()));
        ++closed;
      } else if (what < 8) {
        // As the program ends: the window closes its documents and goes with them, or goes with
        // its documents still open (the end of a program that did not close its window).
        if (what == 6) QVERIFY(window->close());
        window = std::make_unique<PageEditorWindow>(prompts);
        window->show();
        ++quit;
      }
    }
    window.reset();
    QTest::qWait(100);
    qInfo("%d documents closed and %d windows quit while rendering", closed, quit);
    QCOMPARE(prompts.asked, QStringList());
  }

 private:
  static constexpr int kRounds = 300;
  static constexpr quint32 kLongestWaitMs = 120;
};

QTEST_MAIN(ClosingWhileRenderingTest)
#include "closing_while_rendering_test.moc"
