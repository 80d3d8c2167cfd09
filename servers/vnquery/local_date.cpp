#include "servers/vnquery/local_date.h"

#include <ctime>

#include "platform/com/date.h"

namespace vnquery {

std::optional<store::TimePoint> UtcFromLocalDate(DATE date) {
  com::DateFields fields;
  if (!com::FieldsFromDate(date, &fields)) return std::nullopt;
  std::tm local{};
  local.tm_year = fields.year - 1900;
  local.tm_mon = fields.month - 1;
  local.tm_mday = fields.day;
  local.tm_hour = fields.hour;
  local.tm_min = fields.minute;
  local.tm_sec = fields.second;
  local.tm_isdst = -1;  // let the zone's rules decide
  local.tm_wday = -1;   // mktime sets it on success; -1 is also a valid result time
  const std::time_t seconds = std::mktime(&local);
  if (local.tm_wday == -1) return std::nullopt;
  return store::TimePoint(std::chrono::seconds(seconds));
}

std::optional<DATE> LocalDateFromUtc(store::TimePoint time) {
  const std::time_t seconds = static_cast<std::time_t>(time.time_since_epoch().count());
  std::tm local{};
  if (!localtime_r(&seconds, &local)) return std::nullopt;
  com::DateFields fields;
  fields.year = local.tm_year + 1900;
  fields.month = local.tm_mon + 1;
  fields.day = local.tm_mday;
  fields.hour = local.tm_hour;
  fields.minute = local.tm_min;
  fields.second = local.tm_sec;
  DATE date = 0;
  if (!com::DateFromFields(fields, &date)) return std::nullopt;
  return date;
}

}  // namespace vnquery
