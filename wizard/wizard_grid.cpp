#include "wizard/wizard_grid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "builders/key_filters.h"
#include "builders/typed_key_filter.h"

namespace vendigo {

// Line edits as cell editors: each gets the key filter of its column and reports every change
// of its text to the grid at once, not only when editing ends.
class WizardGrid::CellDelegate : public QStyledItemDelegate {
 public:
  explicit CellDelegate(WizardGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                        const QModelIndex &index) const override {
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    const int row = index.row();
    const int column = index.column();
    if (column == kPriceColumn) {
      TypedKeyFilter::Install(editor, PriceKeyAllowed);
    } else if (column == kWeightColumn) {
      TypedKeyFilter::Install(editor, WeightKeyAllowed);
    }
    WizardGrid *grid = grid_;
    QObject::connect(editor, &QLineEdit::textEdited, grid, [grid, row, column](const QString &t) {
      grid->EditorTextEdited(row, column, t);
    });
    return editor;
  }

  // Only a text that differs is written back, so the editor's cursor stays where the user types.
  void setEditorData(QWidget *editor, const QModelIndex &index) const override {
    auto *edit = static_cast<QLineEdit *>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (edit->text() != text) edit->setText(text);
  }

 private:
  WizardGrid *grid_;
};

WizardGrid::WizardGrid(int dataRows, const QStringList &headers, const QList<int> &widths,
                       QWidget *parent)
    : QTableWidget(dataRows, static_cast<int>(headers.size()), parent) {
  setItemDelegate(new CellDelegate(this));
  setHorizontalHeaderLabels(headers);
  for (int column = 0; column < widths.size() && column < columnCount(); ++column) {
    setColumnWidth(column, widths[column]);
  }
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setTabKeyNavigation(true);
  setWordWrap(false);
  for (int row = 0; row < rowCount(); ++row) {
    for (int column = 0; column < columnCount(); ++column) {
      setItem(row, column, new QTableWidgetItem());
    }
  }
}

QString WizardGrid::CellText(int row, int column) const {
  const QTableWidgetItem *cell = item(row, column);
  return cell != nullptr ? cell->text() : QString();
}

void WizardGrid::SetCellText(int row, int column, const QString &text) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
  QTableWidgetItem *cell = item(row, column);
  if (cell == nullptr) {
    setItem(row, column, new QTableWidgetItem(text));
  } else if (cell->text() != text) {
    cell->setText(text);
  }
}

QLineEdit *WizardGrid::EditCell(int row, int column) {
  setCurrentCell(row, column);
  const QModelIndex index = model()->index(row, column);
  if (indexWidget(index) == nullptr) edit(index);
  return qobject_cast<QLineEdit *>(indexWidget(index));
}

void WizardGrid::KeepColumns(int count) {
  if (count < columnCount()) setColumnCount(count);
}

void WizardGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
  if (current.isValid()) emit CellAboutToBeSelected(current.row(), current.column());
  QTableWidget::currentChanged(current, previous);
}

void WizardGrid::EditorTextEdited(int row, int column, const QString &text) {
  SetCellText(row, column, text);
  emit CellTextEdited(row, column);
}

}  // namespace vendigo
