#include "dialogs/extended_option_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "builders/key_filters.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/fragment_preview.h"
#include "dialogs/string_grid.h"

namespace vendigo {

TPelluxOptionsBuilder::TPelluxOptionsBuilder(AppContext &context, QWidget *parent)
    : QDialog(parent),
      context_(context),
      Eopfor(Named(new QLineEdit(this), "Eopfor")),
      eoplabel(Named(LabelFor(QStringLiteral("Extended Option is for:"), Eopfor), "eoplabel")),
      RadioGrid1(Named(new StringGrid(this), "RadioGrid1")),
      OKBut(Named(new QPushButton(QStringLiteral("&OK"), this), "OKBut")),
      Button1(Named(new QPushButton(QStringLiteral("&Cancel"), this), "Button1")) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Extended Option"));
  SetFixedDialogWindow(this, DialogBorder::SystemMenu);

  auto *nameRow = new QHBoxLayout;
  nameRow->addWidget(eoplabel);
  nameRow->addWidget(Eopfor, 1);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(nameRow);
  layout->addWidget(RadioGrid1, 1);
  // Enter presses OK; Escape cancels (QDialog).
  auto *buttons = ButtonRow({OKBut, Button1});
  OKBut->setDefault(true);
  layout->addLayout(buttons);
  new FragmentPreview(this, buttons, [this] { return PreviewContent{OptionHtml(), {}}; });

  connect(RadioGrid1, &StringGrid::KeyPress, this, &TPelluxOptionsBuilder::RadioGrid1KeyPress);
  connect(RadioGrid1, &StringGrid::SetEditText, this,
          &TPelluxOptionsBuilder::RadioGrid1SetEditText);
  connect(RadioGrid1, &StringGrid::SelectCell, this, &TPelluxOptionsBuilder::RadioGrid1SelectCell);
  connect(RadioGrid1, &StringGrid::GetEditText, this,
          &TPelluxOptionsBuilder::RadioGrid1GetEditText);
  connect(OKBut, &QPushButton::clicked, this, &TPelluxOptionsBuilder::OKButClick);
  connect(Button1, &QPushButton::clicked, this, &TPelluxOptionsBuilder::Button1Click);

  FormCreate();

  // The option name has no length limit (a line edit stops at 32767 characters by default).
  Eopfor->setMaxLength(std::numeric_limits<int>::max());

  setFixedSize(527, 237);
  Eopfor->setFocus();
}

void TPelluxOptionsBuilder::FormCreate() {
  RadioGrid1->Shape({QStringLiteral("Description"), QStringLiteral("Price"),
                     QStringLiteral("Weight"), QStringLiteral("Readable Text")},
                    {206, 50, 49, 196}, kDataRows);
  RadioGrid1->SetPriceAndWeightColumns(kOptionPrice, kOptionWeight);
}

void TPelluxOptionsBuilder::RadioGrid1KeyPress(QChar &Key) {
  if (ExtendedOptionGridKeyAllowed(Key.unicode())) return;
  context_.messages.ShowError(kKeyNotAllowedMessage);
  Key = QChar();
}

void TPelluxOptionsBuilder::RadioGrid1SetEditText(int ACol, int ARow, const QString &) {
  OptionRow row = RowAt(ARow);
  ApplyOptionCellRules(row, ACol);
  StoreRow(ARow, row);
}

void TPelluxOptionsBuilder::RadioGrid1SelectCell(int ACol, int ARow, bool &CanSelect) {
  if (ACol != kOptionReadableText) return;
  OptionRow row = RowAt(ARow);
  const std::optional<std::string> error = SelectReadableTextCell(row, context_.settings.Currency);
  StoreRow(ARow, row);
  if (error) {
    CanSelect = false;
    context_.messages.ShowError(*error);
  }
}

void TPelluxOptionsBuilder::RadioGrid1GetEditText(int ACol, int ARow, QString &Value) {
  if (ACol != kOptionReadableText) return;
  if (const std::optional<std::string> start = ReadableTextEditorStart(RowAt(ARow))) {
    Value = QString::fromStdString(*start);
  }
}

void TPelluxOptionsBuilder::Fill(const std::string &name, const std::vector<OptionRow> &rows) {
  Eopfor->setText(QString::fromStdString(name));
  for (int row = 1; row <= kDataRows; ++row) {
    const std::size_t index = static_cast<std::size_t>(row - 1);
    StoreRow(row, index < rows.size() ? rows[index] : OptionRow{});
  }
}

std::string TPelluxOptionsBuilder::OptionHtml() const {
  std::vector<OptionRow> rows;
  for (int row = 1; row <= kDataRows; ++row) rows.push_back(RowAt(row));
  return BuildExtendedOptionHtml(Eopfor->text().toStdString(), rows);
}

void TPelluxOptionsBuilder::OKButClick() {
  const std::string html = OptionHtml();
  if (context_.editor.InsertFragment(html, FailurePolicy::EndProgram) == InsertOutcome::Inserted) {
    accept();
  }
}

void TPelluxOptionsBuilder::Button1Click() {
  reject();
}

OptionRow TPelluxOptionsBuilder::RowAt(int row) const {
  return {RadioGrid1->Cell(kOptionDescription, row).toStdString(),
          RadioGrid1->Cell(kOptionPrice, row).toStdString(),
          RadioGrid1->Cell(kOptionWeight, row).toStdString(),
          RadioGrid1->Cell(kOptionReadableText, row).toStdString()};
}

void TPelluxOptionsBuilder::StoreRow(int row, const OptionRow &values) {
  RadioGrid1->SetCell(kOptionDescription, row, QString::fromStdString(values.Description));
  RadioGrid1->SetCell(kOptionPrice, row, QString::fromStdString(values.Price));
  RadioGrid1->SetCell(kOptionWeight, row, QString::fromStdString(values.Weight));
  RadioGrid1->SetCell(kOptionReadableText, row, QString::fromStdString(values.ReadableText));
}

}  // namespace vendigo
