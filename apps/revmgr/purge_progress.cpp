#include "apps/revmgr/purge_progress.h"

#include <algorithm>

#include "browser/list_page_actions.h"

namespace revmgr {

namespace {

constexpr int kBarWidth = 30;

}  // namespace

std::string ProgressLine(std::string_view task, std::int64_t done, std::int64_t total) {
  const std::int64_t shown = std::clamp<std::int64_t>(done, 0, std::max<std::int64_t>(total, 0));
  const int percent = total > 0 ? static_cast<int>(shown * 100 / total) : 100;
  const int filled = total > 0 ? static_cast<int>(shown * kBarWidth / total) : kBarWidth;
  std::string line(task);
  line += " [";
  line.append(static_cast<std::size_t>(filled), '#');
  line.append(static_cast<std::size_t>(kBarWidth - filled), ' ');
  line += "] ";
  const std::string number = std::to_string(percent);
  line.append(3 - std::min<std::size_t>(3, number.size()), ' ');
  line += number + "% " + std::to_string(shown) + "/" +
          std::to_string(std::max<std::int64_t>(total, 0));
  return line;
}

void PurgeProgress::Begin(std::string_view task, std::int64_t total) {
  record_.Begin(task, total);
  task_ = task;
  total_ = total;
  drawn_.clear();
  Draw(0);
}

void PurgeProgress::Advance(std::int64_t done) {
  record_.Advance(done);
  Draw(done);
}

void PurgeProgress::Count(std::string_view counter, std::int64_t by) {
  record_.Count(counter, by);
}

void PurgeProgress::End() {
  record_.End();
  if (isTerminal_ && !drawn_.empty()) out_ << "\n" << std::flush;
  drawn_.clear();
}

void PurgeProgress::Draw(std::int64_t done) {
  if (!isTerminal_) return;
  std::string line = ProgressLine(task_, done, total_);
  // A redraw per row would flood the terminal: only when the percentage or bar moves.
  const auto cut = line.rfind(' ');
  if (!drawn_.empty() && drawn_.compare(0, cut, line, 0, cut) == 0 && done < total_) return;
  out_ << "\r" << line << std::flush;
  drawn_ = std::move(line);
}

PurgeSummary PurgeSummary::FromJob(std::size_t objectsSeen, const ui::RecordingProgress::Job& job) {
  PurgeSummary summary;
  summary.objectsSeen = objectsSeen;
  summary.revisionsDeleted = job.Tally(browser::kTallyRevisionsDeleted);
  summary.countFailed = job.Tally(browser::kTallyCountFailed);
  summary.oldestFailed = job.Tally(browser::kTallyOldestFailed);
  summary.deleteFailed = job.Tally(browser::kTallyDeleteFailed);
  return summary;
}

std::string FormatPurgeSummary(const PurgeSummary& summary) {
  std::string text = "objects seen: " + std::to_string(summary.objectsSeen) + "\n" +
                     "revisions deleted: " + std::to_string(summary.revisionsDeleted) + "\n" +
                     "failures: " + std::to_string(summary.Failures()) + "\n";
  const std::pair<const char*, std::int64_t> kinds[] = {
      {browser::kTallyCountFailed, summary.countFailed},
      {browser::kTallyOldestFailed, summary.oldestFailed},
      {browser::kTallyDeleteFailed, summary.deleteFailed},
  };
  for (const auto& [name, count] : kinds) {
    if (count > 0) text += "  " + std::string(name) + ": " + std::to_string(count) + "\n";
  }
  return text;
}

}  // namespace revmgr
