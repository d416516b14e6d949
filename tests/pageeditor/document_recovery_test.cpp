// Recovery copies of the editor's documents: written after edits, gone with a save or a close,
// offered at the next start.
#include "pageeditor/document_recovery.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "pageeditor/editor_document.h"
#include "pageeditor/page_editor_window.h"
#include "support/scripted_editor_prompts.h"

using vendigo::DocumentRecovery;
using vendigo::EditorDocument;
using vendigo::PageEditorWindow;
using vendigo::RecoveryCopy;
using vendigo::RecoveryStore;
using RestoreAnswer = vendigo::EditorPrompts::RestoreAnswer;
using SaveAnswer = vendigo::EditorPrompts::SaveAnswer;

class DocumentRecoveryTest : public QObject {
  Q_OBJECT

 private:
  QStringList Copies() const { return QDir(folder_.path()).entryList({"*.recovery"}); }
  std::unique_ptr<RecoveryStore> Store(int pid) {
    std::string reason;
    auto store = RecoveryStore::Open(folder_.path().toStdString(), pid, reason);
    if (!store) qWarning("%s", reason.c_str());
    return store;
  }

  QTemporaryDir folder_;
  vendigo::testing::ScriptedEditorPrompts prompts_;

 private slots:
  void init() { QDir(folder_.path()).removeRecursively(); }

  void aCopyFollowsTheEditsUntilTheSaveOrTheClose() {
    PageEditorWindow window(prompts_);
    DocumentRecovery recovery(window, Store(10), 0);
    EditorDocument *document = window.NewDocument();
    QCOMPARE(Copies(), QStringList());
    document->InsertAtCursor("<b>\xC3\xA9</b>");
    QTRY_COMPARE(Copies(), QStringList{"10-1.recovery"});
    prompts_.savePath = folder_.filePath("page.html");
    QVERIFY(window.SaveDocument(document));
    QCOMPARE(Copies(), QStringList());
    document->InsertAtCursor("<i>more</i>");
    QTRY_COMPARE(Copies(), QStringList{"10-1.recovery"});
    prompts_.saveAnswers = {SaveAnswer::Discard};
    QVERIFY(window.CloseDocument(document));
    QCOMPARE(Copies(), QStringList());
  }

  void theAnswerDecidesWhatBecomesOfTheWorkLeft_data() {
    QTest::addColumn<RestoreAnswer>("answer");
    QTest::addColumn<QStringList>("documents");
    QTest::addColumn<QStringList>("copies");
    QTest::newRow("restore") << RestoreAnswer::Restore
                             << QStringList{"/site/page.html", "Untitled 1"}
                             << QStringList{"30-1.recovery", "30-2.recovery"};
    QTest::newRow("discard") << RestoreAnswer::Discard << QStringList() << QStringList();
    QTest::newRow("later") << RestoreAnswer::Later << QStringList()
                           << QStringList{"30-1.recovery", "30-2.recovery"};
  }
  void theAnswerDecidesWhatBecomesOfTheWorkLeft() {
    QFETCH(RestoreAnswer, answer);
    const std::string text = "<p>\xE6\x9D\xAF\xFF</p>\r\n";  // a byte that is no UTF-8 too
    {
      const std::unique_ptr<RecoveryStore> ended = Store(20);
      std::string reason;
      QVERIFY(ended->Write(1, {"/site/page.html", "", "windows-1252", text}, reason));
      QVERIFY(ended->Write(2, {"", "Untitled 4", "utf-8", "<p>new</p>"}, reason));
    }
    PageEditorWindow window(prompts_);
    DocumentRecovery recovery(window, Store(30), 0);
    prompts_.asked.clear();
    prompts_.restoreAnswer = answer;
    recovery.OfferOrphans(prompts_, true);

    QCOMPARE(prompts_.asked, QStringList{"restore: /site/page.html, Untitled 4"});
    QStringList documents;
    for (const EditorDocument *document : window.Documents()) {
      documents << document->ListName();
      QVERIFY(document->IsModified());
    }
    QTEST(documents, "documents");
    QTEST(Copies(), "copies");
    if (answer != RestoreAnswer::Restore) return;
    const EditorDocument *page = window.Documents().first();
    QCOMPARE(page->UnsavedBytes().toStdString(), text);
    QCOMPARE(page->Encoding().charset, vendigo::FileEncoding::Charset::Windows1252);
  }
};

QTEST_MAIN(DocumentRecoveryTest)
#include "document_recovery_test.moc"
