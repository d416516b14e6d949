#pragma once

#include <QDialog>

#include "builders/order_item_value.h"
#include "core/app_context.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vendigo {

struct PreviewContent;

// The hidden item element dialog: description, price, weight and tax data of one item, inserted
// as the hidden pelluxadd field. Create it with new: it deletes itself when it closes.
class TPelluxAdd : public QDialog {
  Q_OBJECT

 public:
  explicit TPelluxAdd(AppContext &context, QWidget *parent = nullptr);

  // Shows the item's values, as when a fragment built from them is opened again.
  void Fill(const OrderItem &item);

 private:
  void FormCreate();
  void Edit1Change();
  void Edit2Change();
  void Button1Click();
  void Button2Click();
  void UpdateOK();
  OrderItem Item() const;
  PreviewContent Preview() const;

  AppContext &context_;
  QLineEdit *Edit1;
  QLineEdit *Edit2;
  QLineEdit *Edit3;
  QLabel *Label5;
  QCheckBox *CheckBox1;
  QLineEdit *SmartTaxCode;
  QPushButton *Button1;
  QPushButton *Button2;
};

}  // namespace vendigo
