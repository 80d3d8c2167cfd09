#pragma once
// The page's quicksort of list rows by the texts of one column (byte order, no locale).
#include "platform/ui/list_view.h"

namespace browser {

// Sorts rows low..high (high -1: the last row) by column. Rows whose texts differ are exchanged
// with ListView::SwapRows, which reports both rows to the page. A column at or beyond the number
// of heading columns sorts nothing. The smaller part is sorted by recursion and the larger one in
// the loop, so the stack stays O(log n) on any input.
void SortListRows(ui::ListView& list, int column, bool ascending, int low, int high = -1);

}  // namespace browser
