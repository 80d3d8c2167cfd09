// The process's progress service: nothing by default, the chosen front end gets every report, a
// scoped job ends also when left by an exception, and the recording front end keeps the last job.
#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/ui/progress.h"

namespace {

// Chooses a front end for the test and restores the previous one at the end.
class ProgressTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = ui::SetProgressFrontEnd(recording_); }
  void TearDown() override { ui::SetProgressFrontEnd(previous_); }

  std::shared_ptr<ui::RecordingProgress> recording_ = std::make_shared<ui::RecordingProgress>();
  std::shared_ptr<ui::ProgressFrontEnd> previous_;
};

TEST(ProgressServiceTest, WithoutAFrontEndReportsGoNowhere) {
  auto previous = ui::SetProgressFrontEnd(nullptr);
  ui::BeginProgress("nothing", 3);
  ui::AdvanceProgress(1);
  ui::CountProgress("tally");
  ui::EndProgress();
  EXPECT_EQ(ui::SetProgressFrontEnd(previous), nullptr);
}

TEST_F(ProgressTest, FrontEndGetsTheJobItsStepsAndTallies) {
  {
    ui::ScopedProgress job("Delete listed", 4);
    for (int row = 0; row < 4; ++row) {
      job.Count("revisions deleted", row);
      if (row == 2) job.Count("rows whose delete failed");
      job.Advance(row + 1);
    }
    const auto running = recording_->LastJob();
    EXPECT_FALSE(running.ended);
    EXPECT_EQ(running.done, 4);
  }
  const auto job = recording_->LastJob();
  EXPECT_EQ(job.task, "Delete listed");
  EXPECT_EQ(job.total, 4);
  EXPECT_EQ(job.done, 4);
  EXPECT_EQ(job.advances, 4);
  EXPECT_EQ(job.Tally("revisions deleted"), 0 + 1 + 2 + 3);
  EXPECT_EQ(job.Tally("rows whose delete failed"), 1);
  EXPECT_EQ(job.Tally("never counted"), 0);
  EXPECT_TRUE(job.ended);
  EXPECT_EQ(recording_->Jobs(), 1u);
}

TEST_F(ProgressTest, ScopedJobEndsWhenLeftByAnExceptionAndTheNextStartsAfresh) {
  EXPECT_THROW(
      {
        ui::ScopedProgress job("first", 10);
        job.Count("tally", 5);
        job.Advance(3);
        throw std::runtime_error("stop");
      },
      std::runtime_error);
  EXPECT_TRUE(recording_->LastJob().ended);
  EXPECT_EQ(recording_->LastJob().done, 3);

  ui::BeginProgress("second", 0);
  const auto job = recording_->LastJob();
  EXPECT_EQ(job.task, "second");
  EXPECT_EQ(job.done, 0);
  EXPECT_EQ(job.Tally("tally"), 0);
  EXPECT_FALSE(job.ended);
  EXPECT_EQ(recording_->Jobs(), 2u);
  ui::EndProgress();
}

}  // namespace
