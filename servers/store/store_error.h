#pragma once
// The one exception type of the revision store. Store functions throw it; code that answers a
// component interface catches it and turns it into a result code.
#include <stdexcept>
#include <string>

namespace store {

enum class StoreErrorKind {
  BadHandle,     // a handle that is not exactly 32 hexadecimal digits
  InvalidQuery,  // unknown attribute or operator, or a value of the wrong type
  NotFound,      // a project or other named thing that does not exist
  Database,      // the database refused (busy, I/O, constraint, schema too new, ...)
};

class StoreError : public std::runtime_error {
 public:
  StoreError(StoreErrorKind kind, const std::string& message)
      : std::runtime_error(message), kind_(kind) {}
  StoreErrorKind Kind() const { return kind_; }

 private:
  StoreErrorKind kind_;
};

}  // namespace store
