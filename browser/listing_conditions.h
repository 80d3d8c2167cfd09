#pragma once
// The conditions of the listing query, put on a query server object.
#include <optional>
#include <string_view>

#include "browser/model_type_catalogue.h"
#include "browser/query_attribute.h"
#include "platform/com/variant.h"
#include "services/vnquery.h"

namespace browser {

// Every condition carries two values; operators that need one get the empty text as the second.
void AddQueryCondition(IVNQuery& query, QueryAttribute attribute, QueryOperator op,
                       const com::Variant& first, const com::Variant& second = com::Variant(u""));

// A name holding "*", "%" or "?" becomes a Like pattern ("%" and "?" match one character, "*" any
// run); any other name is compared with Equal as typed.
void AddNameCondition(IVNQuery& query, std::string_view objectName);

// The databank condition, then the entry's code conditions in catalogue order.
void AddModelTypeConditions(IVNQuery& query, const ModelTypeEntry& entry);

// At most one condition on the creation date: Between (after first), Greater, Less or none.
void AddCreationDateCondition(IVNQuery& query, std::optional<DATE> after,
                              std::optional<DATE> before);

}  // namespace browser
