#include "dialogs/hidden_item_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "builders/hidden_item.h"
#include "builders/key_filters.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/fragment_preview.h"
#include "dialogs/typed_key_filter.h"

namespace vendigo {

TPelluxAdd::TPelluxAdd(AppContext &context, QWidget *parent)
    : QDialog(parent),
      context_(context),
      Edit1(Named(new QLineEdit(this), "Edit1")),
      Edit2(Named(new QLineEdit(this), "Edit2")),
      Edit3(Named(new QLineEdit(this), "Edit3")),
      Label5(Named(new QLabel(QStringLiteral(" Applies To 4.0 Generation Pellux Only"), this),
                   "Label5")),
      CheckBox1(Named(new QCheckBox(QStringLiteral("Item is Taxable"), this), "CheckBox1")),
      SmartTaxCode(Named(new QLineEdit(this), "SmartTaxCode")),
      Button1(Named(new QPushButton(QStringLiteral("&OK"), this), "Button1")),
      Button2(Named(new QPushButton(QStringLiteral("&Cancel"), this), "Button2")) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("pelluxadd (Hidden)"));
  SetFixedDialogWindow(this, DialogBorder::Fixed);

  MakeBold(Label5);

  auto *fields = new QGridLayout;
  const auto addRow = [&](int row, const char *caption, QLineEdit *edit) {
    fields->addWidget(LabelFor(QString::fromLatin1(caption), edit), row, 0);
    fields->addWidget(edit, row, 1);
  };
  addRow(0, "Description:", Edit1);
  addRow(1, "Price:", Edit2);
  addRow(2, "Weight:", Edit3);

  auto *tax = new QGridLayout;
  tax->addWidget(Label5, 0, 0, 1, 2);
  tax->addWidget(CheckBox1, 1, 0, 1, 2);
  tax->addWidget(LabelFor(QStringLiteral("Smart Tax Code:"), SmartTaxCode), 2, 0);
  tax->addWidget(SmartTaxCode, 2, 1);

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(tax);
  auto *buttons = ButtonRow({Button1, Button2});
  Button1->setDefault(true);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  new FragmentPreview(this, buttons, [this] { return Preview(); });

  setTabOrder(Edit1, Edit2);
  setTabOrder(Edit2, Edit3);
  setTabOrder(Edit3, CheckBox1);
  setTabOrder(CheckBox1, SmartTaxCode);
  setTabOrder(SmartTaxCode, Button1);
  setTabOrder(Button1, Button2);

  TypedKeyFilter::InstallPrice(Edit2);
  TypedKeyFilter::Install(Edit3, WeightKeyAllowed);

  connect(Edit1, &QLineEdit::textChanged, this, &TPelluxAdd::Edit1Change);
  connect(Edit2, &QLineEdit::textChanged, this, &TPelluxAdd::Edit2Change);
  connect(Button1, &QPushButton::clicked, this, &TPelluxAdd::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TPelluxAdd::Button2Click);

  FormCreate();
}

void TPelluxAdd::FormCreate() {
  MakeTaxCheckBox(CheckBox1);
  UpdateOK();
}

void TPelluxAdd::Edit1Change() {
  UpdateOK();
}

void TPelluxAdd::Edit2Change() {
  UpdateOK();
}

void TPelluxAdd::UpdateOK() {
  Button1->setEnabled(!Edit1->text().isEmpty() && !Edit2->text().isEmpty());
}

void TPelluxAdd::Fill(const OrderItem &item) {
  Edit1->setText(QString::fromStdString(item.Description));
  Edit2->setText(QString::fromStdString(item.Price));
  Edit3->setText(QString::fromStdString(item.Weight));
  SetTaxableText(CheckBox1, item.Taxable);
  SmartTaxCode->setText(QString::fromStdString(item.SmartTaxCode));
}

OrderItem TPelluxAdd::Item() const {
  return {Edit1->text().toStdString(), Edit2->text().toStdString(), Edit3->text().toStdString(),
          TaxableText(TaxStateOf(CheckBox1)), SmartTaxCode->text().toStdString()};
}

PreviewContent TPelluxAdd::Preview() const {
  if (!Button1->isEnabled()) return {std::nullopt, "Type a description and a price first."};
  return {HiddenItemHtml(Item()), "A hidden field: the page shows nothing of it."};
}

void TPelluxAdd::Button1Click() {
  const OrderItem item = Item();
  const InsertOutcome outcome = context_.editor.InsertFragment(
      [&item]() -> std::optional<std::string> { return HiddenItemHtml(item); },
      FailurePolicy::EndProgram);
  if (outcome != InsertOutcome::Inserted) return;
  context_.messages.ShowMessage(kHiddenItemExplanation);
  close();
}

void TPelluxAdd::Button2Click() {
  close();
}

}  // namespace vendigo
