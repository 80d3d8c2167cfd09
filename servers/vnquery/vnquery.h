#pragma once
// The query server object: IVNQuery over the revision store of the environment's current
// project (_#INT#_PROJECT, resolved through the product home's project list).
//
// Values come back as VT_BSTR (texts), VT_I4 (codes; callers may read them as 16-bit), VT_DATE
// (local automation dates) and VT_NULL. GetValue counts select-list positions from 0, IsNull
// from 1. SetRowOption: -1 (the default) every row, n >= 0 at most n rows.
// A bad AddSelect or AddCondition (unknown attribute or operator, a value of the wrong type)
// fails at once and also makes the next Execute fail, so that nothing is silently widened.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "servers/store/revision_store.h"
#include "services/vnquery.h"

namespace vnquery {

inline constexpr char16_t kSource[] = u"VnQuerySrv.VNQuery";
inline constexpr char kProjectVariable[] = "_#INT#_PROJECT";

class VnQuery : public com::Implements<IVNQuery, ISupportErrorInfo> {
 public:
  VnQuery() = default;
  ~VnQuery() override;

  HRESULT IsEOF(std::int32_t* eof) override;
  HRESULT Execute() override;
  HRESULT MoveNext() override;
  HRESULT GetValue(std::int32_t index, VARIANT* value) override;
  HRESULT IsNull(std::int32_t column, std::int32_t* isNull) override;
  HRESULT AddSelect(std::int32_t attribute) override;
  HRESULT AddCondition(std::int32_t attribute, std::int32_t op, VARIANT first,
                       VARIANT second) override;
  HRESULT SetRowOption(std::int32_t option) override;

  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  HRESULT Fail(HRESULT hr, const std::string& description);
  HRESULT RecordFault(const std::string& description);
  bool HasRow() const;
  void CloseCursor();

  store::RevisionQuery query_;
  std::optional<std::string> fault_;  // the first bad AddSelect/AddCondition
  std::int64_t rowLimit_ = -1;
  // The cursor reads through the store's connection: declared after it, released before it.
  std::unique_ptr<store::RevisionStore> store_;
  std::unique_ptr<store::RevisionCursor> cursor_;
  std::int64_t position_ = 0;
};

// Creates a query object and queries it for iid.
HRESULT CreateVnQuery(REFIID iid, void** out);

}  // namespace vnquery
