#pragma once
// The query server over the revision data, as its callers use it.
#include <cstdint>

#include "platform/com/guid.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

inline constexpr char16_t kVnQueryProgId[] = u"VnQuerySrv.VNQuery";
inline constexpr CLSID CLSID_VNQuery = com::MakeGuid("{DE88D7F8-D197-4574-8851-5D900AA48E25}");

struct IVNQuery : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{FB461335-74B5-41C9-A55A-68E9D0FE7BE5}");
  using Base = IUnknown;
  // Non-zero when there is no current row.
  virtual HRESULT IsEOF(std::int32_t* eof) = 0;
  // Runs the query built so far; a failure means no rows.
  virtual HRESULT Execute() = 0;
  virtual HRESULT MoveNext() = 0;
  // Value of the current row at a select-list position counted from 0.
  virtual HRESULT GetValue(std::int32_t index, VARIANT* value) = 0;
  // Non-zero when that column (select-list position counted from 1) of the current row is null.
  virtual HRESULT IsNull(std::int32_t column, std::int32_t* isNull) = 0;
  virtual HRESULT AddSelect(std::int32_t attribute) = 0;
  // Conditions on different attributes must all hold; two on one attribute are alternatives.
  virtual HRESULT AddCondition(std::int32_t attribute, std::int32_t op, VARIANT first,
                               VARIANT second) = 0;
  // -1 asks for every matching row.
  virtual HRESULT SetRowOption(std::int32_t option) = 0;
};
