#include "dialogs/dialog_parts.h"

#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace vendigo {

namespace {

// Centres the window on its screen when it is shown.
class CentreOnShow : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Show) {
      auto *window = static_cast<QWidget *>(watched);
      if (const QScreen *screen = window->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void SetFixedDialogWindow(QDialog *dialog, DialogBorder border, DialogLayer layer) {
  Qt::WindowFlags flags =
      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
  if (layer == DialogLayer::AlwaysOnTop) flags |= Qt::WindowStaysOnTopHint;
  if (border == DialogBorder::Fixed) flags |= Qt::MSWindowsFixedSizeDialogHint;
  dialog->setWindowFlags(flags);
  dialog->setSizeGripEnabled(false);
  dialog->installEventFilter(new CentreOnShow(dialog));
}

QLabel *LabelFor(const QString &caption, QWidget *field) {
  auto *label = new QLabel(caption, field->parentWidget());
  label->setBuddy(field);
  return label;
}

void MakeBold(QWidget *widget) {
  QFont bold = widget->font();
  bold.setBold(true);
  widget->setFont(bold);
}

QHBoxLayout *ButtonRow(std::initializer_list<QPushButton *> buttons) {
  auto *row = new QHBoxLayout;
  row->addStretch(1);
  for (QPushButton *button : buttons) row->addWidget(button);
  return row;
}

void MakeTaxCheckBox(QCheckBox *box) {
  box->setTristate(true);
  box->setCheckState(Qt::PartiallyChecked);
}

void SetTaxableText(QCheckBox *box, const std::string &taxable) {
  if (taxable == TaxableText(TaxState::Checked)) {
    box->setCheckState(Qt::Checked);
  } else if (taxable == TaxableText(TaxState::Unchecked)) {
    box->setCheckState(Qt::Unchecked);
  } else {
    box->setCheckState(Qt::PartiallyChecked);
  }
}

TaxState TaxStateOf(const QCheckBox *box) {
  switch (box->checkState()) {
    case Qt::Checked:
      return TaxState::Checked;
    case Qt::Unchecked:
      return TaxState::Unchecked;
    case Qt::PartiallyChecked:
      break;
  }
  return TaxState::Grayed;
}

QLineEdit *PathRow(QFormLayout *form, const QString &label, const char *name,
                   std::function<QString(QWidget *, const QString &)> choose) {
  auto *edit = new QLineEdit;
  edit->setObjectName(name);
  auto *browse = new QPushButton(QStringLiteral("Browse..."));
  browse->setObjectName(QString::fromLatin1(name).replace("Edit", "Browse"));
  QObject::connect(browse, &QPushButton::clicked, edit, [edit, choose] {
    const QString chosen = choose(edit->window(), edit->text());
    if (!chosen.isEmpty()) edit->setText(chosen);
  });
  auto *row = new QHBoxLayout;
  row->addWidget(edit);
  row->addWidget(browse);
  form->addRow(label, row);
  return edit;
}

}  // namespace vendigo
