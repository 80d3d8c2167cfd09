#include "servers/vnquery/vnquery.h"

#include <cstdlib>
#include <new>

#include "platform/com/utf.h"
#include "servers/vnquery/condition_value.h"

namespace vnquery {

VnQuery::~VnQuery() {
  CloseCursor();
}

void VnQuery::CloseCursor() {
  cursor_.reset();
  store_.reset();
  position_ = 0;
}

HRESULT VnQuery::Fail(HRESULT hr, const std::string& description) {
  auto wide = com::TryToUtf16(description);
  com::SetThreadErrorInfo(kSource, wide ? *wide : u"query failed", IVNQuery::IID_);
  return hr;
}

HRESULT VnQuery::RecordFault(const std::string& description) {
  if (!fault_) fault_ = description;
  return Fail(E_INVALIDARG, description);
}

bool VnQuery::HasRow() const {
  return cursor_ && !cursor_->AtEnd() && (rowLimit_ < 0 || position_ < rowLimit_);
}

HRESULT VnQuery::IsEOF(std::int32_t* eof) {
  if (!eof) return E_POINTER;
  *eof = HasRow() ? 0 : 1;
  return S_OK;
}

HRESULT VnQuery::Execute() {
  try {
    CloseCursor();
    if (fault_) return Fail(E_INVALIDARG, *fault_);
    const char* project = std::getenv(kProjectVariable);
    if (!project || !*project) {
      return Fail(E_FAIL, std::string("no current project: ") + kProjectVariable + " is not set");
    }
    std::string error;
    auto store = store::OpenProjectStore(project, &error);
    if (!store)
      return Fail(E_FAIL, "cannot open project \"" + std::string(project) + "\": " + error);
    store_ = std::move(store);
    cursor_ = store_->OpenRevisionQuery(query_);
    return S_OK;
  } catch (const std::bad_alloc&) {
    CloseCursor();
    return Fail(E_OUTOFMEMORY, "out of memory");
  } catch (const store::StoreError& e) {
    CloseCursor();
    return Fail(e.Kind() == store::StoreErrorKind::InvalidQuery ? E_INVALIDARG : E_FAIL, e.what());
  } catch (const std::exception& e) {
    CloseCursor();
    return Fail(E_FAIL, e.what());
  }
}

HRESULT VnQuery::MoveNext() {
  if (!HasRow()) return S_FALSE;
  try {
    cursor_->MoveNext();
    ++position_;
    return S_OK;
  } catch (const std::exception& e) {
    CloseCursor();
    return Fail(E_FAIL, e.what());
  }
}

HRESULT VnQuery::GetValue(std::int32_t index, VARIANT* value) {
  if (!value) return E_POINTER;
  VariantInit(value);
  if (!HasRow()) return Fail(E_UNEXPECTED, "there is no current row");
  if (index < 0 || static_cast<std::size_t>(index) >= cursor_->ColumnCount()) {
    return Fail(E_INVALIDARG, "no select-list position " + std::to_string(index));
  }
  try {
    if (!VariantFromValue(cursor_->Get(static_cast<std::size_t>(index)), value)) {
      return Fail(E_FAIL,
                  "the value at position " + std::to_string(index) + " cannot be handed out");
    }
    return S_OK;
  } catch (const std::bad_alloc&) {
    return Fail(E_OUTOFMEMORY, "out of memory");
  }
}

HRESULT VnQuery::IsNull(std::int32_t column, std::int32_t* isNull) {
  if (!isNull) return E_POINTER;
  *isNull = 0;
  if (!HasRow()) return Fail(E_UNEXPECTED, "there is no current row");
  if (column < 1 || static_cast<std::size_t>(column) > cursor_->ColumnCount()) {
    return Fail(E_INVALIDARG, "no column " + std::to_string(column));
  }
  try {
    *isNull =
        std::holds_alternative<store::Null>(cursor_->Get(static_cast<std::size_t>(column - 1))) ? 1
                                                                                                : 0;
    return S_OK;
  } catch (const std::bad_alloc&) {
    return Fail(E_OUTOFMEMORY, "out of memory");
  }
}

HRESULT VnQuery::AddSelect(std::int32_t attribute) {
  if (!store::KindOfAttribute(attribute)) {
    return RecordFault("unknown attribute " + std::to_string(attribute));
  }
  try {
    query_.select.push_back(static_cast<store::Attribute>(attribute));
    return S_OK;
  } catch (const std::bad_alloc&) {
    return RecordFault("out of memory");
  }
}

HRESULT VnQuery::AddCondition(std::int32_t attribute, std::int32_t op, VARIANT first,
                              VARIANT second) {
  try {
    auto kind = store::KindOfAttribute(attribute);
    if (!kind) return RecordFault("unknown attribute " + std::to_string(attribute));
    if (!store::IsKnownOperator(op)) return RecordFault("unknown operator " + std::to_string(op));
    const auto oper = static_cast<store::Operator>(op);
    std::string fault;
    auto firstValue = ValueFromVariant(first, *kind, &fault);
    if (!firstValue) return RecordFault(fault);
    store::Value secondValue = store::Null{};
    if (oper == store::Operator::Between) {  // the others take one value
      auto value = ValueFromVariant(second, *kind, &fault);
      if (!value) return RecordFault(fault);
      secondValue = std::move(*value);
    }
    store::Condition condition{static_cast<store::Attribute>(attribute), oper,
                               std::move(*firstValue), std::move(secondValue)};
    store::RevisionQuery single{{}, {condition}};
    std::string invalid = store::ValidateQuery(single);
    if (!invalid.empty()) return RecordFault(invalid);
    query_.conditions.push_back(std::move(condition));
    return S_OK;
  } catch (const std::bad_alloc&) {
    return RecordFault("out of memory");
  }
}

HRESULT VnQuery::SetRowOption(std::int32_t option) {
  if (option < -1) return Fail(E_INVALIDARG, "row option " + std::to_string(option));
  rowLimit_ = option;
  return S_OK;
}

HRESULT VnQuery::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IVNQuery::IID_ ? S_OK : S_FALSE;
}

HRESULT CreateVnQuery(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  com::ComPtr<VnQuery> object;
  HRESULT hr = com::Object<VnQuery>::Create(&object);
  if (FAILED(hr)) return hr;
  return object->QueryInterface(iid, out);
}

}  // namespace vnquery
