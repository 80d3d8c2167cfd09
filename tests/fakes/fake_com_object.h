#pragma once
// Base of the fakes: a self-counting object whose interfaces can be withheld or made to fail
// QueryInterface, and which says it leaves error information (ISupportErrorInfo) for them all.
#include <atomic>
#include <map>
#include <set>

#include "platform/com/error_info.h"
#include "platform/com/object.h"

namespace fakes {

template <class... Interfaces>
class FakeComObject : public com::Implements<Interfaces...> {
 public:
  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (auto it = queryFailures_.find(iid); it != queryFailures_.end()) return it->second;
    if (withheld_.count(iid)) return E_NOINTERFACE;
    return this->InternalQueryInterface(iid, out);
  }
  ULONG AddRef() override { return ++count_; }
  ULONG Release() override {
    const ULONG remaining = --count_;
    if (remaining == 0) delete this;
    return remaining;
  }

  // The object answers E_NOINTERFACE for iid.
  void Withhold(REFIID iid) { withheld_.insert(iid); }
  void Offer(REFIID iid) { withheld_.erase(iid); }
  // QueryInterface for iid fails with hr.
  void FailQuery(REFIID iid, HRESULT hr) { queryFailures_[iid] = hr; }
  ULONG References() const { return count_; }

 protected:
  FakeComObject() = default;

 private:
  std::atomic<ULONG> count_{0};
  std::set<GUID> withheld_;
  std::map<GUID, HRESULT> queryFailures_;
};

// A new fake with one reference.
template <class T, class... Args>
com::ComPtr<T> MakeFake(Args&&... args) {
  return com::ComPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace fakes
