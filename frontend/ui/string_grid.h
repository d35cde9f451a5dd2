// The results grid StringGrid1: a fixed header row (row 0) above nine data rows
// of three columns, whole rows selected singly or as a range, nothing editable,
// no scroll bars. Cells are addressed as (column, row) with row 0 the header,
// the way the test-run controller writes them.
#pragma once

#include <QTableWidget>
#include <functional>
#include <string>

class QStyle;

namespace ixo {

// The designed cell widths of the results grid and the grid's width: three
// columns, or four with the p-value column, which are drawn narrow (see
// SetNarrowText) so that the grid still ends inside the window.
inline constexpr int kGridColumnWidths[] = {34, 37, 74};
inline constexpr int kGridWidth = 151;
inline constexpr int kGridColumnWidthsWithPValues[] = {28, 29, 58, 38};
inline constexpr int kGridWidthWithPValues = 159;

// The selected block of data rows, in grid rows (1 = first data row).
struct GridRows {
  int top = 0;
  int bottom = -1;  // bottom < top: nothing selected
};

class StringGrid final : public QTableWidget {
 public:
  // A grid of `columns` columns of the given widths and `rows` rows (header
  // included) of `row_height` pixels each. The first data row is selected.
  StringGrid(int columns, const int* column_widths, int rows, int row_height,
             QWidget* parent = nullptr);

  // The text of cell (`column`, `row`); row 0 is the header row.
  QString Cell(int column, int row) const;
  void SetCell(int column, int row, const QString& text);

  // The rows of the current selection, top to bottom.
  GridRows SelectedRows() const;
  // Selects data rows `top` to `bottom` (grid rows, 1 and above).
  void SelectRows(int top, int bottom);

  // The platform's copy keys (Ctrl+C) call `copy` instead of copying the
  // current cell; without a handler they do nothing.
  void SetCopyHandler(std::function<void()> copy) { copy_ = std::move(copy); }
  // Shows `columns` columns of the given widths; a column added starts with
  // empty cells, a column removed takes its cells with it.
  void SetColumns(int columns, const int* column_widths);
  // Draws the cells in a narrower cut of the design font with one pixel of
  // margin beside each text, or as designed again.
  void SetNarrowText(bool narrow);
  // Marks a data cell with `hint` (its tooltip, and the text drawn in dark
  // red) without changing its text; an empty hint removes the mark.
  void SetCellHint(int column, int row, const QString& hint);

 protected:
  // A right click on a row outside the selection selects that row; one inside
  // the selection, or beside the rows, keeps it, so that a range selected
  // before can be copied from the context menu.
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<void()> copy_;
  QStyle* narrow_style_ = nullptr;  // set while the text is drawn narrow
  int design_stretch_ = 100;
};

}  // namespace ixo
