#include "dialogs/options_dialog.h"

#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <limits>
#include <string>
#include <vector>

#include "core/file_error.h"
#include "core/options_settings.h"
#include "core/settings.h"
#include "dialogs/dialog_parts.h"

namespace vendigo {

namespace {

// Heights the positions below are laid out for: edits and the combo box, radio buttons, buttons.
constexpr int kEditHeight = 21;
constexpr int kRadioHeight = 17;
constexpr int kButtonHeight = 25;
constexpr int kButtonWidth = 75;

// No text is cut: a line edit stops at 32767 characters unless told otherwise.
void LiftLengthLimit(QLineEdit *edit) {
  edit->setMaxLength(std::numeric_limits<int>::max());
}

constexpr int kFieldLeft = 128;
constexpr int kLabelLeft = 24;

// Narrows the control's font until its whole caption fits width. The positions leave the
// captions the room a small dialog font needs; a wider font would otherwise cut them or run them
// under the fields.
void FitCaption(QWidget *control, int width) {
  for (int stretch = 95; control->sizeHint().width() > width && stretch >= 50; stretch -= 5) {
    QFont narrow = control->font();
    narrow.setStretch(stretch);
    control->setFont(narrow);
  }
}

// A field at the given top and width, with its label at left 24, 4 pixels lower.
void PlaceField(QWidget *field, const char *caption, int top, int width) {
  field->setGeometry(kFieldLeft, top, width, kEditHeight);
  QLabel *label = LabelFor(QString::fromLatin1(caption), field);
  FitCaption(label, kFieldLeft - kLabelLeft - 4);
  label->setGeometry(kLabelLeft, top + 4, label->sizeHint().width(), label->sizeHint().height());
}

QString Text(const std::string &text) {
  return QString::fromStdString(text);
}

}  // namespace

TOptions::TOptions(AppContext &context, QWidget *parent)
    : QDialog(parent),
      context_(context),
      Bevel1(Named(new QFrame(this), "Bevel1")),
      CompanyName(Named(new QLineEdit(this), "CompanyName")),
      CurrencyForm(Named(new QLineEdit(this), "CurrencyForm")),
      CurrencyCodeForm(Named(new QLineEdit(this), "CurrencyCodeForm")),
      orderbuttonText(Named(new QComboBox(this), "orderbuttonText")),
      CGI_BIN_LOCATION(Named(new QLineEdit(this), "CGI_BIN_LOCATION")),
      Vcart(Named(new QLineEdit(this), "Vcart")),
      Button1(Named(new QPushButton(QStringLiteral("&OK"), this), "Button1")),
      Button2(Named(new QPushButton(QStringLiteral("&Cancel"), this), "Button2")),
      GroupBox1(Named(new QGroupBox(QStringLiteral("Operation Mode"), this), "GroupBox1")),
      RadioButton1(Named(new QRadioButton(QStringLiteral("Pellux UNIX 3.x and NT 3.x"), GroupBox1),
                         "RadioButton1")),
      RadioButton2(Named(new QRadioButton(QStringLiteral("Pellux UNIX 4.x or newer"), GroupBox1),
                         "RadioButton2")) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Vendigo Options"));
  SetFixedDialogWindow(this, DialogBorder::Fixed);
  // The positions below are laid out for a small dialog font.
  QFont small = font();
  small.setPixelSize(11);
  setFont(small);

  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Bevel1->setGeometry(8, 8, 417, 153);
  Bevel1->lower();

  orderbuttonText->setEditable(true);
  // Typed texts stay texts; Enter does not add them to the list.
  orderbuttonText->setInsertPolicy(QComboBox::NoInsert);
  for (QLineEdit *edit :
       {CompanyName, CurrencyForm, orderbuttonText->lineEdit(), CGI_BIN_LOCATION, Vcart}) {
    LiftLengthLimit(edit);
  }

  PlaceField(CompanyName, "Company Name:", 20, 281);
  PlaceField(CurrencyForm, "Currency:", 46, 89);
  // The code beside the sign, for search engines' product data: the sign "$" or "¥" alone does
  // not say which currency it is.
  CurrencyCodeForm->setGeometry(345, 46, 64, kEditHeight);
  CurrencyCodeForm->setToolTip(QStringLiteral(
      "The ISO 4217 code of your currency (USD, EUR, GBP) for search engines' product data. "
      "Empty: taken from the currency sign where it names one currency."));
  QLabel *codeLabel = LabelFor(QStringLiteral("Currency code:"), CurrencyCodeForm);
  FitCaption(codeLabel, 345 - 228 - 4);
  codeLabel->setGeometry(228, 50, codeLabel->sizeHint().width(), codeLabel->sizeHint().height());
  PlaceField(orderbuttonText, "Default Button Text:", 72, 281);
  PlaceField(CGI_BIN_LOCATION, "Pellux Location:", 98, 281);
  PlaceField(Vcart, "View Cart Link:", 124, 281);

