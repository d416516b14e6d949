#pragma once

#include <QDialog>

#include <string>

#include "builders/text_option.h"
#include "core/app_context.h"

class QLineEdit;
class QPushButton;

namespace vendigo {

class UpDownArrows;
struct PreviewContent;

// The text option dialog: a text input in which the shopper types text for the ordered item,
// with its caption, price, size and maximum length. Create it with new: it deletes itself when
// it closes.
class TTextAdd : public QDialog {
  Q_OBJECT

 public:
  explicit TTextAdd(AppContext &context, QWidget *parent = nullptr);

  // Shows the option's values, as when a fragment built from them is opened again.
  void Fill(const TextOption &option);

 private:
  void Edit3Change();
  void Edit4Change();
  void OKBUTClick();
  void Button1Click();
  void UpdateOK();
  std::string OptionHtml() const;
  PreviewContent Preview() const;

  AppContext &context_;
  QLineEdit *Edit3;
  QLineEdit *Edit4;
  QLineEdit *Edit1;
  UpDownArrows *UpDown1;
  QLineEdit *Edit2;
  UpDownArrows *UpDown2;
  QPushButton *OKBUT;
  QPushButton *Button1;
};

}  // namespace vendigo
