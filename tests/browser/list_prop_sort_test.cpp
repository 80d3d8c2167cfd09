// Column sort: the page's quicksort (same comparisons and exchanges as the plain recursive form),
// sort directions, equal texts, and a selection that follows its row.
#include <random>

#include "browser/list_row_sort.h"
#include "platform/com/date.h"
#include "tests/browser/list_prop_fixture.h"
#include "tests/fakes/fake_vnquery.h"

namespace page_test {
namespace {

using ::testing::ElementsAre;
using namespace browser;

// The quicksort in its plain recursive form over (text, item data) pairs, as the reference.
struct RefRow {
  std::string text;
  int data;
};
void ReferenceSort(std::vector<RefRow>& rows, bool ascending, int low, int high) {
  int lo = low;
  int hi = high;
  if (hi <= lo) return;
  const std::string pivot = rows[static_cast<std::size_t>((lo + hi) / 2)].text;
  auto text = [&](int i) -> const std::string& { return rows[static_cast<std::size_t>(i)].text; };
  while (lo <= hi) {
    if (ascending) {
      while (lo < high && text(lo) < pivot) ++lo;
      while (hi > low && text(hi) > pivot) --hi;
    } else {
      while (lo < high && text(lo) > pivot) ++lo;
      while (hi > low && text(hi) < pivot) --hi;
    }
    if (lo <= hi) {
      if (text(lo) != text(hi))
        std::swap(rows[static_cast<std::size_t>(lo)], rows[static_cast<std::size_t>(hi)]);
      ++lo;
      --hi;
    }
  }
  if (low < hi) ReferenceSort(rows, ascending, low, hi);
  if (lo < high) ReferenceSort(rows, ascending, lo, high);
}

struct NoHost : ui::ControlHost {
  void OnControlCommand(int, int) override {}
  ui::LResult OnControlNotify(const ui::NotifyHeader&) override { return 0; }
};

ui::ControlTemplate ListTemplate() {
  ui::ControlTemplate t;
  t.id = kIdListView;
  t.kind = ui::ControlKind::ListView;
  return t;
}

TEST(ListRowSort, SameRowsAsThePlainRecursiveQuicksortOnAnyInput) {
  std::mt19937 random(99);
  for (int round = 0; round < 60; ++round) {
    const int n = static_cast<int>(random() % 300);
    const int alphabet = 1 + static_cast<int>(random() % 6);  // many equal texts
    std::vector<RefRow> reference;
    NoHost host;
    ui::ListView list(ListTemplate(), &host);
    list.InsertColumn(0, "a", 10);
    list.InsertColumn(1, "b", 10);
    for (int i = 0; i < n; ++i) {
      std::string text(1 + random() % 3, static_cast<char>('a' + random() % alphabet));
      reference.push_back({text, i});
      std::string_view texts[] = {"x", text};
      list.InsertRow(list.RowCount(), texts, i);
    }
    const bool ascending = round % 2 == 0;
    ReferenceSort(reference, ascending, 0, n - 1);
    SortListRows(list, 1, ascending, 0);
    ASSERT_EQ(list.RowCount(), n);
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(list.RowData(i), reference[static_cast<std::size_t>(i)].data)
          << "round " << round << " row " << i;
    }
  }
}

TEST(ListRowSort, AColumnBeyondTheHeadingsSortsNothingAndAnEmptyListIsFine) {
  NoHost host;
  ui::ListView list(ListTemplate(), &host);
  list.InsertColumn(0, "a", 10);
  SortListRows(list, 0, true, 0);
  list.InsertRow(0, "b");
  list.InsertRow(0, "a");
  list.SetRowText(0, 1, "z");
  list.SetRowText(1, 1, "y");
  SortListRows(list, 1, true, 0);
  EXPECT_EQ(list.RowText(0, 0), "a");
  SortListRows(list, 0, false, 0);
  EXPECT_EQ(list.RowText(0, 0), "b");
}

TEST(ListRowSort, LargeSortedAndReversedInputsSortWithoutDeepRecursion) {
  NoHost host;
  ui::ListView list(ListTemplate(), &host);
  list.InsertColumn(0, "a", 10);
  constexpr int kRows = 30000;
  for (int i = 0; i < kRows; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "%07d", (i * 7919) % kRows);
    list.InsertRow(0, text);
  }
  for (bool ascending : {true, false, true}) {
    SortListRows(list, 0, ascending, 0);
    for (int i = 1; i < kRows; ++i) {
      ASSERT_TRUE(ascending ? list.RowText(i - 1, 0) <= list.RowText(i, 0)
                            : list.RowText(i - 1, 0) >= list.RowText(i, 0))
          << i;
    }
  }
}

// --- through the page ---

fakes::FakeRow Row(const char16_t* handle, const char16_t* name, const char16_t* revision,
                   const char16_t* remark) {
  DATE date = 0;
  com::DateFromFields({2004, 3, 1, 8, 0, 0, 0}, &date);
  fakes::FakeRow row;
  row.values = {com::Variant(handle),         com::Variant(name),
                com::Variant(remark),         com::Variant(revision),
                com::Variant(u"anna"),        com::Variant(com::DateTag{date}),
                com::Variant(u"bjorn"),       com::Variant(com::DateTag{date}),
                com::Variant(u"PW_PDB"),      com::Variant(std::int16_t{100}),
                com::Variant(std::int16_t{0})};
  return row;
}

