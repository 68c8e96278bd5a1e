// The time zones an iCalendar file defines for itself (VTIMEZONE), so that
// a start given in the zone of the calendar it came from lands on the right
// local day here.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "storage/content_lines.h"

// The VTIMEZONE components of a calendar by their TZID.
typedef std::map<std::string, const Component*> TimeZones;

// Collects the VTIMEZONE children of `calendar`.
TimeZones ZonesOf(const Component& calendar);

// The offset from UTC, in seconds, that `zone` gives a wall-clock time (in
// seconds from 1970-01-01 00:00 as if it were UTC): the observance
// (STANDARD or DAYLIGHT) whose latest onset comes last before that time.
// Onsets come from a yearly rule by month and weekday, or from the
// observance's start and its extra dates. False when the zone tells nothing
// usable.
bool ZoneOffset(const Component& zone, int64_t wallSeconds, int64_t* offset);

// A DATE-TIME value "YYYYMMDDTHHMMSS" (an optional Z is not read) as
// seconds from 1970 taken as UTC; false when it is not one or names no
// real time.
bool ReadDateTime(const std::string& value, int64_t* seconds);
