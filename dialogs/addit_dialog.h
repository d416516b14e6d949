#pragma once

#include <QDialog>
#include <QString>

#include <string>
#include <vector>

#include "builders/addit_table.h"
#include "builders/price_kit.h"
#include "core/app_context.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace vendigo {

class StringGrid;
struct PreviewContent;

// The "AddIt and Quantity Add Builder" dialog: products in a grid, turned into an addit
// checkbox or radio table, an addit select list or a quantity-add table, optionally inside a
// whole product interface, at the editor's cursor. Destroyed when it closes.
class TAddBuilder : public QDialog {
  Q_OBJECT

 public:
  explicit TAddBuilder(AppContext &context, QWidget *parent = nullptr);

  // Shows the mode and rows (up to kDataRows), as when a fragment built from them is opened
  // again; the cells are shown as given, without the cell rules. OK asks its question again.
  void Fill(AddItMode mode, const std::vector<AddItRow> &rows);

  static constexpr int kDataRows = 19;

 private:
  void FormCreate();
  void RadioGrid1KeyPress(QChar &Key);
  void RadioGrid1SetEditText(int ACol, int ARow, const QString &Value);
  void OKButClick();
  void Button1Click();

  AddItMode Mode() const;
  std::string FragmentHtml(bool wholeInterface) const;
  PreviewContent Preview() const;
  AddItRow RowAt(int row) const;
  void StoreRow(int row, const AddItRow &values);

  AppContext &context_;
  QGroupBox *ModeBox;
  QRadioButton *CHBUT;
  QRadioButton *RABUT;
  QRadioButton *SEBUT;
  QRadioButton *Qadd;
  StringGrid *RadioGrid1;
  QPushButton *OKBut;
  QPushButton *Button1;
  // Holds the product interface template; the wrap works on the text it builds from it.
  TPriceKit MyPriceKit;
};

}  // namespace vendigo
