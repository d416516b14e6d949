// The preview of every builder dialog, driven with real keys on the offscreen platform: it shows
// what OK inserts, Copy HTML puts exactly that on the clipboard, it says why when nothing can be
// built yet, and folding gives the dialog its shape back.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>

#include <functional>
#include <vector>

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
using testing::Type;

struct Case {
  const char *name;
  std::function<QDialog *(DialogWorld &)> open;
  std::function<void(QDialog *)> fill;  // types the inputs
  const char *ok;
};

void Edit(QDialog *dialog, const char *name, const QString &text) {
  Type(Child<QLineEdit>(dialog, name), text);
}

template <typename Dialog>
QDialog *Opened(DialogWorld &world) {
  return world.Open<Dialog>();
}

// The wizard with one template, on its last step once filled.
QDialog *OpenWizard(DialogWorld &world) {
  testing::TempFolder::WriteBytes(world.programDir.path() / "t.zft", "<p>%zf_description%</p>");
  return world.Open<T_PelluxFP>();
}
void FillWizard(QDialog *dialog) {
  auto *list = Child<QListWidget>(dialog, "FileListBox1");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(0)).center());
  Edit(dialog, "Description", "Tea");
  Edit(dialog, "Price", "4");
  Edit(dialog, "ProductWeight", "1");
  Child<QStackedWidget>(dialog, "Notebook1")->setCurrentIndex(T_PelluxFP::kPageCount - 1);
}

const std::vector<Case> kCases = {
    {"hidden item", Opened<TPelluxAdd>,
     [](QDialog *d) { Edit(d, "Edit1", "Mug \"XL\""), Edit(d, "Edit2", "4.5"); }, "Button1"},
    {"quick link", Opened<TQuickLink>,
     [](QDialog *d) {
       Edit(d, "Edit1", "Mug"), Edit(d, "Edit2", "4.5");
       Child<QCheckBox>(d, "includeInfo")->click();
     },
     "Button1"},
    {"text option", Opened<TTextAdd>,
     [](QDialog *d) { Edit(d, "Edit3", "Name"), Edit(d, "Edit4", "2"); }, "OKBUT"},
    {"extended option", Opened<TPelluxOptionsBuilder>,
     [](QDialog *d) {
       Edit(d, "Eopfor", "Size");
       testing::FillRow(Child<StringGrid>(d, "RadioGrid1"), 1, {"Small", "1"});
     },
     "OKBut"},
    {"addit radio table", Opened<TAddBuilder>,
     [](QDialog *d) {
       Child<QRadioButton>(d, "RABUT")->click();
       testing::FillRow(Child<StringGrid>(d, "RadioGrid1"), 1, {"Mug", "4.5"});
     },
     "OKBut"},
    {"wizard", OpenWizard, FillWizard, "FinBut"},
};

// The dialog's size and where each of its named controls sits, the preview's own left out.
QStringList ShapeOf(QDialog *dialog) {
  auto *preview = dialog->findChild<FragmentPreview *>();
  QStringList shape{QString("%1x%2").arg(dialog->width()).arg(dialog->height())};
  for (QWidget *widget : dialog->findChildren<QWidget *>()) {
    const QString name = widget->objectName();
    if (name.isEmpty() || name.startsWith("qt_") || name == "PreviewToggle" ||
        preview->isAncestorOf(widget)) {
      continue;
    }
    const QRect place(widget->mapTo(dialog, QPoint()), widget->size());
    shape << name + QString(" %1,%2 %3x%4")
                        .arg(place.x())
                        .arg(place.y())
                        .arg(place.width())
                        .arg(place.height());
  }
  return shape;
}

void ClickToggle(QDialog *dialog) {
  QTest::mouseClick(Child<QToolButton>(dialog, "PreviewToggle"), Qt::LeftButton);
}

}  // namespace

class FragmentPreviewTest : public QObject {
  Q_OBJECT

