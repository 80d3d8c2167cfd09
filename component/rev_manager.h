#pragma once
// The revision manager object: works on the revisions of one model object through the revision
// package, and shows the revision manager sheet.
//
// Two forms: class-factory instances (CreateRevManager: reference counted, plain or aggregated,
// destroyed again when the construction checks fail) and direct instances (DirectRevManager: a
// local object whose constructor runs the checks and keeps the result).
//
// No member lets an error escape as an exception: a raised failure (ComError, exhausted memory)
// becomes the member's result code with the thread's error information set (source
// "VNMORMgr.RevManager.1", a description naming the failed step).
#include <cstdint>

#include "component/rev_manager_interface.h"
#include "host/pxd_db_base.h"
#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "platform/com/variant.h"

namespace component {

class RevManager : public PxdDbBase, public com::Implements<ISupportErrorInfo, IRevManager> {
 public:
  // Mode 2, function code 54, project connection; the first failure sets the thread's error
  // information and returns its code.
  HRESULT RunConstructionChecks();
  // Class-factory creation runs the checks (and holds a module lock while the instance lives).
  HRESULT FinalConstruct();

  bool AttachDatabase();
  void EnsureProjectName();
  bool GetProject();

  const com::Variant& ObjectHandleValue() const { return objectHandle_; }
  const com::Variant& RevisionName() const { return revisionName_; }
  const com::Variant& RevisionRemark() const { return revisionRemark_; }

  // IDispatch (rev_manager_dispatch.cpp)
  HRESULT GetTypeInfoCount(std::uint32_t* count) override;
  HRESULT GetTypeInfo(std::uint32_t index, LCID lcid, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(REFIID reserved, LPOLESTR* names, std::uint32_t count, LCID lcid,
                        DISPID* ids) override;
  HRESULT Invoke(DISPID member, REFIID reserved, LCID lcid, std::uint16_t flags, DISPPARAMS* params,
                 VARIANT* result, EXCEPINFO* exception, std::uint32_t* argError) override;

  // IRevManager
  HRESULT put_ObjectHandle(BSTR newVal) override;
  HRESULT Delete(BSTR newVal) override;
  HRESULT ShowRevManagerDlg() override;
  HRESULT Rename(BSTR newRevisionName, BSTR newRevisionRemark) override;
  HRESULT GetOldestRevision(BSTR* pObjectHandle, BSTR* pRevisionName,
                            BSTR* pRevisionRemark) override;
  HRESULT GetRevisionCount(std::int32_t* count) override;

  // ISupportErrorInfo
  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

 protected:
  RevManager();
  ~RevManager() override;

 private:
  bool holdsModuleLock_ = false;
  com::Variant objectHandle_;
  com::Variant revisionRemark_;
  com::Variant revisionName_;
};

// A revision manager made as a local object for one action: its constructor runs the checks and
// keeps their result; it answers no interface queries and does not count references.
class DirectRevManager final : public RevManager {
 public:
  DirectRevManager();
  HRESULT ConstructionResult() const { return constructionResult_; }

  HRESULT QueryInterface(REFIID, void** out) override {
    if (out) *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 0; }
  ULONG Release() override { return 0; }

 private:
  HRESULT constructionResult_;
};

// The class factory's instance creator: plain without outer (any interface), aggregated with one
// (IUnknown only, else CLASS_E_NOAGGREGATION). A failed check destroys the instance and returns
// the check's code, with the thread's error information left set.
HRESULT CreateRevManager(IUnknown* outer, REFIID iid, void** object);

// The module lock a class-factory instance holds while it lives; the module sets these.
using ModuleLockFunction = void (*)();
void SetRevManagerModuleLock(ModuleLockFunction lock, ModuleLockFunction unlock);

inline constexpr char16_t kRevManagerErrorSource[] = u"VNMORMgr.RevManager.1";

}  // namespace component
