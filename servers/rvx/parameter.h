#pragma once
// One bound parameter of a command: name, data type, direction and its value. The command fills
// the value of an output parameter when it runs.
#include <cstdint>

#include "platform/com/bstr.h"
#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "platform/com/variant.h"
#include "services/rvx.h"

namespace rvx {

class Parameter : public com::Implements<IRvxParameter, ISupportErrorInfo> {
 public:
  // Copies name and value; throws std::bad_alloc.
  Parameter(BSTR name, std::int32_t dataType, std::int32_t direction, const VARIANT& value);

  // A new parameter with a reference for the caller (E_INVALIDARG for unknown codes).
  static HRESULT Create(BSTR name, std::int32_t dataType, std::int32_t direction,
                        const VARIANT& value, IRvxParameter** out);

  HRESULT get_Value(VARIANT* value) override;
  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

  std::int32_t DataType() const { return dataType_; }
  std::int32_t Direction() const { return direction_; }
  const com::BStr& Name() const { return name_; }
  const com::Variant& Value() const { return value_; }
  void SetValue(com::Variant value) { value_ = std::move(value); }

 private:
  com::BStr name_;
  std::int32_t dataType_;
  std::int32_t direction_;
  com::Variant value_;
};

}  // namespace rvx
