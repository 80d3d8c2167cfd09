#pragma once
// A fake query server (IVNQuery) that records every call in order, delivers rows a test gives it
// and can be told to fail any single step.
//
//   fakes::FakeVnQueryServer server;                  // CLSIDFromProgID(u"VnQuerySrv.VNQuery")
//   server.Query().SetRows({{{u"H1", u"P1"}, {}}});    // and CoCreateInstance now give this fake
//   server.Query().Fail(fakes::VnQueryOp::Execute, E_FAIL);
//   ... code under test ...
//   EXPECT_THAT(server.Query().CallLog(), ElementsAre("AddSelect(1)", "Execute()", ...));
//   server.FailCreation(E_OUTOFMEMORY);               // creation fails from now on
//
// Call log texts (values by fakes::VariantText):
//   AddSelect(<attribute>)
//   AddCondition(<attribute>,<operator>,<first>,<second>)  e.g.
//   AddCondition(1,0,VT_BSTR:"AB",VT_BSTR:"") SetRowOption(<option>)   Execute()   IsEOF()
//   MoveNext() GetValue(<index>)        IsNull(<column>)
//
// Rows: after a successful Execute the first row is current; MoveNext moves to the next one.
// GetValue(i) gives a copy of the current row's values[i] (S_OK); IsEOF is 1 past the last row.
// IsNull(c) is 1 when c is in the row's nullColumns or values[c - 1] is VT_NULL.
// Without a current row, or for an index outside the row, GetValue gives VT_EMPTY with
// SetMissingValueResult's code (E_FAIL by default) and IsNull gives 0 with S_OK.
// A failed Execute leaves no current row. A failing step (Fail) returns its code and changes
// nothing else; its out-values are left as the fake found them (GetValue: VT_EMPTY).
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/com/object.h"
#include "platform/com/variant.h"
#include "services/vnquery.h"
#include "tests/fakes/fake_class_registration.h"

namespace fakes {

enum class VnQueryOp {
  AddSelect,
  AddCondition,
  SetRowOption,
  Execute,
  IsEOF,
  MoveNext,
  GetValue,
  IsNull
};

struct FakeRow {
  std::vector<com::Variant> values;
  std::set<std::int32_t> nullColumns;  // IsNull column numbers (select-list position + 1)
};

// One recorded call with its arguments (those the operation does not take stay 0 / empty).
struct VnQueryCall {
  VnQueryCall(VnQueryOp op_, std::int32_t first_ = 0, std::int32_t second_ = 0,
              com::Variant value1_ = {}, com::Variant value2_ = {})
      : op(op_),
        first(first_),
        second(second_),
        value1(std::move(value1_)),
        value2(std::move(value2_)) {}
  VnQueryOp op;
  std::int32_t first = 0;   // attribute, option, index or column
  std::int32_t second = 0;  // AddCondition: operator
  com::Variant value1;      // AddCondition: first value
  com::Variant value2;      // AddCondition: second value
};

class FakeVnQuery : public com::Implements<IVNQuery> {
 public:
  // A new fake with one reference.
  static com::ComPtr<FakeVnQuery> Create();

  // --- set up ---
  void SetRows(std::vector<FakeRow> rows) { rows_ = std::move(rows); }
  // Makes every call of op return hr (S_OK restores normal behaviour). With nth >= 0 only the
  // nth call of op (counted from 0 over the fake's lifetime) fails.
  void Fail(VnQueryOp op, HRESULT hr, int nth = -1);
  void SetMissingValueResult(HRESULT hr) { missingValueResult_ = hr; }

  // --- inspection ---
  const std::vector<VnQueryCall>& Calls() const { return calls_; }
  std::vector<std::string> CallLog() const;
  int CountOf(VnQueryOp op) const;
  // Drops the recorded calls and the current row (rows and failures stay).
  void ClearCalls();

  // --- IVNQuery ---
  HRESULT IsEOF(std::int32_t* eof) override;
  HRESULT Execute() override;
  HRESULT MoveNext() override;
  HRESULT GetValue(std::int32_t index, VARIANT* value) override;
  HRESULT IsNull(std::int32_t column, std::int32_t* isNull) override;
  HRESULT AddSelect(std::int32_t attribute) override;
  HRESULT AddCondition(std::int32_t attribute, std::int32_t op, VARIANT first,
                       VARIANT second) override;
  HRESULT SetRowOption(std::int32_t option) override;

 private:
  struct Failure {
    VnQueryOp op;
    HRESULT hr;
    int nth;
  };
  // Records the call and answers the failure code scripted for it (S_OK when none).
  HRESULT Record(VnQueryCall call);
  const FakeRow* CurrentRow() const;

  std::vector<FakeRow> rows_;
  std::vector<Failure> failures_;
  std::vector<VnQueryCall> calls_;
  std::size_t current_ = 0;
  bool executed_ = false;
  HRESULT missingValueResult_ = E_FAIL;
};

// Text of one recorded call, as in CallLog.
std::string CallText(const VnQueryCall& call);

// Registers a class for CLSID_VNQuery and the ProgID "VnQuerySrv.VNQuery" whose creations hand
// out Query() (the same fake every time, so its log collects every use). Undone on destruction.
class FakeVnQueryServer {
 public:
  FakeVnQueryServer();
  FakeVnQuery& Query() { return *query_.Get(); }
  // Hands out another fake from now on (e.g. a fresh one per listing).
  void SetQuery(com::ComPtr<FakeVnQuery> query) { query_ = std::move(query); }
  // Every creation fails with hr from now on (S_OK: creations work again).
  void FailCreation(HRESULT hr) { registration_.FailCreation(hr); }
  int CreationRequests() const { return registration_.CreationRequests(); }

 private:
  com::ComPtr<FakeVnQuery> query_;
  FakeClassRegistration registration_;
};

}  // namespace fakes
