// The preview of every builder dialog, driven with real keys on the offscreen platform: it shows
// what OK inserts and Copy HTML copies exactly that, it says why when nothing can be built, and
// folding gives the dialog its shape back.

#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include "dialogs/addit_dialog.h"
#include "dialogs/extended_option_dialog.h"
#include "dialogs/fragment_preview.h"
#include "dialogs/hidden_item_dialog.h"
#include "dialogs/quick_link_dialog.h"
#include "dialogs/text_option_dialog.h"
#include "dialogs/web_engine_start.h"
#include "dialogs/wizard_dialog.h"
#include "support/dialog_world.h"

namespace vendigo {
namespace {

using testing::Act;
using testing::Child;
using testing::DialogWorld;

template <typename Dialog>
QDialog *Opened(DialogWorld &world) {
  // The wizard's one template.
  testing::TempFolder::WriteBytes(world.programDir.path() / "t.zft", "<p>%zf_description%</p>");
  return world.Open<Dialog>();
}

// The dialog's size and where each of its named controls sits, the preview's own left out.
QList<QRect> ShapeOf(QDialog *dialog) {
  auto *preview = dialog->findChild<FragmentPreview *>();
  QList<QRect> shape{dialog->rect()};
  for (QWidget *widget : dialog->findChildren<QWidget *>()) {
    const QString name = widget->objectName();
    if (name.isEmpty() || name.startsWith("qt_") || preview->isAncestorOf(widget)) continue;
    if (name != "PreviewToggle") shape << QRect(widget->mapTo(dialog, QPoint()), widget->size());
  }
  return shape;
}

// Whether the label shows its whole text, wrapped at its width.
bool ShowsWhole(QDialog *dialog, const char *label) {
  const QLabel *shown = Child<QLabel>(dialog, label);
  const QRect room = shown->contentsRect();
  return shown->fontMetrics().boundingRect(room, Qt::TextWordWrap, shown->text()).height() <=
         room.height();
}

}  // namespace

class FragmentPreviewTest : public QObject {
  Q_OBJECT

 private slots:
  // Each case fills the dialog, breaks one input (the preview then says why it shows nothing, and
  // Enter presses no disabled OK) and mends it, so Enter, which presses OK, inserts what the
  // preview showed before.
  void PreviewAndCopyAreWhatOkInserts() {
    const struct {
      QDialog *(*open)(DialogWorld &);
      QStringList fill, broken;
      QString line;
      QStringList mended;
      const char *ok;
      QString enter;  // a step that presses Enter where it reaches OK
    } cases[] = {
        // clang-format off
        {Opened<TPelluxAdd>, {"Edit1=Mug \"XL\"", "Edit2=4.5"}, {"Edit2=\b\b\b"},
         "Type a description and a price first.", {"Edit2=4.5"}, "Button1", "Edit2=\r"},
        {Opened<TQuickLink>, {"Edit1=Mug", "Edit2=4.5", "includeInfo"}, {"Edit2=."},
         "Currency conversion error \"4.5.\"", {"Edit2=\b"}, "Button1", "Edit1=\r"},
        {Opened<TTextAdd>, {"Edit3=N", "Edit4=2"}, {"Edit3=\b"},
         "Type what the text is for and a price first.", {"Edit3=N"}, "OKBUT", "Edit4=\r"},
        {Opened<TPelluxOptionsBuilder>, {"Eopfor=Size", "RadioGrid1=Small|1"}, {}, {}, {}, "OKBut",
         "Eopfor=\r"},
        {Opened<TAddBuilder>, {"RABUT", "RadioGrid1=Mug|4.5"}, {}, {}, {}, "OKBut", "RABUT=\r"},
        {Opened<T_PelluxFP>, {"FileListBox1", "nextBut", "Description=T", "Price=4", "ProductWeight=1\r",
          "nextBut", "nextBut", "nextBut"}, {"Price=\b"},
         "Fill in the item on the second page first.", {"Price=4"}, "FinBut", "Notebook1=\r"},
        // clang-format on
    };
    for (const auto &c : cases) {
      DialogWorld world;
      QPointer<QDialog> dialog = c.open(world);
      Act(dialog, c.fill);
      const QList<QRect> folded = ShapeOf(dialog);
      const QString name = dialog->metaObject()->className();
      QTest::mouseClick(Child<QToolButton>(dialog, "PreviewToggle"), Qt::LeftButton);
      QTRY_VERIFY2(dialog->height() > folded[0].height(), qPrintable(name));
      // Nothing is cut: the toggle's caption, the lines, the dialog on its low screen.
      auto *toggle = Child<QToolButton>(dialog, "PreviewToggle");
      QVERIFY2(toggle->width() >= toggle->sizeHint().width() &&
                   toggle->toolButtonStyle() == Qt::ToolButtonTextBesideIcon,
               qPrintable(name));
      QTRY_VERIFY2(dialog->screen()->availableGeometry().contains(dialog->frameGeometry()),
                   qPrintable(name));
      QTest::mouseClick(Child<QPushButton>(dialog, "CopyHtml"), Qt::LeftButton);
      QCOMPARE(Child<QLabel>(dialog, "PreviewCopied")->text(), QString("Copied."));
      QTRY_VERIFY2(ShowsWhole(dialog, "PreviewLine") && ShowsWhole(dialog, "PreviewCopied"),
                   qPrintable(name));
      const QString source = Child<QPlainTextEdit>(dialog, "PreviewSource")->toPlainText();
      const QString html = QApplication::clipboard()->mimeData()->html();
      const QString text = QApplication::clipboard()->mimeData()->text();
      if (!c.broken.isEmpty()) {
        Act(dialog, c.broken);
        QTRY_COMPARE(Child<QLabel>(dialog, "PreviewLine")->text(), c.line);
        QTRY_VERIFY2(ShowsWhole(dialog, "PreviewLine"), qPrintable(name));
        QCOMPARE(Child<QPlainTextEdit>(dialog, "PreviewSource")->toPlainText(), QString());
        QVERIFY(!Child<QPushButton>(dialog, "CopyHtml")->isEnabled());
        if (!Child<QPushButton>(dialog, c.ok)->isEnabled()) Act(dialog, {c.enter});
        Act(dialog, c.mended);
      }
      QDialog *again = c.open(world);  // remembers the unfolded preview
      QVERIFY(Child<QToolButton>(again, "PreviewToggle")->isChecked());
      delete again;
      QTest::mouseClick(Child<QToolButton>(dialog, "PreviewToggle"), Qt::LeftButton);
      QCOMPARE(ShapeOf(dialog), folded);
      QVERIFY2(world.messages.events.empty(), qPrintable(name));
      Act(dialog, {c.enter});
      const QString inserted = testing::Q(world.Inserted());
      QVERIFY2(!inserted.isEmpty(), qPrintable(name));
      QCOMPARE(text, inserted);
      QCOMPARE(html, inserted);
      QCOMPARE(source, QString(inserted).replace("\r\n", "\n"));
      delete dialog;
    }
  }
};

}  // namespace vendigo

int main(int argc, char *argv[]) {
  // A screen lower than the addit dialog with its preview unfolded.
  const vendigo::testing::TempFolder folder;
  vendigo::testing::TempFolder::WriteBytes(folder.path() / "screen.json",
                                           R"({"screens": [{"width": 1024, "height": 560}]})");
  qputenv("QT_QPA_PLATFORM",
          ("offscreen:configfile=" + (folder.path() / "screen.json").string()).c_str());
  vendigo::PrepareWebEngine("fragment_preview_test");
  QApplication app(argc, argv);
  vendigo::FragmentPreviewTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "fragment_preview_test.moc"
