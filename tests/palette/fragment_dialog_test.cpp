// A fragment reopened in its dialog: filled from what a fragment was built from, the dialog's OK
// builds that very fragment again.

#include "palette/fragment_dialog.h"

#include <QPushButton>
#include <QTest>

#include <nlohmann/json.hpp>

#include <string>

#include "fragments/fragment_commands.h"
#include "support/dialog_world.h"

using vendigo::testing::DialogWorld;
using vendigo::testing::IsGone;
using vendigo::testing::Q;

class FragmentDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void OKBuildsWhatTheDialogWasFilledWith_data();
  void OKBuildsWhatTheDialogWasFilledWith();
};

void FragmentDialogTest::OKBuildsWhatTheDialogWasFilledWith_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<int>("generation");
  QTest::addColumn<QString>("input");
  const auto row = [](const char *name, const char *kind, int generation, const char *input) {
    QTest::newRow(name) << kind << generation << input;
  };
  row("hidden item, taxable", "pelluxadd", 3,
      R"({"Description":"Mug \"Crème\" & co","Price":"4.50","Weight":"1","Taxable":"1",
      "SmartTaxCode":"T1"})");
  row("hidden item, not taxable", "pelluxadd", 3, R"({"Description":"Mug","Price":"4.5",
      "Taxable":"0"})");
  row("hidden item, tax not stated", "pelluxadd", 4, R"({"Description":"Mug","Price":"4.50"})");
  row("quick link with info and brackets", "quicklink", 3,
      R"({"Description":"Tea & Cake","Price":"1234.5","Weight":"3","Taxable":"1",
      "LinkCaption":"Get it!","StatusText":"Buy it's now","InsertProductInfo":true,
      "Brackets":true})");
  row("quick link, plain", "quicklink", 3, R"({"Description":"Tür","Price":"4.90",
      "LinkCaption":"Order"})");
  row("text option", "textadd", 3, R"({"Caption":"Engraving","Price":"2.00","Size":"30",
      "MaxLength":"45"})");
  row("option list", "options", 3, R"j({"Name":"Size","Rows":[["Small","0","0","Small"],
      ["Large","1.50","2","Large (+$1.50)"],[],["XL","3","","XL"]]})j");
  row("checkbox table", "addit", 3,
      R"({"Mode":"checkbox","Rows":[["Mug","4.5","1"],["12\" Ruler","1000","2"]]})");
  row("radio table in a product interface", "addit", 4,
      R"({"Mode":"radio","Rows":[["Mug","4.50","1","1","A"]],"ProductInterface":true})");
  row("select list", "addit", 3, R"({"Mode":"select","Rows":[[],["Cup","2","0"]]})");
  row("quantity table in a product interface", "addit", 4,
      R"({"Mode":"quantity","Rows":[["Mug","5","2","1","0"]],"ProductInterface":true})");
}

void FragmentDialogTest::OKBuildsWhatTheDialogWasFilledWith() {
  QFETCH(QString, kind);
  QFETCH(int, generation);
  QFETCH(QString, input);
  DialogWorld world;
  world.settings.PelluxGeneration = generation;
  const nlohmann::json values = nlohmann::json::parse(input.toStdString());
  world.messages.answers.push_back(values.value("ProductInterface", false));
  const std::string expected =
      vendigo::FindCommand(kind.toStdString())->build(world.settings, values);

  QPointer<QWidget> dialog = vendigo::FragmentDialog(kind.toStdString(), values, world.context);
  dialog->show();
  // Each dialog's OK is its default button.
  for (auto *button : dialog->findChildren<QPushButton *>()) {
    if (button->isDefault()) QTest::mouseClick(button, Qt::LeftButton);
  }
  QCOMPARE(Q(world.Inserted()), Q(expected));
  QVERIFY(IsGone(dialog));
}

QTEST_MAIN(FragmentDialogTest)
#include "fragment_dialog_test.moc"
