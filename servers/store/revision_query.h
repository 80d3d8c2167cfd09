#pragma once
// The revision query of the query server: a select list of attribute numbers and conditions.
// Conditions on one attribute are alternatives (OR); conditions on different attributes must
// all hold (AND). A backend turns the whole query into one parameterised statement.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace store {

// Times are UTC, to the second.
using TimePoint = std::chrono::sys_seconds;

enum class Attribute : std::int32_t {
  Handle = 1,
  ObjectName = 2,
  DatabankCode = 3,  // "Dbc"
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

enum class Operator : std::int32_t {
  Equal = 0,
  NotEqual = 1,  // a null differs from every value
  Like = 2,      // "%" any run, "_" one character; case-sensitive; texts only
  Less = 3,      // strict
  Greater = 4,   // strict
  Between = 7,   // both bounds included
};

enum class ValueKind { Text, Integer, Date };

// The kind of value an attribute holds; nullopt for a number that is no attribute.
std::optional<ValueKind> KindOfAttribute(std::int32_t attribute);
bool IsKnownOperator(std::int32_t op);

struct Null {
  friend bool operator==(Null, Null) = default;
};
using Value = std::variant<Null, std::string, std::int64_t, TimePoint>;

struct Condition {
  Attribute attribute;
  Operator op;
  Value first;
  Value second;  // read by Between only
};

struct RevisionQuery {
  std::vector<Attribute> select;
  std::vector<Condition> conditions;
};

// Checks attribute numbers, operators and value kinds: empty when the query is sound, else a
// description of the first fault. Null is allowed for Equal/NotEqual (IS / IS NOT NULL).
std::string ValidateQuery(const RevisionQuery& query);

// Rows stream from the database cursor. A cursor must not outlive the store that opened it, and
// the store must not be used for anything else while the cursor is open.
class RevisionCursor {
 public:
  virtual ~RevisionCursor() = default;
  virtual bool AtEnd() const = 0;
  // Throws StoreError when the database fails.
  virtual void MoveNext() = 0;
  // Value of the current row at select-list position index (from 0); Null past the end.
  virtual Value Get(std::size_t index) const = 0;
  virtual std::size_t ColumnCount() const = 0;
};

}  // namespace store
