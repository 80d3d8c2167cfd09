#pragma once
// The dual interface of the revision manager object. Slot order after IDispatch's: the six members
// below, DISPIDs 1 to 6.
#include <cstdint>

#include "component/rev_manager_ids.h"
#include "platform/com/bstr.h"
#include "platform/com/dispatch.h"

struct IRevManager : IDispatch {
  static constexpr GUID IID_ = IID_IRevManager;
  using Base = IDispatch;
  // Property ObjectHandle (write only), DISPID 1.
  virtual HRESULT put_ObjectHandle(BSTR newVal) = 0;
  // DISPID 2.
  virtual HRESULT Delete(BSTR newVal) = 0;
  // DISPID 3.
  virtual HRESULT ShowRevManagerDlg() = 0;
  // DISPID 4.
  virtual HRESULT Rename(BSTR newRevisionName, BSTR newRevisionRemark) = 0;
  // DISPID 5.
  virtual HRESULT GetOldestRevision(BSTR* pObjectHandle, BSTR* pRevisionName,
                                    BSTR* pRevisionRemark) = 0;
  // DISPID 6 (the count is the return value in dispatch).
  virtual HRESULT GetRevisionCount(std::int32_t* count) = 0;
};

enum : DISPID {
  kDispIdObjectHandle = 1,
  kDispIdDelete = 2,
  kDispIdShowRevManagerDlg = 3,
  kDispIdRename = 4,
  kDispIdGetOldestRevision = 5,
  kDispIdGetRevisionCount = 6,
};
