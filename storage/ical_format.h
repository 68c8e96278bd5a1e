// iCalendar files: events in from any calendar program, and Quillbee's
// events out in a form that calendar programs show the way Quillbee does.
#pragma once

#include <string>
#include <unordered_map>

#include "model/duty.h"
#include "storage/import_rules.h"

// Adds the VEVENTs of an iCalendar text to `batch`. Yearly events (a
// FREQ=YEARLY rule with nothing that changes it) and one-off events are
// taken; any other recurrence is refused with its rule as the reason.
void ReadICalendar(const std::string& text, ImportBatch* batch);

// An iCalendar text being written.
struct ICalWriter {
    std::string text;
    std::string stamp;                          // DTSTAMP of every event
    std::unordered_map<std::string, int> uids;  // how often each UID was given
};

// Starts the calendar; the stamp is the current time.
void BeginICalendar(ICalWriter* writer);
// One VEVENT for `duty`. A yearly event on 29 February repeats on the 60th
// day of the year, which is 29 February in a leap year and 1 March in any
// other, as Quillbee shows it.
void WriteICalEvent(ICalWriter* writer, const Duty& duty);
void EndICalendar(ICalWriter* writer);
