#include "tests/fakes/fake_vnquery.h"

#include "tests/fakes/variant_text.h"

namespace fakes {

com::ComPtr<FakeVnQuery> FakeVnQuery::Create() {
  com::ComPtr<FakeVnQuery> query;
  com::Object<FakeVnQuery>::Create(&query);
  return query;
}

void FakeVnQuery::Fail(VnQueryOp op, HRESULT hr, int nth) {
  failures_.push_back({op, hr, nth});
}

HRESULT FakeVnQuery::Record(VnQueryCall call) {
  const VnQueryOp op = call.op;
  const int nth = CountOf(op);
  calls_.push_back(std::move(call));
  HRESULT result = S_OK;
  for (const Failure& failure : failures_) {
    if (failure.op == op && (failure.nth < 0 || failure.nth == nth)) result = failure.hr;
  }
  return result;
}

std::vector<std::string> FakeVnQuery::CallLog() const {
  std::vector<std::string> log;
  for (const VnQueryCall& call : calls_) log.push_back(CallText(call));
  return log;
}

int FakeVnQuery::CountOf(VnQueryOp op) const {
  int count = 0;
  for (const VnQueryCall& call : calls_) count += call.op == op;
  return count;
}

void FakeVnQuery::ClearCalls() {
  calls_.clear();
  executed_ = false;
  current_ = 0;
}

const FakeRow* FakeVnQuery::CurrentRow() const {
  if (!executed_ || current_ >= rows_.size()) return nullptr;
  return &rows_[current_];
}

HRESULT FakeVnQuery::IsEOF(std::int32_t* eof) {
  HRESULT hr = Record({VnQueryOp::IsEOF});
  if (FAILED(hr)) return hr;
  if (!eof) return E_POINTER;
  *eof = CurrentRow() ? 0 : 1;
  return hr;
}

HRESULT FakeVnQuery::Execute() {
  HRESULT hr = Record({VnQueryOp::Execute});
  executed_ = SUCCEEDED(hr);
  current_ = 0;
  return hr;
}

HRESULT FakeVnQuery::MoveNext() {
  HRESULT hr = Record({VnQueryOp::MoveNext});
  if (FAILED(hr)) return hr;
  if (CurrentRow()) ++current_;
  return hr;
}

HRESULT FakeVnQuery::GetValue(std::int32_t index, VARIANT* value) {
  HRESULT hr = Record({VnQueryOp::GetValue, index});
  if (!value) return E_POINTER;
  VariantInit(value);
  if (FAILED(hr)) return hr;
  const FakeRow* row = CurrentRow();
  if (!row || index < 0 || static_cast<std::size_t>(index) >= row->values.size()) {
    return missingValueResult_;
  }
  HRESULT copied = VariantCopy(value, &row->values[index].Get());
  return FAILED(copied) ? copied : hr;
}

HRESULT FakeVnQuery::IsNull(std::int32_t column, std::int32_t* isNull) {
  HRESULT hr = Record({VnQueryOp::IsNull, column});
  if (FAILED(hr)) return hr;
  if (!isNull) return E_POINTER;
  *isNull = 0;
  if (const FakeRow* row = CurrentRow()) {
    bool null = row->nullColumns.count(column) > 0;
    if (column >= 1 && static_cast<std::size_t>(column) <= row->values.size() &&
        row->values[column - 1].Type() == VT_NULL) {
      null = true;
    }
    *isNull = null ? 1 : 0;
  }
  return hr;
}

HRESULT FakeVnQuery::AddSelect(std::int32_t attribute) {
  return Record({VnQueryOp::AddSelect, attribute});
}

HRESULT FakeVnQuery::AddCondition(std::int32_t attribute, std::int32_t op, VARIANT first,
                                  VARIANT second) {
  return Record(
      {VnQueryOp::AddCondition, attribute, op, com::Variant(first), com::Variant(second)});
}

HRESULT FakeVnQuery::SetRowOption(std::int32_t option) {
  return Record({VnQueryOp::SetRowOption, option});
}

std::string CallText(const VnQueryCall& call) {
  switch (call.op) {
    case VnQueryOp::AddSelect:
      return "AddSelect(" + std::to_string(call.first) + ")";
    case VnQueryOp::AddCondition:
      return "AddCondition(" + std::to_string(call.first) + "," + std::to_string(call.second) +
             "," + VariantText(call.value1) + "," + VariantText(call.value2) + ")";
    case VnQueryOp::SetRowOption:
      return "SetRowOption(" + std::to_string(call.first) + ")";
    case VnQueryOp::Execute:
      return "Execute()";
    case VnQueryOp::IsEOF:
      return "IsEOF()";
    case VnQueryOp::MoveNext:
      return "MoveNext()";
    case VnQueryOp::GetValue:
      return "GetValue(" + std::to_string(call.first) + ")";
    case VnQueryOp::IsNull:
      return "IsNull(" + std::to_string(call.first) + ")";
  }
  return "?";
}

FakeVnQueryServer::FakeVnQueryServer()
    : query_(FakeVnQuery::Create()),
      registration_(
          CLSID_VNQuery, [this] { return com::ComPtr<IUnknown>(query_->GetUnknown()); },
          kVnQueryProgId) {}

}  // namespace fakes
