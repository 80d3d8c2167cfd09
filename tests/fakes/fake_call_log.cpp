#include "tests/fakes/fake_call_log.h"

#include "platform/com/error_info.h"
#include "platform/com/utf.h"

namespace fakes {

HRESULT FakeCallLog::Record(const std::string& operation, std::string entry) {
  const int nth = counts_[operation]++;
  entries_.push_back(std::move(entry));
  HRESULT result = S_OK;
  for (const Failure& failure : failures_) {
    if (failure.operation == operation && (failure.nth < 0 || failure.nth == nth)) {
      result = failure.hr;
    }
  }
  if (FAILED(result)) com::SetThreadErrorInfo(u"Fake", com::ToUtf16(operation + " failed"));
  return result;
}

void FakeCallLog::Fail(const std::string& operation, HRESULT hr, int nth) {
  failures_.push_back({operation, hr, nth});
}

std::vector<std::string> FakeCallLog::EntriesStartingWith(const std::string& prefix) const {
  std::vector<std::string> result;
  for (const std::string& entry : entries_) {
    if (entry.rfind(prefix, 0) == 0) result.push_back(entry);
  }
  return result;
}

int FakeCallLog::CountOf(const std::string& operation) const {
  auto it = counts_.find(operation);
  return it == counts_.end() ? 0 : it->second;
}

}  // namespace fakes
