#pragma once
// Attribute numbers and operator codes of the query server, as this system names them.
#include <cstdint>

namespace browser {

// Numbers are the query server's own.
enum class QueryAttribute : std::int32_t {
  ObjectHandle = 1,
  ObjectName = 2,
  Dbc = 3,
  DatabankName = 4,
  TypeCode = 5,
  SubTypeCode = 6,
  RevisionName = 8,
  RevisionRemark = 9,
  ModifiedBy = 18,
  ModifiedDate = 19,
  CreatedBy = 20,
  CreationDate = 21,
};

// The second argument of a condition. Less and Greater are strict, as the server applies them.
enum class QueryOperator : std::int32_t {
  Equal = 0,
  NotEqual = 1,
  // "%" any run of characters, "_" exactly one character.
  Like = 2,
  Less = 3,
  Greater = 4,
  // Both bounds included.
  Between = 7,
};

constexpr std::int32_t ToCode(QueryAttribute attribute) {
  return static_cast<std::int32_t>(attribute);
}
constexpr std::int32_t ToCode(QueryOperator op) {
  return static_cast<std::int32_t>(op);
}

}  // namespace browser
