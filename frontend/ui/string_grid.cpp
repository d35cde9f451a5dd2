#include "ui/string_grid.h"

#include <QColor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProxyStyle>

namespace ixo {

namespace {

// The design font narrowed by this much for the four columns of p-values.
constexpr int kNarrowFontStretch = 86;

// The widget's style with no focus-frame margin, which is what sets the room
// beside an item's text.
class NarrowItemStyle final : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_FocusFrameHMargin) return 0;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

}  // namespace

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

  QHeaderView* header = horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setHighlightSections(false);
  header->setSectionsClickable(false);
  header->setMinimumSectionSize(1);
  header->setFixedHeight(row_height + 1);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(row_height + 1);
  SetColumns(columns, column_widths);
  SelectRows(1, 1);
}

void StringGrid::SetColumns(int columns, const int* column_widths) {
  setColumnCount(columns);
  for (int c = 0; c < columns; ++c) {
    // Qt draws a cell's grid line inside its section, so each section is one
    // pixel larger than the designed cell.
    horizontalHeader()->resizeSection(c, column_widths[c] + 1);
    if (horizontalHeaderItem(c) == nullptr) setHorizontalHeaderItem(c, new QTableWidgetItem());
    for (int r = 0; r < rowCount(); ++r) {
      if (item(r, c) == nullptr) setItem(r, c, new QTableWidgetItem());
    }
  }
}

void StringGrid::SetNarrowText(bool narrow) {
  if (narrow == (narrow_style_ != nullptr)) return;
  QFont narrowed = font();
  narrowed.setStretch(narrow ? kNarrowFontStretch : design_stretch_);
  if (narrow) {
    design_stretch_ = font().stretch();
    narrow_style_ = new NarrowItemStyle;
    narrow_style_->setParent(this);
    setStyle(narrow_style_);
  } else {
    setStyle(nullptr);
    delete narrow_style_;
    narrow_style_ = nullptr;
  }
  setFont(narrowed);
  horizontalHeader()->setFont(narrowed);
}

void StringGrid::SetCellHint(int column, int row, const QString& hint) {
  QTableWidgetItem* cell = row > 0 ? item(row - 1, column) : nullptr;
  if (cell == nullptr) return;
  cell->setToolTip(hint);
  cell->setData(Qt::ForegroundRole, hint.isEmpty() ? QVariant() : QVariant(QColor(Qt::darkRed)));
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
