#include "dialogs/string_grid.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>

#include "builders/key_filters.h"

namespace vendigo {

// Creates the line editors of the cells, reports each change of their text at once, filters
// typed characters (keys and input method compositions alike) through the grid and the column's
// filter, and keeps an editor open when the focus leaves it.
class StringGrid::CellDelegate : public QStyledItemDelegate {
 public:
  explicit CellDelegate(StringGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                        const QModelIndex &index) const override {
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    const auto filter = grid_->columnKeyFilters_.find(index.column());
    if (filter != grid_->columnKeyFilters_.end()) {
      TypedKeyFilter::Install(editor, filter->second.first, {}, filter->second.second);
    }
    // Installed last, so it sees each key first: a key the grid refuses everywhere is reported
    // in every column before the column's own filter would drop it without a word.
    TypedKeyFilter::Install(editor, [grid = grid_](char32_t c) { return grid->KeyAllowed(c); });
    const QPersistentModelIndex cell(index);
    connect(editor, &QLineEdit::textEdited, grid_,
            [grid = grid_, cell](const QString &text) { grid->EditorTextEdited(cell, text); });
    grid_->EditorOpening(editor, index);
    return editor;
  }

  // Writing the same text again would move the editor's cursor to the end.
  void setEditorData(QWidget *editor, const QModelIndex &index) const override {
    auto *lineEdit = static_cast<QLineEdit *>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (lineEdit->text() != text) lineEdit->setText(text);
  }

  void destroyEditor(QWidget *editor, const QModelIndex &index) const override {
    if (grid_->editor_ == editor) grid_->editor_ = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
  }

 protected:
  bool eventFilter(QObject *object, QEvent *event) override {
    if (event->type() == QEvent::FocusOut) return false;  // the editor stays
    if (event->type() == QEvent::KeyPress) {
      auto *keyEvent = static_cast<QKeyEvent *>(event);
      switch (keyEvent->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
          break;  // committed and moved on by the base class
        case Qt::Key_Escape:
          return false;  // left to the dialog: Cancel
        case Qt::Key_Return:
        case Qt::Key_Enter:
          return true;  // nothing to finish: every change is already in the cell
        default:
          return false;  // typed text goes through the editor's filters
      }
    }
    return QStyledItemDelegate::eventFilter(object, event);
  }

 private:
  StringGrid *grid_;
};

// Asks the grid before a cell becomes current, so that a move can be refused whatever caused
// it.
class StringGrid::CellSelectionModel : public QItemSelectionModel {
 public:
  CellSelectionModel(QAbstractItemModel *model, StringGrid *grid)
      : QItemSelectionModel(model, grid), grid_(grid) {}

  void setCurrentIndex(const QModelIndex &index,
                       QItemSelectionModel::SelectionFlags command) override {
    if (index.isValid() && index != currentIndex() && !grid_->CanSelect(index)) return;
    QItemSelectionModel::setCurrentIndex(index, command);
  }

