#pragma once
// The server object: opens project databases through the product home's project list and finds
// the ones already open in this process.
#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "services/rvx.h"

namespace rvx {

class Server : public com::Implements<IRvxServer, ISupportErrorInfo> {
 public:
  HRESULT OpenDatabase(BSTR projectName, IRvxDatabase** database) override;
  HRESULT FindDatabase(VARIANT projectName, IRvxDatabase** database) override;
  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;
};

}  // namespace rvx
