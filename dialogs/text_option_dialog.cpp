#include "dialogs/text_option_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>
#include <string>

#include "builders/key_filters.h"
#include "builders/text_option.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/fragment_preview.h"
#include "dialogs/typed_key_filter.h"
#include "dialogs/up_down_arrows.h"

namespace vendigo {

namespace {

constexpr int kArrowsMinimum = 0;
constexpr int kArrowsMaximum = 60;
constexpr int kArrowsStart = 20;

UpDownArrows *ArrowsFor(QLineEdit *edit, const char *name, QWidget *parent) {
  auto *arrows = Named(new UpDownArrows(parent), name);
  arrows->SetRange(kArrowsMinimum, kArrowsMaximum);
  arrows->SetWrap(false);
  arrows->Associate(edit);
  arrows->SetPosition(kArrowsStart);
  return arrows;
}

}  // namespace

TTextAdd::TTextAdd(AppContext &context, QWidget *parent)
    : QDialog(parent),
      context_(context),
      Edit3(Named(new QLineEdit(this), "Edit3")),
      Edit4(Named(new QLineEdit(this), "Edit4")),
      Edit1(Named(new QLineEdit(this), "Edit1")),
      UpDown1(ArrowsFor(Edit1, "UpDown1", this)),
      Edit2(Named(new QLineEdit(this), "Edit2")),
      UpDown2(ArrowsFor(Edit2, "UpDown2", this)),
      OKBUT(Named(new QPushButton(QStringLiteral("&OK"), this), "OKBUT")),
      Button1(Named(new QPushButton(QStringLiteral("&Cancel"), this), "Button1")) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Text Option"));
  SetFixedDialogWindow(this, DialogBorder::SystemMenu);

  auto *grid = new QGridLayout;
  int row = 0;
  const auto addRow = [&](const char *caption, QLineEdit *edit, UpDownArrows *arrows) {
    grid->addWidget(LabelFor(QString::fromLatin1(caption), edit), row, 0);
    if (arrows) {
      auto *pair = new QHBoxLayout;
      pair->setSpacing(0);
      pair->addWidget(edit);
      pair->addWidget(arrows);
      grid->addLayout(pair, row, 1);
    } else {
      grid->addWidget(edit, row, 1);
    }
    ++row;
  };
  addRow("Text is for:", Edit3, nullptr);
  addRow("Price:", Edit4, nullptr);
  addRow("SIZE:", Edit1, UpDown1);
  addRow("MAXLENGTH:", Edit2, UpDown2);

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  auto *buttons = ButtonRow({OKBUT, Button1});
  OKBUT->setDefault(true);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  new FragmentPreview(this, buttons, [this] { return Preview(); });

  setTabOrder(Edit3, Edit4);
  setTabOrder(Edit4, Edit1);
  setTabOrder(Edit1, UpDown1);
  setTabOrder(UpDown1, Edit2);
  setTabOrder(Edit2, UpDown2);
  setTabOrder(UpDown2, OKBUT);
  setTabOrder(OKBUT, Button1);

  TypedKeyFilter::InstallPrice(Edit4);

  connect(Edit3, &QLineEdit::textChanged, this, &TTextAdd::Edit3Change);
  connect(Edit4, &QLineEdit::textChanged, this, &TTextAdd::Edit4Change);
  connect(OKBUT, &QPushButton::clicked, this, &TTextAdd::OKBUTClick);
  connect(Button1, &QPushButton::clicked, this, &TTextAdd::Button1Click);
  UpdateOK();
}

void TTextAdd::Edit3Change() {
  UpdateOK();
}

void TTextAdd::Edit4Change() {
  UpdateOK();
}

void TTextAdd::UpdateOK() {
  OKBUT->setEnabled(!Edit3->text().isEmpty() && !Edit4->text().isEmpty());
}

void TTextAdd::Fill(const TextOption &option) {
  Edit3->setText(QString::fromStdString(option.caption));
  Edit4->setText(QString::fromStdString(option.price));
  Edit1->setText(QString::fromStdString(option.size));
  Edit2->setText(QString::fromStdString(option.maxLength));
}

std::string TTextAdd::OptionHtml() const {
  const TextOption option{Edit3->text().toStdString(), Edit4->text().toStdString(),
                          Edit1->text().toStdString(), Edit2->text().toStdString()};
  return TextOptionHtml(context_.settings, option);
}

PreviewContent TTextAdd::Preview() const {
  if (!OKBUT->isEnabled()) return {std::nullopt, "Type what the text is for and a price first."};
  return {OptionHtml(), {}};
}

void TTextAdd::OKBUTClick() {
  const InsertOutcome outcome = context_.editor.InsertFragment(
      [this]() -> std::optional<std::string> { return OptionHtml(); }, FailurePolicy::EndProgram);
  if (outcome == InsertOutcome::Inserted) close();
}

void TTextAdd::Button1Click() {
  close();
}

}  // namespace vendigo