 private:
  StringGrid *grid_;
};

StringGrid::StringGrid(QWidget *parent) : QTableWidget(parent) {
  setItemDelegate(new CellDelegate(this));
  QItemSelectionModel *defaultModel = selectionModel();
  setSelectionModel(new CellSelectionModel(model(), this));
  delete defaultModel;
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setTabKeyNavigation(true);
  setDragDropMode(QAbstractItemView::NoDragDrop);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(kRowHeight);
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  // The title row is as high as the data rows, whatever the font.
  horizontalHeader()->setFixedHeight(kRowHeight);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setSectionsMovable(false);
  // The title row is no cell: a click on a title must not move the current cell.
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
}

void StringGrid::Shape(const QStringList &titles, const QList<int> &widths, int dataRows) {
  clear();
  setColumnCount(static_cast<int>(titles.size()));
  setRowCount(dataRows);
  setHorizontalHeaderLabels(titles);
  for (int column = 0; column < columnCount(); ++column) {
    if (column < widths.size()) setColumnWidth(column, widths[column]);
    for (int row = 0; row < dataRows; ++row) setItem(row, column, new QTableWidgetItem());
  }
  if (dataRows > 0 && columnCount() > 0) setCurrentCell(0, 0);
}

void StringGrid::SetColumnKeyFilter(int column, TypedKeyFilter::Allowed allowed,
                                    TypedKeyFilter::Meaning meaning) {
  columnKeyFilters_[column] = {std::move(allowed), std::move(meaning)};
}

void StringGrid::SetPriceAndWeightColumns(int priceColumn, int weightColumn) {
  SetColumnKeyFilter(priceColumn, PriceKeyAllowed, TypedKeyFilter::PriceMeaning());
  SetColumnKeyFilter(weightColumn, WeightKeyAllowed);
  fittedColumns_.insert(priceColumn);
  FitColumn(priceColumn);
}

// Grows only, so a column the user widened keeps its width.
void StringGrid::FitColumn(int column) {
  int needed = std::max(sizeHintForColumn(column), horizontalHeader()->sectionSizeHint(column));
  if (editor_ && currentColumn() == column) {
    // The editor's text between its margins, the cursor after it and the grid line.
    const int editorMargins = 2 * 2 + style()->pixelMetric(QStyle::PM_TextCursorWidth) + 1;
    needed = std::max(needed, editor_->fontMetrics().horizontalAdvance(editor_->text()) +
                                  editorMargins + (showGrid() ? 1 : 0));
  }
  if (needed > columnWidth(column)) setColumnWidth(column, needed);
}

QString StringGrid::Cell(int column, int row) const {
  if (row == 0) {
    const QTableWidgetItem *title = horizontalHeaderItem(column);
    return title ? title->text() : QString();
  }
  const QTableWidgetItem *cell = item(row - 1, column);
  return cell ? cell->text() : QString();
}

void StringGrid::SetCell(int column, int row, const QString &text) {
  QTableWidgetItem *cell = item(row - 1, column);
  if (!cell || cell->text() == text) return;
  cell->setText(text);
  if (fittedColumns_.contains(column)) FitColumn(column);
}

bool StringGrid::KeyAllowed(char32_t typed) {
  for (const QChar character : QString::fromUcs4(&typed, 1)) {
    QChar key = character;
    emit KeyPress(key);
    if (key.isNull()) return false;
  }
  return true;
}

bool StringGrid::CanSelect(const QModelIndex &index) {
  bool canSelect = true;
  emit SelectCell(index.column(), index.row() + 1, canSelect);
  return canSelect;
}

void StringGrid::EditorOpening(QLineEdit *editor, const QModelIndex &index) {
  editor_ = editor;
  const int column = index.column();
  const int row = index.row() + 1;
  const QString before = Cell(column, row);
  QString value = before;
  emit GetEditText(column, row, value);
  if (value != before) {
    SetCell(column, row, value);
    emit SetEditText(column, row, value);
  }
}

void StringGrid::EditorTextEdited(const QModelIndex &index, const QString &text) {
  if (!index.isValid()) return;
  SetCell(index.column(), index.row() + 1, text);
  emit SetEditText(index.column(), index.row() + 1, text);
}

void StringGrid::EnsureEditor() {
  const QModelIndex current = currentIndex();
  if (editor_ || !current.isValid() || !isVisible()) return;
  QWidget *focus = window()->focusWidget();
  const bool gridHasFocus = focus && (focus == this || isAncestorOf(focus));
  edit(current);
  if (focus && !gridHasFocus) focus->setFocus();
}

void StringGrid::showEvent(QShowEvent *event) {
  QTableWidget::showEvent(event);
  EnsureEditor();
}

// Keys typed while the grid itself has the focus go to the cell editor; Enter stays in the grid,
// as it does in a cell.
void StringGrid::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
  if (editor_ && !editor_->hasFocus() && !event->text().isEmpty() &&
      event->text().front().isPrint()) {
    editor_->setFocus();
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(),
                   event->isAutoRepeat(), static_cast<quint16>(event->count()));
    QCoreApplication::sendEvent(editor_, &copy);
    return;
  }
  QTableWidget::keyPressEvent(event);
}

// So do characters composed while the grid has the focus.
void StringGrid::inputMethodEvent(QInputMethodEvent *event) {
  if (editor_ && !event->commitString().isEmpty()) {
    editor_->setFocus();
    QInputMethodEvent copy(event->preeditString(), event->attributes());
    copy.setCommitString(event->commitString(), event->replacementStart(),
                         event->replacementLength());
    QCoreApplication::sendEvent(editor_, &copy);
    return;
  }
  QTableWidget::inputMethodEvent(event);
}

void StringGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
  changingCurrent_ = true;
  QTableWidget::currentChanged(current, previous);
  changingCurrent_ = false;
  EnsureEditor();
}

void StringGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) {
  QTableWidget::closeEditor(editor, hint);
  if (!changingCurrent_) EnsureEditor();
}

}  // namespace vendigo
