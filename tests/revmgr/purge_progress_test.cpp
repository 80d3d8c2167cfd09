// What revmgr purge shows of Delete listed: the bar (only on a terminal, redrawn only when it
// moves) and the summary built from the page's tallies.
#include <algorithm>
#include <sstream>

#include <gtest/gtest.h>

#include "apps/revmgr/purge_progress.h"
#include "browser/list_page_actions.h"

namespace {

using revmgr::PurgeProgress;
using revmgr::PurgeSummary;

// Runs a Delete listed of rows rows through the front end, deleting one revision per row.
void RunJob(PurgeProgress& progress, int rows) {
  progress.Begin(browser::kDeleteListedTask, rows);
  for (int row = 0; row < rows; ++row) {
    progress.Count(browser::kTallyRevisionsDeleted, 1);
    progress.Advance(row + 1);
  }
  progress.End();
}

TEST(PurgeProgressTest, BarLineShowsPartDoneOfTotal) {
  struct Case {
    std::int64_t done, total;
    const char* expected;
  };
  const Case cases[] = {
      {0, 10, "Delete listed [                              ]   0% 0/10"},
      {5, 10, "Delete listed [###############               ]  50% 5/10"},
      {10, 10, "Delete listed [##############################] 100% 10/10"},
      {1, 3, "Delete listed [##########                    ]  33% 1/3"},
      {0, 0, "Delete listed [##############################] 100% 0/0"},
      {12, 10, "Delete listed [##############################] 100% 10/10"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(revmgr::ProgressLine("Delete listed", c.done, c.total), c.expected)
        << c.done << "/" << c.total;
  }
}

TEST(PurgeProgressTest, OnATerminalTheBarIsRedrawnOnlyWhenItMovesAndEndsTheLine) {
  std::ostringstream out;
  PurgeProgress progress(out, true);
  RunJob(progress, 10000);
  const std::string text = out.str();
  const auto redraws = std::count(text.begin(), text.end(), '\r');
  // Once at the start, when the percentage or the bar moves (100 and 30 times at most), and
  // the last row: not once per row.
  EXPECT_GE(redraws, 100);
  EXPECT_LE(redraws, 1 + 100 + 30 + 1);
  EXPECT_NE(text.find("\rDelete listed [##############################] 100% 10000/10000\n"),
            std::string::npos);
  EXPECT_EQ(text.back(), '\n');
}

TEST(PurgeProgressTest, NotOnATerminalNothingIsDrawnButTheTalliesAreKept) {
  std::ostringstream out;
  PurgeProgress progress(out, false);
  RunJob(progress, 250);
  EXPECT_EQ(out.str(), "");
  const auto job = progress.LastJob();
  EXPECT_TRUE(job.ended);
  EXPECT_EQ(job.done, 250);
  EXPECT_EQ(job.Tally(browser::kTallyRevisionsDeleted), 250);
}

TEST(PurgeSummaryTest, ComesFromTheTalliesAndNamesEachKindOfFailure) {
  std::ostringstream out;
  PurgeProgress progress(out, false);
  progress.Begin(browser::kDeleteListedTask, 6);
  progress.Count(browser::kTallyRevisionsDeleted, 7);
  progress.Count(browser::kTallyCountFailed, 1);
  progress.Count(browser::kTallyDeleteFailed, 1);
  progress.Count(browser::kTallyDeleteFailed, 1);
  progress.End();
  const PurgeSummary summary = PurgeSummary::FromJob(4, progress.LastJob());
  EXPECT_EQ(summary.Failures(), 3);
  EXPECT_EQ(revmgr::FormatPurgeSummary(summary),
            "objects seen: 4\n"
            "revisions deleted: 7\n"
            "failures: 3\n"
            "  rows whose count failed: 1\n"
            "  rows whose delete failed: 2\n");

  // Nothing ran (the page stopped before Delete listed): nothing deleted, nothing failed.
  EXPECT_EQ(revmgr::FormatPurgeSummary(PurgeSummary::FromJob(0, ui::RecordingProgress::Job{})),
            "objects seen: 0\nrevisions deleted: 0\nfailures: 0\n");
}

}  // namespace
