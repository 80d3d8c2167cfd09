#pragma once
// The parameters of a command, in append order: position 0 binds :1, position 1 binds :2, ...
#include <vector>

#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "servers/rvx/parameter.h"
#include "services/rvx.h"

namespace rvx {

class Parameters : public com::Implements<IRvxParameters, ISupportErrorInfo> {
 public:
  HRESULT get_Item(VARIANT index, IRvxParameter** parameter) override;
  HRESULT Append(IRvxParameter* parameter) override;
  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

  const std::vector<com::ComPtr<Parameter>>& Items() const { return items_; }

 private:
  std::vector<com::ComPtr<Parameter>> items_;
};

}  // namespace rvx
