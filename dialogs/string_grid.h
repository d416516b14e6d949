#pragma once

#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTableWidget>

#include <map>
#include <set>

#include "dialogs/typed_key_filter.h"

namespace vendigo {

// An editable grid of texts, as the builders and the product page wizard have them: a title row
// (the header, row 0) above the data rows 1 to N, no fixed column, a cell editor that is always
// shown on the current cell, and Tab moving between cells. Rows are numbered as the user sees
// them: row 1 is the first data row (table row 0).
//
// The owner hooks in through four signals, connected directly:
// - KeyPress before a typed character reaches the cell editor; clearing key discards it.
//   A column may have a typed-key filter of its own besides (SetColumnKeyFilter).
// - SetEditText after the user changed the text of a cell (each keystroke, paste).
// - SelectCell before a cell becomes current (click, arrow keys, Tab); clearing canSelect keeps
//   the current cell.
// - GetEditText when the editor opens on a cell; a changed value becomes the cell's text as if
//   it had been typed.
class StringGrid : public QTableWidget {
  Q_OBJECT

 public:
  static constexpr int kRowHeight = 18;

  explicit StringGrid(QWidget *parent = nullptr);

  // Sets the columns with their titles and widths, and the number of data rows; every cell
  // starts empty and the current cell is column 0 of row 1.
  void Shape(const QStringList &titles, const QList<int> &widths, int dataRows);
  int DataRowCount() const { return rowCount(); }
  // Discards, without a word, every typed key of a cell in column that allowed refuses (for
  // example all but digits in a price column), after meaning, when given, has told what the key
  // stands for. Paste is not filtered.
  void SetColumnKeyFilter(int column, TypedKeyFilter::Allowed allowed,
                          TypedKeyFilter::Meaning meaning = {});
  // A price column and a weight column: typed keys that cannot belong there are dropped, a ","
  // in a price stands for its point, and the price column widens to show its whole text.
  void SetPriceAndWeightColumns(int priceColumn, int weightColumn);

  // The text of a cell; row 0 gives the title, a cell outside the grid the empty text.
  QString Cell(int column, int row) const;
  // Sets a data cell's text; an editor open on the cell shows the new text.
  void SetCell(int column, int row, const QString &text);

  // The editor open on the current cell, if any.
  QLineEdit *CellEditor() const { return editor_; }
  int CurrentColumn() const { return currentColumn(); }
  int CurrentRow() const { return currentRow() + 1; }

 signals:
  void KeyPress(QChar &key);
  void SetEditText(int column, int row, const QString &value);
  void SelectCell(int column, int row, bool &canSelect);
  void GetEditText(int column, int row, QString &value);

 protected:
  void showEvent(QShowEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void inputMethodEvent(QInputMethodEvent *event) override;
  void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
  void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  class CellDelegate;
  class CellSelectionModel;

  // Called by the delegate and the selection model.
  bool KeyAllowed(char32_t typed);
  bool CanSelect(const QModelIndex &index);
  void EditorOpening(QLineEdit *editor, const QModelIndex &index);
  void EditorTextEdited(const QModelIndex &index, const QString &text);

  // Opens the editor on the current cell when none is open, leaving the keyboard focus where it
  // is unless the grid has it.
  void EnsureEditor();
  // Widens a column that shows its whole text as far as its cells and editor need.
  void FitColumn(int column);

  QPointer<QLineEdit> editor_;
  bool changingCurrent_ = false;
  std::map<int, std::pair<TypedKeyFilter::Allowed, TypedKeyFilter::Meaning>> columnKeyFilters_;
  std::set<int> fittedColumns_;
};

}  // namespace vendigo
