// The whole events file in calendar order, as the event list editor holds it:
// read at once, sorted by day of the year and message, and written back
// whole from the editor's rows.
#pragma once

#include <cstdint>

#include "model/duty.h"

// Where a date falls in the calendar order: (month - 1) * 31 + day. The year
// plays no part, so 29 February (60) lies between 28 February and 1 March.
int CalendarKey(int day, int month);

// The calendar order: by key, then by message byte by byte as unsigned values
// (case counting; a text that begins the other comes first). Negative, zero
// or positive, as strcmp.
int CompareCalendarOrder(int key, const char* message, int otherKey, const char* otherMessage);

// What the events file held when it was read, to tell later whether anything
// else has changed it since.
enum { kStampAbsent = 0, kStampRead = 1, kStampUnreadable = 2 };
struct EventsFileStamp {
    int state;  // kStampAbsent, kStampRead or kStampUnreadable
    uint64_t size;
    uint64_t hash;  // FNV-1a of every byte
};

// The stamp of the events file as it is now.
EventsFileStamp CurrentEventsStamp();

// Whether the file is known to be as it was: both missing, or both read with
// the same bytes. A file that could not be read is never known.
bool SameEventsFile(const EventsFileStamp& before, const EventsFileStamp& now);

// Receives the events in calendar order, those of equal key and message in
// the order of the file. `duty` is one static record that the next call
// overwrites. `keptLine` is the event's line as read (normalised, without its
// line end) when writing `duty` would not give it back: a date that names no
// month, a message or notes too long for the record, figures that do not
// stand as written. Null otherwise.
typedef void (*EventVisitor)(const Duty& duty, const char* keptLine, void* context);

// Reads the whole events file, lines of any length, and hands every event
// to `visit` in calendar order; lines are not validated. `stamp` receives
// what the file held. 1 read; 0 missing or unreadable; -1 when its first
// line names no version, which is reported and makes the program quit.
int ReadEventsInCalendarOrder(EventVisitor visit, void* context, EventsFileStamp* stamp);

// Gives the line to write for row `index`, its line end included, or null
// when the row cannot be read (nothing is then written).
typedef const char* (*RowLineSource)(int index, void* context);

// Replaces the events file by the header, a blank line and the lines of rows
// 0 to count - 1, in one safe rewrite whose backup receives the new file.
// 1 written; 0 left as it was. Reports nothing.
int WriteEventsFromRows(int count, RowLineSource source, void* context);
