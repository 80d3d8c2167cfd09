#include "platform/ui/progress.h"

namespace ui {

namespace {

std::mutex g_frontEndMutex;

std::shared_ptr<ProgressFrontEnd>& FrontEnd() {
  static std::shared_ptr<ProgressFrontEnd> frontEnd;
  return frontEnd;
}

std::shared_ptr<ProgressFrontEnd> CurrentFrontEnd() {
  std::lock_guard lock(g_frontEndMutex);
  return FrontEnd();
}

}  // namespace

void BeginProgress(std::string_view task, std::int64_t total) {
  if (auto frontEnd = CurrentFrontEnd()) frontEnd->Begin(task, total);
}

void AdvanceProgress(std::int64_t done) {
  if (auto frontEnd = CurrentFrontEnd()) frontEnd->Advance(done);
}

void CountProgress(std::string_view counter, std::int64_t by) {
  if (auto frontEnd = CurrentFrontEnd()) frontEnd->Count(counter, by);
}

void EndProgress() {
  if (auto frontEnd = CurrentFrontEnd()) frontEnd->End();
}

std::shared_ptr<ProgressFrontEnd> SetProgressFrontEnd(std::shared_ptr<ProgressFrontEnd> frontEnd) {
  std::lock_guard lock(g_frontEndMutex);
  std::swap(FrontEnd(), frontEnd);
  return frontEnd;
}

std::int64_t RecordingProgress::Job::Tally(std::string_view counter) const {
  auto it = tallies.find(counter);
  return it == tallies.end() ? 0 : it->second;
}

void RecordingProgress::Begin(std::string_view task, std::int64_t total) {
  std::lock_guard lock(mutex_);
  job_ = Job{};
  job_.task = task;
  job_.total = total;
  ++jobs_;
}

void RecordingProgress::Advance(std::int64_t done) {
  std::lock_guard lock(mutex_);
  job_.done = done;
  ++job_.advances;
}

void RecordingProgress::Count(std::string_view counter, std::int64_t by) {
  std::lock_guard lock(mutex_);
  auto it = job_.tallies.find(counter);
  if (it == job_.tallies.end()) it = job_.tallies.emplace(std::string(counter), 0).first;
  it->second += by;
}

void RecordingProgress::End() {
  std::lock_guard lock(mutex_);
  job_.ended = true;
}

RecordingProgress::Job RecordingProgress::LastJob() const {
  std::lock_guard lock(mutex_);
  return job_;
}

std::size_t RecordingProgress::Jobs() const {
  std::lock_guard lock(mutex_);
  return jobs_;
}

}  // namespace ui
