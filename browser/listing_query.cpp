#include "browser/listing_query.h"

#include <array>
#include <optional>

#include "browser/listing_conditions.h"
#include "browser/model_type_catalogue.h"
#include "browser/model_type_classification.h"
#include "browser/query_value.h"
#include "platform/com/class_object.h"
#include "services/vnquery.h"

namespace browser {
namespace {

// Value indexes 0 to 10 of a row follow this order.
constexpr std::array<QueryAttribute, 11> kSelectList = {
    QueryAttribute::ObjectHandle, QueryAttribute::ObjectName,   QueryAttribute::RevisionRemark,
    QueryAttribute::RevisionName, QueryAttribute::CreatedBy,    QueryAttribute::CreationDate,
    QueryAttribute::ModifiedBy,   QueryAttribute::ModifiedDate, QueryAttribute::DatabankName,
    QueryAttribute::TypeCode,     QueryAttribute::SubTypeCode,
};

enum ValueIndex : std::int32_t {
  kHandle = 0,
  kObjectName = 1,
  kRemark = 2,
  kRevisionName = 3,
  kCreatedBy = 4,
  kCreationDate = 5,
  kModifiedBy = 6,
  kModifiedDate = 7,
  kDatabank = 8,
  kTypeCode = 9,
  kSubTypeCode = 10,
};

// IsNull counts columns from 1.
constexpr std::int32_t ColumnOf(ValueIndex index) {
  return index + 1;
}

// Rows whose revision name is two blanks are not listed.
constexpr char16_t kBlankRevisionName[] = u"  ";

com::ComPtr<IVNQuery> CreateQueryServer() {
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(kVnQueryProgId, &clsid))) return nullptr;
  com::ComPtr<IVNQuery> query;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IVNQuery::IID_,
                                query.ReleaseAndGetVoidAddress());
  if (FAILED(hr)) return nullptr;
  return query;
}

com::Variant ReadValue(IVNQuery& query, ValueIndex index) {
  com::Variant value;
  query.GetValue(index, value.Out());
  return value;
}

std::string ReadText(IVNQuery& query, ValueIndex index) {
  return TextFromValue(ReadValue(query, index).Get());
}

// A column the server cannot answer about is taken as null: no value is read for it.
std::string ReadNullableText(IVNQuery& query, ValueIndex index) {
  std::int32_t isNull = 0;
  if (FAILED(query.IsNull(ColumnOf(index), &isNull)) || isNull) return {};
  return ReadText(query, index);
}

RevisionRow ReadRow(IVNQuery& query, const ModelTypeEntry& entry) {
  RevisionRow row;
  row.handle = ReadText(query, kHandle);
  row.objectName = ReadText(query, kObjectName);
  row.remark = ReadNullableText(query, kRemark);
  row.revisionName = ReadNullableText(query, kRevisionName);
  row.createdBy = ReadText(query, kCreatedBy);
  row.creationDate = FormatRevisionDate(ReadValue(query, kCreationDate).Get());
  row.modifiedBy = ReadText(query, kModifiedBy);
  row.modifiedDate = FormatRevisionDate(ReadValue(query, kModifiedDate).Get());
  const std::string databank = ReadText(query, kDatabank);
  const std::int16_t typeCode = Int16FromValue(ReadValue(query, kTypeCode).Get());
  const std::int16_t subTypeCode = Int16FromValue(ReadValue(query, kSubTypeCode).Get());
  if (&entry == &ModelTypeCatalogue::AllModels()) {
    row.typeText = ClassifyModelType(databank, typeCode, subTypeCode);
  } else {
    row.typeText = entry.displayName;
  }
  return row;
}

// A server that cannot tell whether a row is current has none.
bool AtEnd(IVNQuery& query) {
  std::int32_t eof = 0;
  return FAILED(query.IsEOF(&eof)) || eof != 0;
}

std::optional<DATE> BoundOf(const DateParseResult& result) {
  if (!result.IsValid()) return std::nullopt;
  return result.value;
}

}  // namespace

ListingOutcome RunListingQuery(const ListingRequest& request) {
  ListingOutcome outcome;
  // Released on every path when it leaves scope.
  const com::ComPtr<IVNQuery> query = CreateQueryServer();
  if (!query) return outcome;
  outcome.serverCreated = true;

  for (QueryAttribute attribute : kSelectList) query->AddSelect(ToCode(attribute));
  AddNameCondition(*query, request.objectName);
  AddQueryCondition(*query, QueryAttribute::RevisionName, QueryOperator::NotEqual,
                    com::Variant(kBlankRevisionName));

  const ModelTypeEntry& entry = ModelTypeCatalogue::Find(request.modelType);
  outcome.modelTypeUsed = entry.displayName;
  AddModelTypeConditions(*query, entry);

  outcome.createdAfter = ParseRevisionDate(request.createdAfter);
  outcome.createdBefore = ParseRevisionDate(request.createdBefore);
  AddCreationDateCondition(*query, BoundOf(outcome.createdAfter), BoundOf(outcome.createdBefore));

  query->SetRowOption(-1);
  if (FAILED(query->Execute())) {
    outcome.executeFailed = true;
    return outcome;
  }
  while (!AtEnd(*query)) {
    outcome.rows.push_back(ReadRow(*query, entry));
    // A server that cannot advance would otherwise hand out the same row for ever.
    if (FAILED(query->MoveNext())) break;
  }
  return outcome;
}

}  // namespace browser
