#include "servers/store/revision_query.h"

namespace store {

std::optional<ValueKind> KindOfAttribute(std::int32_t attribute) {
  switch (static_cast<Attribute>(attribute)) {
    case Attribute::Handle:
    case Attribute::ObjectName:
    case Attribute::DatabankName:
    case Attribute::RevisionName:
    case Attribute::RevisionRemark:
    case Attribute::ModifiedBy:
    case Attribute::CreatedBy:
      return ValueKind::Text;
    case Attribute::DatabankCode:
    case Attribute::TypeCode:
    case Attribute::SubTypeCode:
      return ValueKind::Integer;
    case Attribute::ModifiedDate:
    case Attribute::CreationDate:
      return ValueKind::Date;
  }
  return std::nullopt;
}

bool IsKnownOperator(std::int32_t op) {
  switch (static_cast<Operator>(op)) {
    case Operator::Equal:
    case Operator::NotEqual:
    case Operator::Like:
    case Operator::Less:
    case Operator::Greater:
    case Operator::Between:
      return true;
  }
  return false;
}

namespace {

bool HasKind(const Value& value, ValueKind kind) {
  switch (kind) {
    case ValueKind::Text:
      return std::holds_alternative<std::string>(value);
    case ValueKind::Integer:
      return std::holds_alternative<std::int64_t>(value);
    case ValueKind::Date:
      return std::holds_alternative<TimePoint>(value);
  }
  return false;
}

std::string CheckCondition(const Condition& condition) {
  const auto attribute = static_cast<std::int32_t>(condition.attribute);
  auto kind = KindOfAttribute(attribute);
  if (!kind) return "unknown attribute " + std::to_string(attribute);
  if (!IsKnownOperator(static_cast<std::int32_t>(condition.op))) {
    return "unknown operator " + std::to_string(static_cast<std::int32_t>(condition.op));
  }
  const bool nullAllowed = condition.op == Operator::Equal || condition.op == Operator::NotEqual;
  const bool firstIsNull = std::holds_alternative<Null>(condition.first);
  if (firstIsNull && !nullAllowed) {
    return "a null value needs Equal or NotEqual (attribute " + std::to_string(attribute) + ")";
  }
  if (!firstIsNull && !HasKind(condition.first, *kind)) {
    return "value of the wrong type for attribute " + std::to_string(attribute);
  }
  if (condition.op == Operator::Like && *kind != ValueKind::Text) {
    return "Like needs a text attribute (attribute " + std::to_string(attribute) + ")";
  }
  if (condition.op == Operator::Between && !HasKind(condition.second, *kind)) {
    return "second value of the wrong type for attribute " + std::to_string(attribute);
  }
  return {};
}

}  // namespace

std::string ValidateQuery(const RevisionQuery& query) {
  for (Attribute attribute : query.select) {
    if (!KindOfAttribute(static_cast<std::int32_t>(attribute))) {
      return "unknown attribute " + std::to_string(static_cast<std::int32_t>(attribute));
    }
  }
  for (const Condition& condition : query.conditions) {
    std::string fault = CheckCondition(condition);
    if (!fault.empty()) return fault;
  }
  return {};
}

}  // namespace store
