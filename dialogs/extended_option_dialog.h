#pragma once

#include <QDialog>
#include <QString>

#include <string>
#include <vector>

#include "builders/extended_option.h"
#include "core/app_context.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vendigo {

class StringGrid;
struct PreviewContent;

// The "Extended Option" dialog: the name of a product option and its choices in a grid, turned
// into an "eop_" drop-down list at the editor's cursor. Destroyed when it closes.
class TPelluxOptionsBuilder : public QDialog {
  Q_OBJECT

 public:
  explicit TPelluxOptionsBuilder(AppContext &context, QWidget *parent = nullptr);

  // Shows the option list's name and rows (up to kDataRows), as when a fragment built from them
  // is opened again; the cells are shown as given, without the cell rules.
  void Fill(const std::string &name, const std::vector<OptionRow> &rows);

  static constexpr int kDataRows = 19;

 private:
  void FormCreate();
  void RadioGrid1KeyPress(QChar &Key);
  void RadioGrid1SetEditText(int ACol, int ARow, const QString &Value);
  void RadioGrid1SelectCell(int ACol, int ARow, bool &CanSelect);
  void RadioGrid1GetEditText(int ACol, int ARow, QString &Value);
  void OKButClick();
  void Button1Click();

  std::string OptionHtml() const;
  OptionRow RowAt(int row) const;
  // Writes back the cells of row that differ from the grid.
  void StoreRow(int row, const OptionRow &values);

  AppContext &context_;
  QLineEdit *Eopfor;
  QLabel *eoplabel;
  StringGrid *RadioGrid1;
  QPushButton *OKBut;
  QPushButton *Button1;
};

}  // namespace vendigo
