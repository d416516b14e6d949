// A fragment reopened in its dialog: filled from what a fragment was built from, the dialog's OK
// builds that very fragment again.

#include "palette/fragment_dialog.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>

#include "core/json_fields.h"
#include "fragments/fragment_commands.h"
#include "support/dialog_world.h"

using vendigo::testing::Child;
using vendigo::testing::DialogWorld;
using vendigo::testing::IsGone;
using vendigo::testing::Q;

class FragmentDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void OKBuildsWhatTheDialogWasFilledWith_data();
  void OKBuildsWhatTheDialogWasFilledWith();
  void KindsWithoutADialogAndUnusableInputsAreRefused();
};

namespace {

// The OK button of each kind's dialog.
const char *OKButtonOf(const QString &kind) {
  if (kind == "textadd") return "OKBUT";
  if (kind == "options" || kind == "addit") return "OKBut";
  return "Button1";
}

}  // namespace

void FragmentDialogTest::OKBuildsWhatTheDialogWasFilledWith_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("input");
  QTest::addColumn<int>("generation");

  QTest::newRow("hidden item, taxable") << "pelluxadd"
                                        << R"({"Description":"Mug \"Crème\" & co","Price":"4.50",
      "Weight":"1","Taxable":"1","SmartTaxCode":"T1"})"
                                        << 3;
  QTest::newRow("hidden item, not taxable")
      << "pelluxadd" << R"({"Description":"Mug","Price":"4.5","Taxable":"0"})" << 3;
  QTest::newRow("hidden item, tax not stated")
      << "pelluxadd" << R"({"Description":"Mug","Price":"4.50","Weight":"2"})" << 4;
  QTest::newRow("quick link with info and brackets")
      << "quicklink" << R"({"Description":"Tea & Cake","Price":"1234.5","Weight":"3",
      "Taxable":"1","SmartTaxCode":"","LinkCaption":"Get it!","StatusText":"Buy it's now",
      "InsertProductInfo":true,"Brackets":true})"
      << 3;
  QTest::newRow("quick link, plain")
      << "quicklink" << R"({"Description":"Tür","Price":"4.90","LinkCaption":"Order"})" << 3;
  QTest::newRow("text option")
      << "textadd" << R"({"Caption":"Engraving","Price":"2.00","Size":"30","MaxLength":"45"})"
      << 3;
  QTest::newRow("option list")
      << "options" << R"j({"Name":"Size","Rows":[["Small","0","0","Small"],
      ["Large","1.50","2","Large (+$1.50)"],[],["XL","3","","XL"]]})j"
      << 3;
  QTest::newRow("checkbox table")
      << "addit" << R"({"Mode":"checkbox","Rows":[["Mug","4.5","1"],["12\" Ruler","1000","2"]]})"
      << 3;
  QTest::newRow("radio table in a product interface")
      << "addit"
      << R"({"Mode":"radio","Rows":[["Mug","4.50","1","1","A"]],"ProductInterface":true})" << 4;
  QTest::newRow("select list")
      << "addit" << R"({"Mode":"select","Rows":[[],["Cup","2","0"]]})" << 3;
  QTest::newRow("quantity table in a product interface")
      << "addit"
      << R"({"Mode":"quantity","Rows":[["Mug","5","2","1","0"]],"ProductInterface":true})" << 4;
}

void FragmentDialogTest::OKBuildsWhatTheDialogWasFilledWith() {
  QFETCH(QString, kind);
  QFETCH(QString, input);
  QFETCH(int, generation);
  DialogWorld world;
  world.settings.PelluxGeneration = generation;
  const nlohmann::json values = nlohmann::json::parse(input.toStdString());
  world.messages.answers.push_back(values.value("ProductInterface", false));
  const std::string expected =
      vendigo::FindCommand(kind.toStdString())->build(world.settings, values);

  QPointer<QWidget> dialog = vendigo::FragmentDialog(kind.toStdString(), values, world.context);
  dialog->show();
  QTest::mouseClick(Child<QPushButton>(dialog, OKButtonOf(kind)), Qt::LeftButton);
  QCOMPARE(Q(world.Inserted()), Q(expected));
  QVERIFY(IsGone(dialog));
}

void FragmentDialogTest::KindsWithoutADialogAndUnusableInputsAreRefused() {
  DialogWorld world;
  QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                           vendigo::FragmentDialog("quantity", nlohmann::json::object(),
                                                   world.context));
  QVERIFY_THROWS_EXCEPTION(vendigo::JsonInputError,
                           vendigo::FragmentDialog("quicklink", {{"Colour", "red"}},
                                                   world.context));
  // Refused before a dialog is made: none is left behind.
  for (QWidget *window : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<QDialog *>(window));
}

QTEST_MAIN(FragmentDialogTest)
#include "fragment_dialog_test.moc"
