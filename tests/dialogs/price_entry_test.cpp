// Prices typed with a decimal comma, in every price edit and price cell of the dialogs.

#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>

#include <functional>
#include <vector>

#include "dialogs/addit_dialog.h"
#include "dialogs/extended_option_dialog.h"
#include "dialogs/hidden_item_dialog.h"
#include "dialogs/quick_link_dialog.h"
#include "dialogs/string_grid.h"
#include "dialogs/text_option_dialog.h"
#include "dialogs/wizard_dialog.h"
#include "support/dialog_world.h"

namespace vendigo {
namespace {

using testing::Child;
using testing::DialogWorld;

// Opens a dialog in world and gives the price input to type into.
using PriceInput = std::function<QLineEdit *(DialogWorld &world)>;

template <typename Dialog>
PriceInput Edit(const char *name) {
  return [name](DialogWorld &world) { return Child<QLineEdit>(world.Open<Dialog>(), name); };
}

// The Price cell of the wizard's related products grid, on its page.
QLineEdit *WizardPriceCell(DialogWorld &world) {
  auto *wizard = world.Open<T_PelluxFP>();
  Child<QStackedWidget>(wizard, "Notebook1")->setCurrentIndex(5);
  auto *grid = Child<StringGrid>(wizard, "AddIt");
  grid->setCurrentCell(0, 1);
  return grid->CellEditor();
}

template <typename Dialog>  // the Price cell of row 1 of a builder's grid
QLineEdit *GridPrice(DialogWorld &world) {
  auto *grid = Child<StringGrid>(world.Open<Dialog>(), "RadioGrid1");
  grid->setCurrentCell(0, 1);
  return grid->CellEditor();
}

}  // namespace

class PriceEntryTest : public QObject {
  Q_OBJECT

 private slots:
  void ACommaIsTheDecimalPointUntilThereIsOne();
};

void PriceEntryTest::ACommaIsTheDecimalPointUntilThereIsOne() {
  struct Typing {
    QString before;  // selected before typing, so the keys replace it
    QString keys;
    QString shown;
  };
  const std::vector<Typing> typings = {
      {"", "24,90", "24.90"}, {"", "1.5,0", "1.50"}, {"", "2,,5", "2.5"},
      {"", ",5", ".5"},       {"7.5", ",25", ".25"}, {"", "4a,-5,6789012", "4.56789012"},
  };
  const std::vector<std::pair<const char *, PriceInput>> inputs = {
      {"hidden item", Edit<TPelluxAdd>("Edit2")}, {"quick link", Edit<TQuickLink>("Edit2")},
      {"text option", Edit<TTextAdd>("Edit4")},   {"wizard", Edit<T_PelluxFP>("Price")},
      {"wizard grid", WizardPriceCell},           {"option grid", GridPrice<TPelluxOptionsBuilder>},
      {"addit grid", GridPrice<TAddBuilder>},
  };
  for (const auto &[name, open] : inputs) {
    DialogWorld world;
    QLineEdit *price = open(world);
    QVERIFY2(price, name);
    for (const Typing &typing : typings) {
      price->setText(typing.before);
      price->selectAll();
      QTest::keyClicks(price, typing.keys);
      QVERIFY2(price->text() == typing.shown, qPrintable(name + (": " + typing.keys)));
      // A grid's price column is as wide as its cells need.
      if (auto *grid = qobject_cast<QAbstractItemView *>(price->parentWidget()->parentWidget()))
        QVERIFY(grid->sizeHintForColumn(1) <= static_cast<QTableView *>(grid)->columnWidth(1));
    }
  }
}

}  // namespace vendigo

QTEST_MAIN(vendigo::PriceEntryTest)
#include "price_entry_test.moc"
