#include "ui/string_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ixo {

StringGrid::StringGrid(int columns, const int* column_widths, int rows, int row_height,
                       QWidget* parent)
    : QTableWidget(rows - 1, columns, parent) {
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setShowGrid(true);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setTabKeyNavigation(false);
  verticalHeader()->hide();

  // Qt draws a cell's grid line inside its section, so each section is one
  // pixel larger than the designed cell.
  QHeaderView* header = horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setHighlightSections(false);
  header->setSectionsClickable(false);
  header->setMinimumSectionSize(1);
  header->setFixedHeight(row_height + 1);
  for (int c = 0; c < columns; ++c) {
    header->resizeSection(c, column_widths[c] + 1);
    setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
  }
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(row_height + 1);
  for (int r = 0; r < rows - 1; ++r) {
    for (int c = 0; c < columns; ++c) setItem(r, c, new QTableWidgetItem(QString()));
  }
  SelectRows(1, 1);
}

QString StringGrid::Cell(int column, int row) const {
  const QTableWidgetItem* cell = row == 0 ? horizontalHeaderItem(column) : item(row - 1, column);
  return cell != nullptr ? cell->text() : QString();
}

void StringGrid::SetCell(int column, int row, const QString& text) {
  QTableWidgetItem* cell = row == 0 ? horizontalHeaderItem(column) : item(row - 1, column);
  if (cell != nullptr) cell->setText(text);
}

GridRows StringGrid::SelectedRows() const {
  const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
  if (ranges.isEmpty()) return {};
  GridRows rows{ranges.first().topRow() + 1, ranges.first().bottomRow() + 1};
  for (const QTableWidgetSelectionRange& range : ranges) {
    rows.top = std::min(rows.top, range.topRow() + 1);
    rows.bottom = std::max(rows.bottom, range.bottomRow() + 1);
  }
  return rows;
}

void StringGrid::SelectRows(int top, int bottom) {
  clearSelection();
  setCurrentCell(top - 1, 0, QItemSelectionModel::NoUpdate);
  setRangeSelected(QTableWidgetSelectionRange(top - 1, 0, bottom - 1, columnCount() - 1), true);
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid()) {
      const int row = at.row() + 1;
      const GridRows selected = SelectedRows();
      if (row < selected.top || row > selected.bottom) SelectRows(row, row);
    }
    event->accept();
    return;
  }
  QTableWidget::mousePressEvent(event);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    if (copy_) copy_();
    event->accept();
    return;
  }
  QTableWidget::keyPressEvent(event);
}

}  // namespace ixo
