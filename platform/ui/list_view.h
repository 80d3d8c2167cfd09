#pragma once
// A report-mode list view: heading columns, and rows with a text per column, item data, an image
// and state bits (selected, focused). Built for a million rows: rows live in a stable pool and a
// RowSequence maps the visible index to the row, so inserting, deleting, swapping and reading a
// row cost O(log n).
//
// State changes are reported to the owner as item-changed notifications with the old and the new
// state; a click on a heading as a column-click notification.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/row_sequence.h"

namespace ui {

class ListView : public Control {
 public:
  struct Column {
    std::string heading;
    int width = 0;  // pixels
    Alignment alignment = Alignment::Left;
  };

  ListView(const ControlTemplate& from, ControlHost* host);
  ~ListView() override;

  std::uint32_t ExtendedStyle() const { return extendedStyle_; }
  void SetExtendedStyle(std::uint32_t exStyle) { extendedStyle_ = exStyle; }
  bool AllowsSeveralSelected() const { return (Style() & style::kSingleSel) == 0; }

  // Columns: index is clamped to the end; returns the index the column got.
  int InsertColumn(int index, std::string_view heading, int width,
                   Alignment alignment = Alignment::Left);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  const Column& GetColumn(int index) const { return columns_.at(static_cast<std::size_t>(index)); }

  int RowCount() const { return static_cast<int>(order_.Size()); }
  // Inserts a row with the text of column 0 (index clamped to the end); returns its index or -1.
  int InsertRow(int index, std::string_view text);
  // Inserts a row with all its texts at once.
  int InsertRow(int index, std::span<const std::string_view> texts, LParam data = 0);
  bool DeleteRow(int row);
  void DeleteAllRows();

  // The text of a cell; empty for a cell never set or out of range. Valid until the row changes.
  std::string_view RowText(int row, int column) const;
  bool SetRowText(int row, int column, std::string_view text);
  LParam RowData(int row) const;
  bool SetRowData(int row, LParam data);
  int RowImage(int row) const;
  bool SetRowImage(int row, int image);
  std::uint32_t RowState(int row, std::uint32_t mask = ~0u) const;
  // Changes the bits in mask to those of state; notifies when the state changed. Focusing a row
  // takes the focus from the row that had it.
  bool SetRowState(int row, std::uint32_t state, std::uint32_t mask);

  // Exchanges everything two rows hold (texts, item data, image and state), writing the first
  // row, then the second; each is reported as changed with its old and new state.
  bool SwapRows(int a, int b);

  // The next selected row after `after` (-1: from the start), or -1.
  int NextSelected(int after) const;
  int SelectedCount() const;
  std::vector<int> SelectedRows() const;

  // What the user does: click a row (with Ctrl for further rows) so that exactly rows are
  // selected, the last one focused; click a column heading.
  void UserSelect(std::span<const int> rows);
  void UserClickHeading(int column);

 private:
  // Where the first columns' texts start, so that reading a cell needs no scan.
  static constexpr int kIndexedColumns = 8;
  struct Row {
    std::string texts;  // column texts, each ended by '\0' except the last one present
    LParam data = 0;
    int image = 0;
    std::uint32_t state = 0;
    std::uint32_t present = 0;  // columns present in texts
    std::uint32_t start[kIndexedColumns] = {};
  };
  static void IndexTexts(Row& row);

  bool Valid(int row) const { return row >= 0 && row < RowCount(); }
  Row& RowAt(int row) { return pool_[order_.At(static_cast<std::size_t>(row))]; }
  const Row& RowAt(int row) const { return pool_[order_.At(static_cast<std::size_t>(row))]; }
  RowSequence::Id NewRow();
  void NotifyChanged(int row, std::uint32_t oldState, std::uint32_t changed);

  std::vector<Column> columns_;
  std::uint32_t extendedStyle_ = 0;
  std::vector<Row> pool_;
  std::vector<RowSequence::Id> free_;
  RowSequence order_;
};

}  // namespace ui