class SortPageTest : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    // Shown as d, c, b, a, e (reversed delivery).
    server_.Query().SetRows({Row(u"HE", u"e", u"r1", u"m"), Row(u"HA", u"a", u"r3", u"m"),
                             Row(u"HB", u"b", u"r2", u""), Row(u"HC", u"c", u"r5", u"m"),
                             Row(u"HD", u"d", u"r4", u"m")});
  }
  static std::vector<std::string> Names(ui::PropertySheet& sheet) {
    return ColumnOf(*ui::ReadSheetState(sheet).Find(kIdListView), 0);
  }
  fakes::FakeVnQueryServer server_;
};

TEST_F(SortPageTest, SameHeadingTwiceSortsAscendingThenDescendingAnotherStartsAscending) {
  Script()
      .Click(kIdList)
      .Inspect(
          [](ui::PropertySheet& s) { EXPECT_THAT(Names(s), ElementsAre("d", "c", "b", "a", "e")); })
      .ClickHeading(kIdListView, 0)
      .Inspect([](ui::PropertySheet& s) {
        EXPECT_THAT(Names(s), ElementsAre("a", "b", "c", "d", "e"));
        EXPECT_TRUE(PageOf(s).SortAscending());
        EXPECT_EQ(PageOf(s).SortedColumn(), 0);
      })
      .ClickHeading(kIdListView, 0)
      .Inspect([](ui::PropertySheet& s) {
        EXPECT_THAT(Names(s), ElementsAre("e", "d", "c", "b", "a"));
        EXPECT_FALSE(PageOf(s).SortAscending());
      })
      .ClickHeading(kIdListView, 2)
      .Inspect([](ui::PropertySheet& s) {
        EXPECT_THAT(Names(s), ElementsAre("e", "b", "a", "d", "c"));  // r1 r2 r3 r4 r5
        EXPECT_TRUE(PageOf(s).SortAscending());
        // Item data still name each row's handle.
        const ui::ListView& list = ListOf(s);
        const auto& handles = PageOf(s).HandleList();
        for (int r = 0; r < list.RowCount(); ++r) {
          EXPECT_EQ(handles.at(static_cast<std::size_t>(list.RowData(r))),
                    "H" + std::string(1, static_cast<char>(std::toupper(list.RowText(r, 0)[0]))));
        }
      })
      // A new listing keeps the sort state: the same heading now sorts descending.
      .Click(kIdList)
      .ClickHeading(kIdListView, 2)
      .Inspect(
          [](ui::PropertySheet& s) { EXPECT_THAT(Names(s), ElementsAre("c", "d", "a", "b", "e")); })
      .CloseWithOk();
  RunSheet();
}

TEST_F(SortPageTest, EqualTextsStayInPlace) {
  Script()
      .Click(kIdList)
      .ClickHeading(kIdListView, 1)  // every Type is "Drawing"
      .Inspect([](ui::PropertySheet& s) {
        EXPECT_THAT(Names(s), ElementsAre("d", "c", "b", "a", "e"));
        EXPECT_THAT(ui::ReadSheetState(s).Find(kIdListView)->rowData, ElementsAre(4, 3, 2, 1, 0));
      })
      .CloseWithOk();
  RunSheet();
}

TEST_F(SortPageTest, TheSelectionFollowsItsRow) {
  Script()
      .Click(kIdList)
      .SelectRows(kIdListView, {0})  // "d"
      .ClickHeading(kIdListView, 0)
      .Inspect([](ui::PropertySheet& s) {
        EXPECT_EQ(PageOf(s).SelectedRow(), 3);
        EXPECT_EQ(PageOf(s).SelectedHandle(), "HD");
        EXPECT_EQ(ListOf(s).SelectedRows(), std::vector<int>{3});
        EXPECT_EQ(ui::ReadSheetState(s).Find(kIdRevisionName)->text, "r4");
      })
      .SelectRows(kIdListView, {1})  // "b", whose remark is empty
      .Inspect([](ui::PropertySheet& s) {
        ui::SheetState state = ui::ReadSheetState(s);
        EXPECT_EQ(state.Find(kIdRevisionName)->text, "");
        EXPECT_FALSE(state.Find(kIdRevisionName)->enabled);
        EXPECT_FALSE(state.Find(kIdRevisionRemark)->enabled);
        EXPECT_TRUE(state.Find(kIdRename)->enabled);
        EXPECT_EQ(PageOf(s).SelectedHandle(), "HB");
      })
      .ClickHeading(kIdListView, 0)  // descending: b moves to row 3
      .Inspect([](ui::PropertySheet& s) {
        EXPECT_EQ(PageOf(s).SelectedRow(), 3);
        EXPECT_EQ(PageOf(s).SelectedHandle(), "HB");
      })
      .CloseWithOk();
  RunSheet();
}

TEST_F(PageTest, SortingARealListingByCreationDateOrdersItInTime) {
  MakeProject(1200);
  Script()
      .Click(kIdList)
      .ClickHeading(kIdListView, 5)
      .Inspect([](ui::PropertySheet& s) {
        const ui::ListView& list = ListOf(s);
        ASSERT_GT(list.RowCount(), 500);
        for (int r = 1; r < list.RowCount(); ++r) {
          ASSERT_LE(list.RowText(r - 1, 5), list.RowText(r, 5)) << r;
        }
      })
      .CloseWithOk();
  RunSheet();
}

}  // namespace
}  // namespace page_test