  Button1->setDefault(true);
  Button1->setGeometry(12, 232, kButtonWidth, kButtonHeight);
  Button2->setGeometry(100, 232, kButtonWidth, kButtonHeight);

  GroupBox1->setGeometry(8, 168, 417, 49);
  RadioButton1->setGeometry(16, 24, 185, kRadioHeight);
  RadioButton2->setGeometry(232, 24, 145, kRadioHeight);
  for (QRadioButton *button : {RadioButton1, RadioButton2}) FitCaption(button, button->width());
  RadioButton2->setChecked(true);

  setTabOrder(CompanyName, CurrencyForm);
  setTabOrder(CurrencyForm, CurrencyCodeForm);
  setTabOrder(CurrencyCodeForm, orderbuttonText);
  setTabOrder(orderbuttonText, CGI_BIN_LOCATION);
  setTabOrder(CGI_BIN_LOCATION, Vcart);
  setTabOrder(Vcart, Button1);
  setTabOrder(Button1, Button2);
  setTabOrder(Button2, RadioButton1);
  setTabOrder(RadioButton1, RadioButton2);

  FormCreate();

  for (QRadioButton *button : {RadioButton1, RadioButton2}) {
    connect(button, &QRadioButton::toggled, this, &TOptions::UpdateRadioTabStops);
  }
  connect(RadioButton1, &QRadioButton::clicked, this, &TOptions::RadioButton1Click);
  connect(RadioButton2, &QRadioButton::clicked, this, &TOptions::RadioButton2Click);
  connect(Button1, &QPushButton::clicked, this, &TOptions::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TOptions::Button2Click);

  setFixedSize(435, 264);
  CompanyName->setFocus();
}

void TOptions::FormCreate() {
  std::vector<std::string> captions;
  try {
    LoadButtonTexts(context_.SettingsFolder(), captions);
  } catch (const FileError &error) {
    // The list stays empty; the user types the text.
    context_.messages.ShowError(error.what());
  }
  for (const std::string &caption : captions) orderbuttonText->addItem(Text(caption));

  const Settings &settings = context_.settings;
  CompanyName->setText(Text(settings.Company));
  CurrencyForm->setText(Text(settings.Currency));
  CurrencyCodeForm->setText(Text(settings.CurrencyCode));
  orderbuttonText->setEditText(Text(settings.OrderButton));
  CGI_BIN_LOCATION->setText(Text(settings.CGI_BIN));
  Vcart->setText(Text(settings.ViewCart));

  // Exclusive radio buttons refuse to uncheck the checked one, which a generation other than 3
  // or 4 needs: both show unselected then, and a click on either still unchecks the other.
  for (QRadioButton *button : {RadioButton1, RadioButton2}) button->setAutoExclusive(false);
  RadioButton1->setChecked(settings.PelluxGeneration == 3);
  RadioButton2->setChecked(settings.PelluxGeneration == 4);
  for (QRadioButton *button : {RadioButton1, RadioButton2}) button->setAutoExclusive(true);
  UpdateRadioTabStops();
}

void TOptions::UpdateRadioTabStops() {
  // Tab enters the group at its selected button, or at the first one when none is selected; the
  // arrow keys move between the two.
  const bool none = !RadioButton1->isChecked() && !RadioButton2->isChecked();
  RadioButton1->setFocusPolicy(RadioButton1->isChecked() || none ? Qt::StrongFocus
                                                                 : Qt::ClickFocus);
  RadioButton2->setFocusPolicy(RadioButton2->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

void TOptions::RadioButton1Click() {
  context_.settings.PelluxGeneration = 3;
}

void TOptions::RadioButton2Click() {
  context_.settings.PelluxGeneration = 4;
}

void TOptions::Button1Click() {
  const OptionTexts texts{
      .Company = CompanyName->text().toStdString(),
      .Currency = CurrencyForm->text().toStdString(),
      .OrderButton = orderbuttonText->currentText().toStdString(),
      .CGI_BIN = CGI_BIN_LOCATION->text().toStdString(),
      .ViewCart = Vcart->text().toStdString(),
      .CurrencyCode = CurrencyCodeForm->text().trimmed().toStdString(),
  };
  if (SaveOptions(context_.SettingsFolder(), context_.settings, texts, context_.messages)) close();
}

void TOptions::Button2Click() {
  close();
}

}  // namespace vendigo
