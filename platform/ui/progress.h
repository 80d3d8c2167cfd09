#pragma once
// Progress of a long job: one service for the whole process, whose front end the process chooses
// (none by default; a host may draw a bar or record what was reported). A job begins with its
// task and the number of steps, reports how many steps are done, may add to named tallies along
// the way (what a host needs for its summary), and ends.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace ui {

class ProgressFrontEnd {
 public:
  virtual ~ProgressFrontEnd() = default;
  virtual void Begin(std::string_view task, std::int64_t total) = 0;
  virtual void Advance(std::int64_t done) = 0;
  // Adds by to the tally named counter of the running job.
  virtual void Count(std::string_view counter, std::int64_t by) = 0;
  virtual void End() = 0;
};

// Through the process's front end.
void BeginProgress(std::string_view task, std::int64_t total);
void AdvanceProgress(std::int64_t done);
void CountProgress(std::string_view counter, std::int64_t by = 1);
void EndProgress();

// Chooses the front end (null: none); returns the one it replaces.
std::shared_ptr<ProgressFrontEnd> SetProgressFrontEnd(std::shared_ptr<ProgressFrontEnd> frontEnd);

// A job from construction to the end of the scope, also when the scope is left by an exception.
class ScopedProgress {
 public:
  ScopedProgress(std::string_view task, std::int64_t total) { BeginProgress(task, total); }
  ~ScopedProgress() { EndProgress(); }
  ScopedProgress(const ScopedProgress&) = delete;
  ScopedProgress& operator=(const ScopedProgress&) = delete;

  void Advance(std::int64_t done) { AdvanceProgress(done); }
  void Count(std::string_view counter, std::int64_t by = 1) { CountProgress(counter, by); }
};

// Keeps what the last job reported: its task, total, steps done, tallies and whether it ended.
class RecordingProgress : public ProgressFrontEnd {
 public:
  struct Job {
    std::string task;
    std::int64_t total = 0;
    std::int64_t done = 0;
    std::int64_t advances = 0;  // how many times progress was reported
    std::map<std::string, std::int64_t, std::less<>> tallies;
    bool ended = false;

    // The tally, 0 when nothing was counted under that name.
    std::int64_t Tally(std::string_view counter) const;
  };

  void Begin(std::string_view task, std::int64_t total) override;
  void Advance(std::int64_t done) override;
  void Count(std::string_view counter, std::int64_t by) override;
  void End() override;

  Job LastJob() const;
  std::size_t Jobs() const;

 private:
  mutable std::mutex mutex_;
  Job job_;
  std::size_t jobs_ = 0;
};

}  // namespace ui
