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

using testing::Child;
using testing::DialogWorld;

template <typename Dialog>
QDialog *Opened(DialogWorld &world) {
  // The wizard's one template.
  testing::TempFolder::WriteBytes(world.programDir.path() / "t.zft", "<p>%zf_description%</p>");
  return world.Open<Dialog>();
}

// Acts on the control each step names as the user does: "name=text" types text into an edit or,
// cells split by "|", into row 1 of a grid; a name alone clicks a button or a list's first entry.
void Act(QDialog *dialog, const QStringList &steps) {
  for (const QString &step : steps) {
    const QString text = step.section('=', 1);
    auto *control = Child<QWidget>(dialog, qPrintable(step.section('=', 0, 0)));
    if (auto *grid = qobject_cast<StringGrid *>(control))
      testing::FillRow(grid, 1, text.split('|'));
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
      testing::Type(edit, text);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
      button->click();
    else if (auto *list = qobject_cast<QListWidget *>(control))
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                        list->visualItemRect(list->item(0)).center());
  }
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

}  // namespace

class FragmentPreviewTest : public QObject {
  Q_OBJECT

 private slots:
  // Each case fills the dialog, breaks one input (the preview then says why it shows nothing)
  // and mends it, so Enter, which presses OK, inserts what the preview showed before.
  void PreviewAndCopyAreWhatOkInserts() {
    const struct {
      QDialog *(*open)(DialogWorld &);
      QStringList fill, broken;
      QString line;
      QStringList mended;
      const char *ok;
    } cases[] = {
        // clang-format off
        {Opened<TPelluxAdd>, {"Edit1=Mug \"XL\"", "Edit2=4.5"}, {"Edit2=\b\b\b"},
         "Type a description and a price first.", {"Edit2=4.5"}, "Button1"},
        {Opened<TQuickLink>, {"Edit1=Mug", "Edit2=4.5", "includeInfo"}, {"Edit2=."},
         "Currency conversion error \"4.5.\"", {"Edit2=\b"}, "Button1"},
        {Opened<TTextAdd>, {"Edit3=N", "Edit4=2"}, {"Edit3=\b"},
         "Type what the text is for and a price first.", {"Edit3=N"}, "OKBUT"},
        {Opened<TPelluxOptionsBuilder>, {"Eopfor=Size", "RadioGrid1=Small|1"}, {}, {}, {}, "OKBut"},
        {Opened<TAddBuilder>, {"RABUT", "RadioGrid1=Mug|4.5"}, {}, {}, {}, "OKBut"},
        {Opened<T_PelluxFP>, {"FileListBox1", "nextBut", "Description=T", "Price=4", "ProductWeight=1\r",
          "nextBut", "nextBut", "nextBut"}, {"Price=\b"},
         "Fill in the item on the second page first.", {"Price=4"}, "FinBut"},
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
      const auto whole = [&](const char *labelName) {  // nothing is cut: wrapped, the text fits
        const QLabel *label = Child<QLabel>(dialog, labelName);
        return label->width() >= label->minimumSizeHint().width() &&
               label->height() >= label->heightForWidth(label->width());
      };
      auto *toggle = Child<QToolButton>(dialog, "PreviewToggle");
      QVERIFY(toggle->toolButtonStyle() == Qt::ToolButtonTextBesideIcon &&
              toggle->width() >= toggle->sizeHint().width());
      QTRY_VERIFY(dialog->screen()->availableGeometry().contains(dialog->frameGeometry()));
      QTest::mouseClick(Child<QPushButton>(dialog, "CopyHtml"), Qt::LeftButton);
      QCOMPARE(Child<QLabel>(dialog, "PreviewCopied")->text(), QString("Copied."));
      QTRY_VERIFY(whole("PreviewLine") && whole("PreviewCopied"));
      const QString source = Child<QPlainTextEdit>(dialog, "PreviewSource")->toPlainText();
      const QString html = QApplication::clipboard()->mimeData()->html();
      const QString text = QApplication::clipboard()->mimeData()->text();
      if (!c.broken.isEmpty()) {
        Act(dialog, c.broken);
        QTRY_COMPARE(Child<QLabel>(dialog, "PreviewLine")->text(), c.line);
        QCOMPARE(Child<QPlainTextEdit>(dialog, "PreviewSource")->toPlainText(), QString());
        QVERIFY(!Child<QPushButton>(dialog, "CopyHtml")->isEnabled());
        if (!Child<QPushButton>(dialog, c.ok)->isEnabled()) QTest::keyClick(dialog, Qt::Key_Return);
        Act(dialog, c.mended);
      }
      QDialog *again = c.open(world);  // remembers the unfolded preview
      QVERIFY(Child<QToolButton>(again, "PreviewToggle")->isChecked());
      delete again;
      QTest::mouseClick(Child<QToolButton>(dialog, "PreviewToggle"), Qt::LeftButton);
      QCOMPARE(ShapeOf(dialog), folded);
      QVERIFY2(world.messages.events.empty(), qPrintable(name));
      QTest::keyClick(dialog, Qt::Key_Return);
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
  const vendigo::testing::TempFolder folder;  // a screen lower than the unfolded addit dialog
  vendigo::testing::TempFolder::WriteBytes(folder.path() / "s",
                                           R"({"screens": [{"height": 560}]})");
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QByteArray((folder.path() / "s").c_str()));
  vendigo::PrepareWebEngine("fragment_preview_test");
  QApplication app(argc, argv);
  vendigo::FragmentPreviewTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "fragment_preview_test.moc"
