#pragma once
// Running queries through IVNQuery against a store that is the environment's current project.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/com/variant.h"
#include "servers/store/revision_store.h"
#include "services/vnquery.h"
#include "tests/support/variable_scope.h"

namespace vnquery_test {

using ScopedEnv = test_support::ScopedVariable;

struct Cond {
  std::int32_t attribute;
  std::int32_t op;
  com::Variant first;
  com::Variant second = com::Variant(u"");
};

struct QueryResult {
  HRESULT addResult = S_OK;  // the first failing AddSelect/AddCondition, else S_OK
  HRESULT executeResult = S_OK;
  std::vector<std::vector<com::Variant>> rows;
};

// A new query object, the way callers make one (by its ProgID).
com::ComPtr<IVNQuery> NewQuery();

QueryResult RunQuery(const std::vector<std::int32_t>& select, const std::vector<Cond>& conditions,
                     std::int32_t rowOption = -1);

// Texts of column `index` of every row (VT_BSTR as UTF-8, VT_NULL as "<null>").
std::vector<std::string> Texts(const QueryResult& result, std::size_t index);

com::Variant Text(const char* utf8);
com::Variant Int(std::int32_t value);
// The automation date of local calendar fields.
com::Variant LocalDate(int year, int month, int day, int hour, int minute, int second);

}  // namespace vnquery_test
