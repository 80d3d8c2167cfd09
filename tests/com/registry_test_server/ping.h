#pragma once
// The interface of the test server's one class, shared by the server and its tests.
#include "platform/com/unknown.h"

namespace com_test {

inline constexpr CLSID kPingClsid = com::MakeGuid("{7D3E0C11-5A1B-4C2D-9E3F-00000000B001}");

struct IPing : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{7D3E0C11-5A1B-4C2D-9E3F-00000000B002}");
  using Base = IUnknown;
  virtual int Ping() = 0;
};

}  // namespace com_test
