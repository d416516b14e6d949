#include "dialogs/addit_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <string>
#include <vector>

#include "builders/key_filters.h"
#include "builders/product_interface.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/fragment_preview.h"
#include "dialogs/string_grid.h"

namespace vendigo {

TAddBuilder::TAddBuilder(AppContext &context, QWidget *parent)
    : QDialog(parent),
      context_(context),
      ModeBox(Named(new QGroupBox(this), "ModeBox")),
      CHBUT(Named(new QRadioButton(QStringLiteral("AddIt Checkbox Table"), ModeBox), "CHBUT")),
      RABUT(Named(new QRadioButton(QStringLiteral("AddIt Radio Table"), ModeBox), "RABUT")),
      SEBUT(Named(new QRadioButton(QStringLiteral("AddIt Select List Only"), ModeBox), "SEBUT")),
      Qadd(Named(new QRadioButton(QStringLiteral("Make Quantity Add Table"), ModeBox), "Qadd")),
      RadioGrid1(Named(new StringGrid(this), "RadioGrid1")),
      OKBut(Named(new QPushButton(QStringLiteral("&OK"), this), "OKBut")),
      Button1(Named(new QPushButton(QStringLiteral("&Cancel"), this), "Button1")) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("AddIt and Quantity Add Builder"));
  SetFixedDialogWindow(this, DialogBorder::SystemMenu);

  CHBUT->setChecked(true);
  // Two rows of two, so every caption fits the fixed window width whole.
  auto *modes = new QGridLayout(ModeBox);
  modes->addWidget(CHBUT, 0, 0, Qt::AlignLeft);
  modes->addWidget(RABUT, 0, 1, Qt::AlignLeft);
  modes->addWidget(SEBUT, 1, 0, Qt::AlignLeft);
  modes->addWidget(Qadd, 1, 1, Qt::AlignLeft);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(ModeBox);
  layout->addWidget(RadioGrid1, 1);
  auto *buttons = ButtonRow({OKBut, Button1});
  OKBut->setDefault(true);
  layout->addLayout(buttons);
  new FragmentPreview(this, buttons, [this] { return Preview(); });

  connect(RadioGrid1, &StringGrid::KeyPress, this, &TAddBuilder::RadioGrid1KeyPress);
  connect(RadioGrid1, &StringGrid::SetEditText, this, &TAddBuilder::RadioGrid1SetEditText);
  connect(OKBut, &QPushButton::clicked, this, &TAddBuilder::OKButClick);
  connect(Button1, &QPushButton::clicked, this, &TAddBuilder::Button1Click);

  MyPriceKit.PriceRequired = true;
  MyPriceKit.SetCustomizedStrings(ProductInterfaceTemplate());

  FormCreate();

  setFixedSize(563, 335);
}

void TAddBuilder::FormCreate() {
  if (context_.settings.PelluxGeneration == 4) {
    RadioGrid1->Shape(
        {QStringLiteral("Description"), QStringLiteral("Price"), QStringLiteral("Weight"),
         QStringLiteral("Taxable"), QStringLiteral("Smart Tax")},
        {282, 61, 64, 55, 61}, kDataRows);
    Qadd->setEnabled(true);
  } else {
    RadioGrid1->Shape(
        {QStringLiteral("Description"), QStringLiteral("Price"), QStringLiteral("Weight")},
        {282, 61, 64}, kDataRows);
    Qadd->setEnabled(false);
  }
  RadioGrid1->SetPriceAndWeightColumns(kAddItPrice, kAddItWeight);
  RadioGrid1->SetColumnKeyFilter(kAddItTaxable, TaxableKeyAllowed);
}

void TAddBuilder::RadioGrid1KeyPress(QChar &Key) {
  if (AddItGridKeyAllowed(Key.unicode())) return;
  context_.messages.ShowError(kKeyNotAllowedMessage);
  Key = QChar();
}

void TAddBuilder::RadioGrid1SetEditText(int ACol, int ARow, const QString &) {
  AddItRow row = RowAt(ARow);
  ApplyAddItCellRules(row, ACol);
  StoreRow(ARow, row);
}

void TAddBuilder::Fill(AddItMode mode, const std::vector<AddItRow> &rows) {
  switch (mode) {
    case AddItMode::CheckboxTable:
      CHBUT->setChecked(true);
      break;
    case AddItMode::RadioTable:
      RABUT->setChecked(true);
      break;
    case AddItMode::SelectList:
      SEBUT->setChecked(true);
      break;
    case AddItMode::QuantityTable:
      Qadd->setChecked(true);
      break;
  }
  for (int row = 1; row <= kDataRows; ++row) {
    const std::size_t index = static_cast<std::size_t>(row - 1);
    StoreRow(row, index < rows.size() ? rows[index] : AddItRow{});
  }
}

std::string TAddBuilder::FragmentHtml(bool wholeInterface) const {
  std::vector<AddItRow> rows;
  for (int row = 1; row <= kDataRows; ++row) rows.push_back(RowAt(row));
  return BuildAddItFragment(Mode(), rows, context_.settings, wholeInterface,
                            MyPriceKit.CustomizedStrings());
}

// OK asks whether a table goes into a whole product interface; the preview cannot ask, so it
// shows the table alone and says so.
PreviewContent TAddBuilder::Preview() const {
  const bool asks = IsAddItTable(Mode());
  return {FragmentHtml(false),
          asks ? "OK asks whether to wrap the table in a whole product interface." : ""};
}

void TAddBuilder::OKButClick() {
  const bool wholeInterface =
      IsAddItTable(Mode()) && context_.messages.AskYesNo(kProductInterfaceQuestion);
  const std::string html = FragmentHtml(wholeInterface);
  if (context_.editor.InsertFragment(html, FailurePolicy::EndProgram) == InsertOutcome::Inserted) {
    accept();
  }
}

void TAddBuilder::Button1Click() {
  reject();
}

AddItMode TAddBuilder::Mode() const {
  if (RABUT->isChecked()) return AddItMode::RadioTable;
  if (SEBUT->isChecked()) return AddItMode::SelectList;
  if (Qadd->isChecked()) return AddItMode::QuantityTable;
  return AddItMode::CheckboxTable;
}

// A grid of three columns has no tax cells: they read as empty.
AddItRow TAddBuilder::RowAt(int row) const {
  return {RadioGrid1->Cell(kAddItDescription, row).toStdString(),
          RadioGrid1->Cell(kAddItPrice, row).toStdString(),
          RadioGrid1->Cell(kAddItWeight, row).toStdString(),
          RadioGrid1->Cell(kAddItTaxable, row).toStdString(),
          RadioGrid1->Cell(kAddItSmartTax, row).toStdString()};
}

void TAddBuilder::StoreRow(int row, const AddItRow &values) {
  RadioGrid1->SetCell(kAddItDescription, row, QString::fromStdString(values.Description));
  RadioGrid1->SetCell(kAddItPrice, row, QString::fromStdString(values.Price));
  RadioGrid1->SetCell(kAddItWeight, row, QString::fromStdString(values.Weight));
  RadioGrid1->SetCell(kAddItTaxable, row, QString::fromStdString(values.Taxable));
  RadioGrid1->SetCell(kAddItSmartTax, row, QString::fromStdString(values.SmartTax));
}

}  // namespace vendigo
