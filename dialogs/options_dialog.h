#pragma once

#include <QDialog>

#include "core/app_context.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vendigo {

// The options dialog: the merchant's company name, currency sign, default order-button text,
// cart program location, view-cart link text and cart generation. OK writes them to the settings
// file and then into the shared settings; the generation buttons change the shared settings at
// once. Create it with new: it deletes itself when it closes.
class TOptions : public QDialog {
  Q_OBJECT

 public:
  explicit TOptions(AppContext &context, QWidget *parent = nullptr);

 private:
  void FormCreate();
  void RadioButton1Click();
  void RadioButton2Click();
  void Button1Click();
  void Button2Click();
  void UpdateRadioTabStops();

  AppContext &context_;
  QFrame *Bevel1;
  QLineEdit *CompanyName;
  QLineEdit *CurrencyForm;
  QLineEdit *CurrencyCodeForm;
  QComboBox *orderbuttonText;
  QLineEdit *CGI_BIN_LOCATION;
  QLineEdit *Vcart;
  QPushButton *Button1;
  QPushButton *Button2;
  QGroupBox *GroupBox1;
  QRadioButton *RadioButton1;
  QRadioButton *RadioButton2;
};

}  // namespace vendigo
