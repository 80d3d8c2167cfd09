#pragma once
// What revmgr purge shows of the page's Delete listed: a progress bar on standard error while it
// runs (only on a terminal), and at the end a summary built from the tallies the page reported.
#include <cstdint>
#include <ostream>
#include <string>

#include "platform/ui/progress.h"

namespace revmgr {

// Draws a bar on out when isTerminal, redrawn only when what it shows changes; records the job
// for the summary either way.
class PurgeProgress : public ui::ProgressFrontEnd {
 public:
  PurgeProgress(std::ostream& out, bool isTerminal) : out_(out), isTerminal_(isTerminal) {}

  void Begin(std::string_view task, std::int64_t total) override;
  void Advance(std::int64_t done) override;
  void Count(std::string_view counter, std::int64_t by) override;
  void End() override;

  ui::RecordingProgress::Job LastJob() const { return record_.LastJob(); }

 private:
  void Draw(std::int64_t done);

  std::ostream& out_;
  const bool isTerminal_;
  ui::RecordingProgress record_;
  std::string task_;
  std::int64_t total_ = 0;
  std::string drawn_;  // the line on the terminal now
};

// The bar line for done of total steps, e.g. "Delete listed [#####     ]  50% 5/10".
std::string ProgressLine(std::string_view task, std::int64_t done, std::int64_t total);

struct PurgeSummary {
  std::size_t objectsSeen = 0;  // distinct objects among the listed rows
  std::int64_t revisionsDeleted = 0;
  std::int64_t countFailed = 0;   // rows whose revision count could not be read
  std::int64_t oldestFailed = 0;  // rows whose oldest revision could not be read
  std::int64_t deleteFailed = 0;  // rows where deleting the oldest revision failed

  static PurgeSummary FromJob(std::size_t objectsSeen, const ui::RecordingProgress::Job& job);
  std::int64_t Failures() const { return countFailed + oldestFailed + deleteFailed; }
};

// "objects seen: N", "revisions deleted: N" and "failures: N" lines; each kind of failure that
// happened follows on a line of its own.
std::string FormatPurgeSummary(const PurgeSummary& summary);

}  // namespace revmgr
