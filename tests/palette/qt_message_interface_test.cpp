// The message boxes the programs show: their texts, titles, answers and place on the screen.
#include "palette/qt_message_interface.h"

#include "pageeditor/qt_editor_prompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <utility>
#include <vector>

using vendigo::QtMessageInterface;

class QtMessageInterfaceTest : public QObject {
  Q_OBJECT

 private slots:
  void MessagesBreakLinesAtEveryLineEnd();
  void QuestionsAreConfirmationsAnsweredYesOrNo();
  void WithoutAnActiveWindowTheBoxStaysOnTop();
  void FailuresWarnInformationInforms();
};

namespace {

struct SeenBox {
  QString title;
  QString text;
  bool onTop = false;
  QWidget *parent = nullptr;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Runs show, and answers the box it opens with button once it is up.
SeenBox Answer(const std::function<void()> &show, QMessageBox::StandardButton button) {
  SeenBox seen;
  QTimer::singleShot(0, [&] {
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    QVERIFY(box);
    seen = {box->windowTitle(), box->text(), box->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
            box->parentWidget(), box->icon()};
    box->button(button)->click();
  });
  show();
  return seen;
}

}  // namespace

void QtMessageInterfaceTest::MessagesBreakLinesAtEveryLineEnd() {
  QApplication::setApplicationName("Vendigo");
  QtMessageInterface messages;
  const SeenBox seen =
      Answer([&] { messages.ShowMessage("one\r\rtwo\r\nthree\nfour \rfive"); }, QMessageBox::Ok);
  QCOMPARE(seen.title, QString("Vendigo"));
  QCOMPARE(seen.text, QString("one\n\ntwo\nthree\nfour \nfive"));
}

void QtMessageInterfaceTest::QuestionsAreConfirmationsAnsweredYesOrNo() {
  QtMessageInterface messages;
  bool answer = false;
  SeenBox seen = Answer([&] { answer = messages.AskYesNo("Sure?"); }, QMessageBox::Yes);
  QCOMPARE(seen.title, QString("Confirm"));
  QCOMPARE(seen.text, QString("Sure?"));
  QVERIFY(answer);
  Answer([&] { answer = messages.AskYesNo("Sure?"); }, QMessageBox::No);
  QVERIFY(!answer);
}

void QtMessageInterfaceTest::WithoutAnActiveWindowTheBoxStaysOnTop() {
  QtMessageInterface messages;
  QVERIFY(!QApplication::activeWindow());
  SeenBox seen = Answer([&] { messages.ShowMessage("x"); }, QMessageBox::Ok);
  QVERIFY(seen.onTop);
  QVERIFY(!seen.parent);

  QWidget window;
  window.show();
  QApplication::setActiveWindow(&window);
  seen = Answer([&] { messages.ShowMessage("x"); }, QMessageBox::Ok);
  QCOMPARE(seen.parent, &window);
  QVERIFY(!seen.onTop);
}

void QtMessageInterfaceTest::FailuresWarnInformationInforms() {
  QApplication::setApplicationName("Vendigo");
  QApplication::setApplicationDisplayName("Vendigo Page Editor");
  QtMessageInterface messages;
  vendigo::QtEditorPrompts prompts;
  const std::vector<std::pair<std::function<void()>, SeenBox>> cases = {
      {[&] { messages.ShowMessage("About"); },
       {"Vendigo", "About", {}, {}, QMessageBox::Information}},
      {[&] { messages.ShowError("Failed"); }, {"Vendigo", "Failed", {}, {}, QMessageBox::Warning}},
      {[&] { prompts.ShowError("Not saved"); },
       {"Vendigo Page Editor", "Not saved", {}, {}, QMessageBox::Warning}},
  };
  for (const auto &[show, expected] : cases) {
    const SeenBox seen = Answer(show, QMessageBox::Ok);
    QCOMPARE(seen.title, expected.title);
    QCOMPARE(seen.text, expected.text);
    QCOMPARE(seen.icon, expected.icon);
  }
}

QTEST_MAIN(QtMessageInterfaceTest)
#include "qt_message_interface_test.moc"
