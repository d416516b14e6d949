#include "dialogs/quick_link_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>
#include <vector>

#include "builders/key_filters.h"
#include "builders/quick_link.h"
#include "core/file_error.h"
#include "core/settings.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/fragment_preview.h"
#include "dialogs/typed_key_filter.h"

namespace vendigo {

namespace {

QComboBox *EditableCombo(QWidget *parent, const char *name) {
  auto *combo = Named(new QComboBox(parent), name);
  combo->setEditable(true);
  // Typed texts stay texts; Enter does not add them to the list.
  combo->setInsertPolicy(QComboBox::NoInsert);
  return combo;
}

void FillList(QComboBox *combo, const std::vector<std::string> &lines) {
  for (const std::string &line : lines) combo->addItem(QString::fromStdString(line));
}

}  // namespace

TQuickLink::TQuickLink(AppContext &context, QWidget *parent)
    : QDialog(parent),
      context_(context),
      Edit1(Named(new QLineEdit(this), "Edit1")),
      Edit2(Named(new QLineEdit(this), "Edit2")),
      Edit3(Named(new QLineEdit(this), "Edit3")),
      Label7(Named(new QLabel(QStringLiteral(" Applies to 4.0 Generation Pellux Only "), this),
                   "Label7")),
      CheckBox1(Named(new QCheckBox(QStringLiteral("Item is Taxable"), this), "CheckBox1")),
      SmartTaxCode(Named(new QLineEdit(this), "SmartTaxCode")),
      orderbuttonText(EditableCombo(this, "orderbuttonText")),
      ComboBox1(EditableCombo(this, "ComboBox1")),
      includeInfo(Named(new QCheckBox(QStringLiteral("Insert Product Info"), this), "includeInfo")),
      Brackets(Named(new QCheckBox(QStringLiteral("Use [Brackets]"), this), "Brackets")),
      Button1(Named(new QPushButton(QStringLiteral("&OK"), this), "Button1")),
      Button2(Named(new QPushButton(QStringLiteral("&Cancel"), this), "Button2")) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Quick Link!"));
  SetFixedDialogWindow(this, DialogBorder::Fixed);

  MakeBold(Label7);

  auto *grid = new QGridLayout;
  int row = 0;
  const auto addRow = [&](const char *caption, QWidget *field) {
    grid->addWidget(LabelFor(QString::fromLatin1(caption), field), row, 0);
    grid->addWidget(field, row, 1);
    ++row;
  };
  addRow("Description:", Edit1);
  addRow("Price:", Edit2);
  addRow("Weight:", Edit3);
  grid->addWidget(Label7, row++, 0, 1, 2);
  grid->addWidget(CheckBox1, row++, 0, 1, 2);
  addRow("Smart Tax Code:", SmartTaxCode);
  addRow("Link Caption:", orderbuttonText);
  addRow("Web Browser Status Bar Text:", ComboBox1);

  auto *options = new QHBoxLayout;
  options->addWidget(includeInfo);
  options->addWidget(Brackets);
  options->addStretch();

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(options);
  auto *buttons = ButtonRow({Button1, Button2});
  Button1->setDefault(true);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  new FragmentPreview(this, buttons, [this] { return Preview(); });

  setTabOrder(Edit1, Edit2);
  setTabOrder(Edit2, Edit3);
  setTabOrder(Edit3, CheckBox1);
  setTabOrder(CheckBox1, SmartTaxCode);
  setTabOrder(SmartTaxCode, orderbuttonText);
  setTabOrder(orderbuttonText, ComboBox1);
  setTabOrder(ComboBox1, Button1);
  setTabOrder(Button1, Button2);
  setTabOrder(Button2, includeInfo);
  setTabOrder(includeInfo, Brackets);

  TypedKeyFilter::InstallPrice(Edit2);
  TypedKeyFilter::Install(Edit3, WeightKeyAllowed);

  FormCreate();

  connect(Edit1, &QLineEdit::textChanged, this, &TQuickLink::Edit1Change);
  connect(Edit2, &QLineEdit::textChanged, this, &TQuickLink::Edit2Change);
  connect(orderbuttonText, &QComboBox::editTextChanged, this, &TQuickLink::orderbuttonTextChange);
  connect(Button1, &QPushButton::clicked, this, &TQuickLink::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TQuickLink::Button2Click);
}

void TQuickLink::FormCreate() {
  MakeTaxCheckBox(CheckBox1);

  std::vector<std::string> captions;
  try {
    LoadButtonTexts(context_.SettingsFolder(), captions);
  } catch (const FileError &error) {
    // The caption list stays empty; the user types the caption.
    context_.messages.ShowError(error.what());
  }
  FillList(orderbuttonText, captions);
  orderbuttonText->setEditText(QString::fromLatin1(kDefaultLinkCaption));

  FillList(ComboBox1, StatusTextChoices());
  ComboBox1->setEditText(QString::fromLatin1(kDefaultStatusText));
  UpdateOK();
}

void TQuickLink::Edit1Change() {
  UpdateOK();
}

void TQuickLink::Edit2Change() {
  UpdateOK();
}

void TQuickLink::orderbuttonTextChange() {
  UpdateOK();
}

void TQuickLink::UpdateOK() {
  Button1->setEnabled(!Edit1->text().isEmpty() && !Edit2->text().isEmpty() &&
                      !orderbuttonText->currentText().isEmpty());
}

void TQuickLink::Fill(const QuickLink &link) {
  Edit1->setText(QString::fromStdString(link.item.Description));
  Edit2->setText(QString::fromStdString(link.item.Price));
  Edit3->setText(QString::fromStdString(link.item.Weight));
  SetTaxableText(CheckBox1, link.item.Taxable);
  SmartTaxCode->setText(QString::fromStdString(link.item.SmartTaxCode));
  orderbuttonText->setEditText(QString::fromStdString(link.linkCaption));
  ComboBox1->setEditText(QString::fromStdString(link.statusText));
  includeInfo->setChecked(link.insertProductInfo);
  Brackets->setChecked(link.brackets);
}

std::string TQuickLink::LinkHtml() const {
  QuickLink link;
  link.item = {Edit1->text().toStdString(), Edit2->text().toStdString(),
               Edit3->text().toStdString(), TaxableText(TaxStateOf(CheckBox1)),
               SmartTaxCode->text().toStdString()};
  link.linkCaption = orderbuttonText->currentText().toStdString();
  link.statusText = ComboBox1->currentText().toStdString();
  link.insertProductInfo = includeInfo->isChecked();
  link.brackets = Brackets->isChecked();
  return QuickLinkHtml(context_.settings, link);
}

PreviewContent TQuickLink::Preview() const {
  if (!Button1->isEnabled()) {
    return {std::nullopt, "Type a description, a price and a link caption first."};
  }
  try {
    return {LinkHtml(), {}};
  } catch (const CurrencyConversionError &error) {
    return {std::nullopt, error.what()};
  }
}

void TQuickLink::Button1Click() {
  MessageInterface &messages = context_.messages;
  const InsertOutcome outcome = context_.editor.InsertFragment(
      [&]() -> std::optional<std::string> {
        try {
          return LinkHtml();
        } catch (const CurrencyConversionError &error) {
          // Nothing is inserted; the dialog stays open so the price can be corrected.
          messages.ShowError(error.what());
          return std::nullopt;
        }
      },
      FailurePolicy::EndProgram);
  if (outcome == InsertOutcome::Inserted) close();
}

void TQuickLink::Button2Click() {
  close();
}

}  // namespace vendigo
