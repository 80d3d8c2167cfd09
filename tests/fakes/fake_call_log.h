#pragma once
// The shared, ordered record of calls that several fake objects make into one log, with scripted
// failures per operation.
//
//   log->Fail("Database.Commit", E_FAIL);        // every Commit fails
//   log->Fail("Parameters.Append", E_FAIL, 1);   // only the second Append (counted from 0)
//   EXPECT_THAT(log->Entries(), ElementsAre("Command.Create", ...));
//
// A failing step returns its code and leaves error information for the calling thread (source
// "Fake", description "<operation> failed"), which the fakes offer through ISupportErrorInfo.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/result.h"

namespace fakes {

class FakeCallLog {
 public:
  // Records entry for operation and answers the code scripted for this call (S_OK when none).
  HRESULT Record(const std::string& operation, std::string entry);

  void Fail(const std::string& operation, HRESULT hr, int nth = -1);
  void ClearFailures() { failures_.clear(); }

  const std::vector<std::string>& Entries() const { return entries_; }
  // Entries starting with prefix (e.g. "Database.").
  std::vector<std::string> EntriesStartingWith(const std::string& prefix) const;
  int CountOf(const std::string& operation) const;
  void Clear() {
    entries_.clear();
    counts_.clear();
  }

 private:
  struct Failure {
    std::string operation;
    HRESULT hr;
    int nth;
  };
  std::vector<std::string> entries_;
  std::map<std::string, int> counts_;
  std::vector<Failure> failures_;
};

using FakeCallLogPtr = std::shared_ptr<FakeCallLog>;

}  // namespace fakes
