#pragma once
// The query server takes and hands out local automation dates; the store keeps UTC seconds.
// Conversions follow the process's time zone (TZ). In the hour a clock is turned back, a local
// time names two instants; the conversion takes the one the C library picks.
#include <optional>

#include "platform/com/variant.h"
#include "servers/store/revision_query.h"

namespace vnquery {

// nullopt for a date outside the automation range or one the C library cannot place.
std::optional<store::TimePoint> UtcFromLocalDate(DATE date);
std::optional<DATE> LocalDateFromUtc(store::TimePoint time);

}  // namespace vnquery
