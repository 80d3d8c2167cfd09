#include "platform/com/date.h"

// Placeholder until the calendar conversion lands.
namespace com {
bool DateFromFields(const DateFields&, DATE*) {
  return false;
}
bool FieldsFromDate(DATE, DateFields*) {
  return false;
}
}  // namespace com
