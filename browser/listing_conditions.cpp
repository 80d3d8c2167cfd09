#include "browser/listing_conditions.h"

#include <algorithm>
#include <string>

namespace browser {
namespace {

com::Variant DateValue(DATE date) {
  return com::Variant(com::DateTag{date});
}

}  // namespace

void AddQueryCondition(IVNQuery& query, QueryAttribute attribute, QueryOperator op,
                       const com::Variant& first, const com::Variant& second) {
  // Values pass by value; the callee does not own them, so our copies stay ours to clear.
  query.AddCondition(ToCode(attribute), ToCode(op), first.Get(), second.Get());
}

void AddNameCondition(IVNQuery& query, std::string_view objectName) {
  std::string name(objectName);
  if (name.find_first_of("*%?") == std::string::npos) {
    AddQueryCondition(query, QueryAttribute::ObjectName, QueryOperator::Equal,
                      com::Variant::Utf8(name));
    return;
  }
  // Order matters: a typed "%" must become a one-character match before "*" becomes "%".
  std::replace(name.begin(), name.end(), '%', '_');
  std::replace(name.begin(), name.end(), '?', '_');
  std::replace(name.begin(), name.end(), '*', '%');
  AddQueryCondition(query, QueryAttribute::ObjectName, QueryOperator::Like,
                    com::Variant::Utf8(name));
}

void AddModelTypeConditions(IVNQuery& query, const ModelTypeEntry& entry) {
  AddQueryCondition(query, QueryAttribute::DatabankName, entry.databankOperator,
                    com::Variant::Utf8(entry.databank));
  for (const CodeCondition& condition : entry.codeConditions) {
    if (condition.op == QueryOperator::Between) {
      AddQueryCondition(query, condition.attribute, condition.op, com::Variant(condition.first),
                        com::Variant(condition.second));
    } else {
      AddQueryCondition(query, condition.attribute, condition.op, com::Variant(condition.first));
    }
  }
}

void AddCreationDateCondition(IVNQuery& query, std::optional<DATE> after,
                              std::optional<DATE> before) {
  constexpr QueryAttribute kAttribute = QueryAttribute::CreationDate;
  if (after && before) {
    AddQueryCondition(query, kAttribute, QueryOperator::Between, DateValue(*after),
                      DateValue(*before));
  } else if (after) {
    AddQueryCondition(query, kAttribute, QueryOperator::Greater, DateValue(*after));
  } else if (before) {
    AddQueryCondition(query, kAttribute, QueryOperator::Less, DateValue(*before));
  }
}

}  // namespace browser
