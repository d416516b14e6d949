#pragma once

#include <QDialog>

#include <string>

#include "builders/price_kit.h"
#include "builders/quick_link.h"
#include "core/app_context.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vendigo {

struct PreviewContent;

// The quick link dialog: one link that puts an item into the cart with a single click, with an
// optional product name and price in front of it. Create it with new: it deletes itself when it
// closes.
class TQuickLink : public QDialog {
  Q_OBJECT

 public:
  explicit TQuickLink(AppContext &context, QWidget *parent = nullptr);

  // Shows the link's values, as when a fragment built from them is opened again.
  void Fill(const QuickLink &link);

 private:
  void FormCreate();
  void Edit1Change();
  void Edit2Change();
  void orderbuttonTextChange();
  void Button1Click();
  void Button2Click();
  void UpdateOK();
  // The link of the inputs; throws CurrencyConversionError as QuickLinkHtml does.
  std::string LinkHtml() const;
  PreviewContent Preview() const;

  AppContext &context_;
  // Kept with the dialog as the price helper; its flag stays set and its strings stay empty.
  TPriceKit PriceKit1;
  QLineEdit *Edit1;
  QLineEdit *Edit2;
  QLineEdit *Edit3;
  QLabel *Label7;
  QCheckBox *CheckBox1;
  QLineEdit *SmartTaxCode;
  QComboBox *orderbuttonText;
  QComboBox *ComboBox1;
  QCheckBox *includeInfo;
  QCheckBox *Brackets;
  QPushButton *Button1;
  QPushButton *Button2;
};

}  // namespace vendigo
