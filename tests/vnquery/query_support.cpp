#include "query_support.h"

#include "platform/com/class_object.h"
#include "platform/com/date.h"
#include "servers/vnquery/vnquery_server.h"

namespace vnquery_test {

com::ComPtr<IVNQuery> NewQuery() {
  vnquery::RegisterInProcess();
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(kVnQueryProgId, &clsid), S_OK);
  com::ComPtr<IVNQuery> query;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IVNQuery::IID_,
                             query.ReleaseAndGetVoidAddress()),
            S_OK);
  return query;
}

QueryResult RunQuery(const std::vector<std::int32_t>& select, const std::vector<Cond>& conditions,
                     std::int32_t rowOption) {
  QueryResult result;
  auto query = NewQuery();
  if (!query) {
    result.executeResult = E_FAIL;
    return result;
  }
  auto note = [&](HRESULT hr) {
    if (FAILED(hr) && SUCCEEDED(result.addResult)) result.addResult = hr;
  };
  for (std::int32_t attribute : select) note(query->AddSelect(attribute));
  for (const Cond& c : conditions)
    note(query->AddCondition(c.attribute, c.op, c.first.Get(), c.second.Get()));
  query->SetRowOption(rowOption);
  result.executeResult = query->Execute();
  // Failures are counted rather than asserted per value: a listing reads a million values.
  std::int64_t failedCalls = 0;
  std::int32_t eof = 1;
  failedCalls += query->IsEOF(&eof) != S_OK;
  while (!eof) {
    std::vector<com::Variant> row(select.size());
    for (std::size_t i = 0; i < select.size(); ++i) {
      failedCalls += query->GetValue(static_cast<std::int32_t>(i), row[i].Out()) != S_OK;
    }
    result.rows.push_back(std::move(row));
    failedCalls += query->MoveNext() != S_OK;
    failedCalls += query->IsEOF(&eof) != S_OK;
  }
  EXPECT_EQ(failedCalls, 0);
  return result;
}

std::vector<std::string> Texts(const QueryResult& result, std::size_t index) {
  std::vector<std::string> texts;
  for (const auto& row : result.rows) {
    texts.push_back(row[index].Type() == VT_NULL ? "<null>" : row[index].TextUtf8());
  }
  return texts;
}

com::Variant Text(const char* utf8) {
  return com::Variant::Utf8(utf8);
}

com::Variant Int(std::int32_t value) {
  return com::Variant(value);
}

com::Variant LocalDate(int year, int month, int day, int hour, int minute, int second) {
  DATE date = 0;
  EXPECT_TRUE(com::DateFromFields({year, month, day, hour, minute, second, 0}, &date));
  return com::Variant(com::DateTag{date});
}

}  // namespace vnquery_test
