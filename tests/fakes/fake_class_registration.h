#pragma once
// Makes an object of a test's choosing the one that CoCreateInstance hands out for a class id
// (and, optionally, for a ProgID), for the lifetime of the registration.
//
//   auto query = fakes::FakeVnQuery::Create();
//   fakes::FakeClassRegistration registration(CLSID_VNQuery, [&] { return query.As... });
//
// The registration is undone on destruction; a ProgID that this process mapped before is mapped
// back to its previous class.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/com/class_object.h"
#include "platform/com/unknown.h"

namespace fakes {

class FakeClassRegistration {
 public:
  // Called for each creation; hands out the object (with a reference) to be queried for the
  // wanted interface, or null for a failed creation (with FailCreation's code, E_OUTOFMEMORY by
  // default).
  using Maker = std::function<com::ComPtr<IUnknown>()>;

  FakeClassRegistration(REFCLSID clsid, Maker maker, std::u16string progId = {});
  ~FakeClassRegistration();
  FakeClassRegistration(const FakeClassRegistration&) = delete;
  FakeClassRegistration& operator=(const FakeClassRegistration&) = delete;

  // From now on every creation fails with hr (S_OK: creations work again).
  void FailCreation(HRESULT hr) { failure_ = hr; }
  // Successful and failed requests to the class factory.
  int CreationRequests() const { return requests_; }

 private:
  class Factory;
  friend class Factory;
  HRESULT Create(IUnknown* outer, REFIID iid, void** object);

  Maker maker_;
  HRESULT failure_ = S_OK;
  int requests_ = 0;
  std::uint32_t cookie_ = 0;
  std::u16string progId_;
  std::optional<CLSID> previousProgIdClass_;
  com::ComPtr<IClassFactory> factory_;
};

}  // namespace fakes
