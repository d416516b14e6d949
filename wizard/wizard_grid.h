#pragma once

#include <QList>
#include <QStringList>
#include <QTableWidget>

class QLineEdit;

namespace vendigo {

// An editable string grid of the product page wizard. Its title row is the horizontal header, so
// table row 0 holds grid row 1, the first data row. Cells are edited in place; the editor opens
// as soon as a cell becomes current, and Tab moves between cells. Typed keys are filtered by
// column: the Price column (1) takes digits, "." and backspace, the Weight column (2) digits and
// backspace, the others everything.
//
// CellTextEdited follows every change the user makes to a cell's text, one key at a time, with
// the cell already holding the new text; a handler may change any cell, the one being edited
// included (its editor follows). CellAboutToBeSelected comes before a cell becomes current.
class WizardGrid : public QTableWidget {
  Q_OBJECT

 public:
  static constexpr int kRowHeight = 18;
  static constexpr int kPriceColumn = 1;
  static constexpr int kWeightColumn = 2;

  WizardGrid(int dataRows, const QStringList &headers, const QList<int> &widths,
             QWidget *parent = nullptr);

  // The text of a cell; the empty text for a cell that does not exist.
  QString CellText(int row, int column) const;
  // Sets a cell's text without raising CellTextEdited.
  void SetCellText(int row, int column, const QString &text);
  // Makes the cell current and returns its in-place editor.
  QLineEdit *EditCell(int row, int column);
  // Keeps only the first columns; the cells of the others are gone and read as empty.
  void KeepColumns(int count);

 signals:
  void CellTextEdited(int row, int column);
  void CellAboutToBeSelected(int row, int column);

 protected:
  void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

 private:
  class CellDelegate;

  void EditorTextEdited(int row, int column, const QString &text);
};

}  // namespace vendigo
