// The list view at a million rows, against plain baselines measured in the same run:
// - inserting every row at the top (as a listing does) against std::vector::push_back of the
//   same rows;
// - the page's quicksort of one column (text reads and row swaps through the list view) against
//   std::sort of that column's texts;
// - deleting rows scattered over the list against erasing them from a std::vector of ids.
// At the end the ratios are printed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench/support/ratio_main.h"
#include "platform/ui/list_view.h"

namespace {

constexpr int kColumns = 8;

struct Rows {
  std::vector<std::array<std::string, kColumns>> cells;
};

const Rows& MillionRows(int count) {
  static std::map<int, Rows> cache;
  Rows& rows = cache[count];
  if (!rows.cells.empty()) return rows;
  std::mt19937 engine(1);
  auto random = [&engine] { return static_cast<unsigned>(engine()); };
  rows.cells.resize(static_cast<std::size_t>(count));
  for (auto& cell : rows.cells) {
    char date[32];
    std::snprintf(date, sizeof date, "20%02u-%02u-%02u %02u:%02u:%02u", random() % 30,
                  1 + random() % 12, 1 + random() % 28, random() % 24, random() % 60,
                  random() % 60);
    cell[0] = "OBJ-" + std::to_string(random() % 100000);
    cell[1] = "Plane panels";
    cell[2] = "rev " + std::to_string(random() % 1000);
    cell[3] = "remark";
    cell[4] = "user" + std::to_string(random() % 20);
    cell[5] = date;
    cell[6] = "user" + std::to_string(random() % 20);
    cell[7] = date;
  }
  return rows;
}

struct NoHost : ui::ControlHost {
  void OnControlCommand(int, int) override {}
  ui::LResult OnControlNotify(const ui::NotifyHeader& n) override {
    // Like the page: look at the new state only.
    const auto& lv = static_cast<const ui::ListViewNotification&>(n);
    return (lv.newState & ui::kItemSelected) ? 1 : 0;
  }
};

ui::ControlTemplate ListTemplate() {
  ui::ControlTemplate t;
  t.id = 204;
  t.kind = ui::ControlKind::ListView;
  t.style = ui::style::kReport;
  return t;
}

void Fill(ui::ListView& list, const Rows& rows) {
  int index = 0;
  for (const auto& cell : rows.cells) {
    std::string_view texts[kColumns];
    for (int c = 0; c < kColumns; ++c) texts[c] = cell[static_cast<std::size_t>(c)];
    list.InsertRow(0, texts, index++);
  }
}

// The page's quicksort: same comparisons and swaps, smaller part recursed into.
void QuickSort(ui::ListView& list, int column, bool ascending, int low, int high) {
  while (true) {
    int lo = low;
    int hi = high;
    if (hi <= lo) return;
    std::string pivot(list.RowText((lo + hi) / 2, column));
    while (lo <= hi) {
      if (ascending) {
        while (lo < high && list.RowText(lo, column) < pivot) ++lo;
        while (hi > low && list.RowText(hi, column) > pivot) --hi;
      } else {
        while (lo < high && list.RowText(lo, column) > pivot) ++lo;
        while (hi > low && list.RowText(hi, column) < pivot) --hi;
      }
      if (lo <= hi) {
        if (list.RowText(lo, column) != list.RowText(hi, column)) list.SwapRows(lo, hi);
        ++lo;
        --hi;
      }
    }
    if (hi - low < high - lo) {
      if (low < hi) QuickSort(list, column, ascending, low, hi);
      if (!(lo < high)) return;
      low = lo;
    } else {
      if (lo < high) QuickSort(list, column, ascending, lo, high);
      if (!(low < hi)) return;
      high = hi;
    }
  }
}

void BM_ListViewInsertAtTop(benchmark::State& state) {
  const Rows& rows = MillionRows(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    NoHost host;
    ui::ListView list(ListTemplate(), &host);
    Fill(list, rows);
    benchmark::DoNotOptimize(list.RowCount());
  }
}

void BM_BaselineVectorPushBack(benchmark::State& state) {
  const Rows& rows = MillionRows(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<std::array<std::string, kColumns>> copy;
    for (const auto& cell : rows.cells) copy.push_back(cell);
    benchmark::DoNotOptimize(copy.data());
  }
}

void BM_ListViewPageQuickSort(benchmark::State& state) {
  const Rows& rows = MillionRows(static_cast<int>(state.range(0)));
  NoHost host;
  for (auto _ : state) {
    state.PauseTiming();
    ui::ListView list(ListTemplate(), &host);
    Fill(list, rows);
    state.ResumeTiming();
    QuickSort(list, 5, true, 0, list.RowCount() - 1);
    benchmark::DoNotOptimize(list.RowText(0, 5));
  }
}

void BM_BaselineStdSortColumn(benchmark::State& state) {
  const Rows& rows = MillionRows(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> texts;
    for (const auto& cell : rows.cells) texts.push_back(cell[5]);
    state.ResumeTiming();
    std::sort(texts.begin(), texts.end());
    benchmark::DoNotOptimize(texts.data());
  }
}

void BM_ListViewDeleteEveryTenth(benchmark::State& state) {
  const Rows& rows = MillionRows(static_cast<int>(state.range(0)));
  NoHost host;
  for (auto _ : state) {
    state.PauseTiming();
    ui::ListView list(ListTemplate(), &host);
    Fill(list, rows);
    state.ResumeTiming();
    for (int row = list.RowCount() - 1; row >= 0; row -= 10) list.DeleteRow(row);
    benchmark::DoNotOptimize(list.RowCount());
  }
}

void BM_BaselineVectorEraseEveryTenth(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<int> ids(static_cast<std::size_t>(count));
    state.ResumeTiming();
    // What a plain array of rows costs: every erase moves the rows behind it.
    for (int row = count - 1; row >= 0; row -= 10) ids.erase(ids.begin() + row);
    benchmark::DoNotOptimize(ids.data());
  }
}

constexpr int kMillion = 1'000'000;
BENCHMARK(BM_ListViewInsertAtTop)->Arg(kMillion)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BaselineVectorPushBack)->Arg(kMillion)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ListViewPageQuickSort)->Arg(kMillion)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BaselineStdSortColumn)->Arg(kMillion)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ListViewDeleteEveryTenth)->Arg(kMillion)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BaselineVectorEraseEveryTenth)
    ->Arg(kMillion)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

constexpr bench_support::Ratio kRatios[] = {
    {"insert at top vs vector push_back", "BM_ListViewInsertAtTop", "BM_BaselineVectorPushBack"},
    {"page quicksort vs std::sort of the texts", "BM_ListViewPageQuickSort",
     "BM_BaselineStdSortColumn"},
    {"delete every 10th vs vector erase", "BM_ListViewDeleteEveryTenth",
     "BM_BaselineVectorEraseEveryTenth"},
};

}  // namespace

int main(int argc, char** argv) {
  return bench_support::RunWithRatios(argc, argv,
                                      "Ratios (list view / baseline), 1,000,000 rows:", kRatios);
}