 private slots:
  void PreviewAndCopyAreWhatOkInserts() {
    for (const Case &c : kCases) {
      DialogWorld world;
      QPointer<QDialog> dialog = c.open(world);
      QVERIFY(QTest::qWaitForWindowExposed(dialog));
      c.fill(dialog);
      const QStringList folded = ShapeOf(dialog);
      ClickToggle(dialog);
      QTRY_VERIFY2(dialog->height() > folded[0].section('x', 1).toInt(), c.name);
      QTest::mouseClick(Child<QPushButton>(dialog, "CopyHtml"), Qt::LeftButton);
      QCOMPARE(Child<QLabel>(dialog, "PreviewCopied")->text(), QString("Copied."));
      const QString source = Child<QPlainTextEdit>(dialog, "PreviewSource")->toPlainText();
      const QMimeData *copied = QApplication::clipboard()->mimeData();
      const QString html = copied->html(), text = copied->text();

      QPointer<QDialog> again = c.open(world);  // remembers the unfolded preview
      QVERIFY(QTest::qWaitForWindowExposed(again));
      QVERIFY(Child<QToolButton>(again, "PreviewToggle")->isChecked());
      delete again;
      ClickToggle(dialog);
      QCOMPARE(ShapeOf(dialog), folded);

      QVERIFY2(world.messages.events.empty(), c.name);
      QTest::mouseClick(Child<QPushButton>(dialog, c.ok), Qt::LeftButton);
      const QString inserted = testing::Q(world.Inserted());
      QVERIFY2(!inserted.isEmpty(), c.name);
      QCOMPARE(text, inserted);
      QCOMPARE(html, inserted);
      QCOMPARE(source, QString(inserted).replace("\r\n", "\n"));
      delete dialog;
    }
  }

  // A fragment on show gives way to the line that says why none can be built now.
  void ReasonInsteadOfAStaleFragment() {
    struct Reason {
      std::function<QDialog *(DialogWorld &)> open;
      std::function<void(QDialog *)> buildable, unbuildable;
      QString line;
    };
    const std::vector<Reason> reasons = {
        {Opened<TPelluxAdd>, [](QDialog *d) { Edit(d, "Edit1", "Mug"), Edit(d, "Edit2", "4"); },
         [](QDialog *d) { testing::Clear(Child<QLineEdit>(d, "Edit1")); },
         "Type a description and a price first."},
        {Opened<TQuickLink>, [](QDialog *d) { Edit(d, "Edit1", "Mug"), Edit(d, "Edit2", "1.2."); },
         [](QDialog *d) { Child<QCheckBox>(d, "includeInfo")->click(), Edit(d, "Edit2", "3"); },
         "Currency conversion error \"1.2.3\""},
        {OpenWizard, FillWizard,
         [](QDialog *d) { Child<QListWidget>(d, "FileListBox1")->clearSelection(); },
         "This product cannot be added because you have not selected a template."},
    };
    for (const Reason &r : reasons) {
      DialogWorld world;
      QDialog *dialog = r.open(world);
      r.buildable(dialog);
      ClickToggle(dialog);
      auto *source = Child<QPlainTextEdit>(dialog, "PreviewSource");
      QTRY_VERIFY(!source->toPlainText().isEmpty());
      r.unbuildable(dialog);
      QTRY_COMPARE(Child<QLabel>(dialog, "PreviewLine")->text(), r.line);
      QCOMPARE(source->toPlainText(), QString());
      QVERIFY(!Child<QPushButton>(dialog, "CopyHtml")->isEnabled());
      QVERIFY(world.messages.events.empty());
      delete dialog;
    }
  }
};

}  // namespace vendigo

int main(int argc, char *argv[]) {
  vendigo::PrepareWebEngine("fragment_preview_test");
  QApplication app(argc, argv);
  vendigo::FragmentPreviewTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "fragment_preview_test.moc"
