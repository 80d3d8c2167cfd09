#include "browser/list_row_sort.h"

#include <string>

namespace browser {

void SortListRows(ui::ListView& list, int column, bool ascending, int low, int high) {
  if (column >= list.ColumnCount()) return;
  if (high < 0) high = list.RowCount() - 1;
  auto text = [&](int row) { return list.RowText(row, column); };
  while (true) {
    int lo = low;
    int hi = high;
    if (hi <= lo) return;
    const std::string pivot(text((lo + hi) / 2));
    while (lo <= hi) {
      if (ascending) {
        while (lo < high && text(lo) < pivot) ++lo;
        while (hi > low && text(hi) > pivot) --hi;
      } else {
        while (lo < high && text(lo) > pivot) ++lo;
        while (hi > low && text(hi) < pivot) --hi;
      }
      if (lo <= hi) {
        if (text(lo) != text(hi)) list.SwapRows(lo, hi);
        ++lo;
        --hi;
      }
    }
    // The parts low..hi and lo..high are disjoint, so sorting them in either order gives the
    // same rows and the same exchanges.
    const bool leftWanted = low < hi;
    const bool rightWanted = lo < high;
    if (leftWanted && rightWanted) {
      if (hi - low < high - lo) {
        SortListRows(list, column, ascending, low, hi);
        low = lo;
      } else {
        SortListRows(list, column, ascending, lo, high);
        high = hi;
      }
    } else if (leftWanted) {
      high = hi;
    } else if (rightWanted) {
      low = lo;
    } else {
      return;
    }
  }
}

}  // namespace browser
