#include "storage/ical_format.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/platform.h"
#include "app/state.h"
#include "model/day_number.h"
#include "storage/content_lines.h"
#include "storage/ical_time_zones.h"

namespace {

constexpr int64_t kDay = 86400;
constexpr int kLongestLimit = 182;
// A 29 February that repeats lands on this day of every year: 1 March
// outside leap years, as Quillbee shows it.
constexpr int kLeapDayOfYear = 60;

// Quillbee's own marks on an exported event, so that importing the export
// gives back exactly what was exported: the event follows the global limits
// (its alarm only shows the global days before), or how many days after the
// event its own warning lasts, which calendars have no field for.
constexpr const char* kGlobalLimitsMark = "X-QUILLBEE-LIMITS";
constexpr const char* kDaysAfterMark = "X-QUILLBEE-DAYS-AFTER";

bool ReadDate(const std::string& value, CivilDate* date) {
    if (value.size() != 8 || !IsDigits(value, 0, 8)) return false;
    const int year = Number(value, 0, 4), month = Number(value, 4, 2), day = Number(value, 6, 2);
    if (year < 1 || !IsRealDate(year, month, day)) return false;
    *date = CivilDate{year, month, day};
    return true;
}

CivilDate DateOfSeconds(int64_t seconds) {
    return DateOfDayNumber(seconds >= 0 ? seconds / kDay : (seconds - kDay + 1) / kDay);
}

// The local date here of a moment given in UTC seconds; the date in UTC
// when the system cannot convert it.
CivilDate LocalDateOfUtc(int64_t seconds) {
    const time_t moment = static_cast<time_t>(seconds);
    const struct tm* local = std::localtime(&moment);
    if (local == nullptr) return DateOfSeconds(seconds);
    return CivilDate{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
}

// The day an event starts on here: an all-day date as it stands, a time in
// UTC or in a zone the file defines as the local date here, a floating time
// (or one in a zone the file does not define) as its own date.
bool StartDate(const ContentLine& start, const TimeZones& zones, CivilDate* date) {
    const std::string value = Trimmed(start.value);
    const std::string* kind = FindParam(start, "VALUE");
    if ((kind != nullptr && UpperAscii(*kind) == "DATE") || value.size() == 8) return ReadDate(value, date);
    int64_t wall;
    if (!ReadDateTime(value, &wall)) return false;
    if (value.back() == 'Z') {
        *date = LocalDateOfUtc(wall);
        return true;
    }
    const std::string* zoneId = FindParam(start, "TZID");
    int64_t offset;
    if (zoneId != nullptr) {
        auto zone = zones.find(*zoneId);
        if (zone != zones.end() && ZoneOffset(*zone->second, wall, &offset)) {
            *date = LocalDateOfUtc(wall - offset);
            return true;
        }
    }
    *date = DateOfSeconds(wall);
    return true;
}

std::vector<std::string> RuleParts(const std::string& rule) {
    std::vector<std::string> parts;
    size_t at = 0;
    const std::string upper = UpperAscii(Trimmed(rule));
    while (at <= upper.size()) {
        size_t end = upper.find(';', at);
        if (end == std::string::npos) end = upper.size();
        if (end > at) parts.push_back(upper.substr(at, end - at));
        at = end + 1;
    }
    return parts;
}

int DayOfYear(const CivilDate& date) {
    return static_cast<int>(DayNumber(date) - DayNumber(date.year, 1, 1)) + 1;
}

// Whether `rule` repeats the event every year on its start date and nothing
// more: BYMONTH and BYMONTHDAY may restate that date, and BYYEARDAY=60 may
// stand for a 29 February. `leapDay` tells the latter.
bool IsPlainYearly(const std::string& rule, const CivilDate& start, bool* leapDay) {
    bool yearly = false;
    *leapDay = false;
    for (const std::string& part : RuleParts(rule)) {
        const size_t eq = part.find('=');
        if (eq == std::string::npos) return false;
        const std::string key = part.substr(0, eq), value = part.substr(eq + 1);
        if (key == "FREQ") {
            yearly = value == "YEARLY";
        } else if (key == "INTERVAL") {
            if (value != "1") return false;
        } else if (key == "BYMONTH") {
            if (value != std::to_string(start.month)) return false;
        } else if (key == "BYMONTHDAY") {
            if (value != std::to_string(start.day)) return false;
        } else if (key == "BYYEARDAY") {
            if (value != std::to_string(kLeapDayOfYear) || DayOfYear(start) != kLeapDayOfYear) return false;
            *leapDay = true;
        } else if (key != "WKST") {
            return false;  // COUNT, UNTIL, BYDAY, BYSETPOS...
        }
    }
    return yearly;
}

// Whole days before the start in a TRIGGER duration ("-P7D", "-P1W",
// "-PT1440M"); -1 for any other duration.
int WholeDaysBefore(const std::string& text) {
    const std::string value = UpperAscii(Trimmed(text));
    if (value.size() < 4 || value[0] != '-' || value[1] != 'P') return -1;
    int64_t seconds = 0;
    bool inTime = false;
    bool any = false;
    int64_t number = -1;
    for (size_t i = 2; i < value.size(); ++i) {
        const char c = value[i];
        if (c >= '0' && c <= '9') {
            number = (number < 0 ? 0 : number) * 10 + (c - '0');
            if (number > 100000000) return -1;
            continue;
        }
        if (c == 'T' && !inTime && number < 0) {
            inTime = true;
            continue;
        }
        if (number < 0) return -1;
        int64_t unit = 0;
        if (!inTime && c == 'W') unit = 7 * kDay;
        if (!inTime && c == 'D') unit = kDay;
        if (inTime && c == 'H') unit = 3600;
        if (inTime && c == 'M') unit = 60;
        if (inTime && c == 'S') unit = 1;
        if (unit == 0) return -1;
        seconds += number * unit;
        number = -1;
        any = true;
    }
    if (!any || number >= 0 || seconds % kDay != 0) return -1;
    return static_cast<int>(seconds / kDay);
}

// The limits of an event: those of its earliest alarm that warns whole days
// before the start, at most 182 of them, with the global days after (or
// Quillbee's own mark of them); the global limits when there is no such
// alarm or Quillbee marked the event so.
void ReadLimits(const Component& event, Duty* duty) {
    const ContentLine* global = FindProperty(event, kGlobalLimitsMark);
    if (global != nullptr && UpperAscii(Trimmed(global->value)) == "GLOBAL") return;
    int before = -1;
    for (const Component& alarm : event.children) {
        const ContentLine* trigger = FindProperty(alarm, "TRIGGER");
        if (alarm.name != "VALARM" || trigger == nullptr) continue;
        const std::string* related = FindParam(*trigger, "RELATED");
        const std::string* kind = FindParam(*trigger, "VALUE");
        if ((related && UpperAscii(*related) == "END") || (kind && UpperAscii(*kind) == "DATE-TIME"))
            continue;
        const int days = WholeDaysBefore(trigger->value);
        if (days <= kLongestLimit && days > before) before = days;
    }
    if (before < 0) return;
    duty->warnBefore = before;
    duty->warnAfter = prefs.warnDaysAfter;
    const ContentLine* after = FindProperty(event, kDaysAfterMark);
    if (after != nullptr) {
        const std::string value = Trimmed(after->value);
        const int days = std::atoi(value.c_str());
        if (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos &&
            days <= kLongestLimit) {
            duty->warnAfter = days;
        }
    }
}

void ReadEvent(const Component& event, const TimeZones& zones, ImportBatch* batch) {
    const ContentLine* status = FindProperty(event, "STATUS");
    if (status != nullptr && UpperAscii(Trimmed(status->value)) == "CANCELLED") {
        return RefuseEntry(batch, event.line, kReasonCancelled);
    }
    if (FindProperty(event, "RECURRENCE-ID") != nullptr) {
        return RefuseEntry(batch, event.line, kReasonChangedOccurrence);
    }
    const ContentLine* start = FindProperty(event, "DTSTART");
    if (start == nullptr) return RefuseEntry(batch, event.line, kReasonNoStart);
    CivilDate date;
    if (!StartDate(*start, zones, &date))
        return RefuseEntry(batch, start->line, kReasonBadStart, start->value);

    bool yearly = false;
    bool leapDay = false;
    for (const ContentLine& line : event.properties) {
        if (line.name == "RDATE") return RefuseEntry(batch, line.line, kReasonExtraDates);
        if (line.name != "RRULE") continue;
        if (yearly || !IsPlainYearly(line.value, date, &leapDay)) {
            return RefuseEntry(batch, line.line, kReasonRecurrence, "RRULE:" + line.value);
        }
        yearly = true;
    }

    Duty duty = NewEvent(yearly);
    duty.year = static_cast<int32_t>(date.year);
    duty.month = leapDay ? 2 : date.month;
    duty.day = leapDay ? 29 : date.day;
    const ContentLine* summary = FindProperty(event, "SUMMARY");
    SetMessage(&duty, summary ? MacrosFromReaders(UnescapeText(summary->value)) : "");
    if (duty.message[0] == '\0') return RefuseEntry(batch, event.line, kReasonNoSummary);
    const ContentLine* description = FindProperty(event, "DESCRIPTION");
    if (description != nullptr) SetNotes(&duty, MacrosFromReaders(UnescapeText(description->value)));
    ReadLimits(event, &duty);
    TakeEvent(batch, duty);
}

// FNV-1a: the same event gets the same UID in every export.
uint64_t Hash(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string DateValue(const CivilDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d", static_cast<int>(date.year), date.month, date.day);
    return text;
}

void Line(ICalWriter* writer, const std::string& line) { AppendFolded(&writer->text, line); }

}  // namespace

void ReadICalendar(const std::string& text, ImportBatch* batch) {
    std::vector<Component> calendars;
    if (!ReadComponents(text, "VCALENDAR", &calendars, &batch->damage)) return;
    for (const Component& calendar : calendars) {
        const TimeZones zones = ZonesOf(calendar);
        for (const Component& child : calendar.children) {
            if (child.name == "VEVENT") ReadEvent(child, zones, batch);
        }
    }
}

void BeginICalendar(ICalWriter* writer) {
    const time_t now = PlatformNow();
    const struct tm* utc = std::gmtime(&now);
    char stamp[32] = "19700101T000000Z";
    if (utc != nullptr) std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", utc);
    writer->stamp = stamp;
    Line(writer, "BEGIN:VCALENDAR");
    Line(writer, "VERSION:2.0");
    Line(writer, std::string("PRODID:-//Quillbee//") + kProgramTitle + "//EN");
    Line(writer, "CALSCALE:GREGORIAN");
}

void WriteICalEvent(ICalWriter* writer, const Duty& duty) {
    // A year the calendar cannot hold, or a date only Quillbee accepts (a
    // one-off 29 February outside a leap year), goes where Quillbee shows it.
    const int64_t year = duty.year < 1 ? 1 : duty.year;
    const bool leapDay = duty.yearly && duty.month == 2 && duty.day == 29;
    int64_t first;
    const CivilDate start = leapDay ? DateOfDayNumber(DayNumber(year, 1, kLeapDayOfYear))
                                    : NormalisedDate(year, duty.month, duty.day, &first);
    const std::string key = EventKey(duty);
    const int repeat = writer->uids[key]++;
    char uid[64];
    std::snprintf(uid, sizeof uid, "%016llx-%d@quillbee", static_cast<unsigned long long>(Hash(key)), repeat);
    const std::string summary = EscapeText(MacrosForReaders(duty.message));

    Line(writer, "BEGIN:VEVENT");
    Line(writer, std::string("UID:") + uid);
    Line(writer, "DTSTAMP:" + writer->stamp);
    Line(writer, "DTSTART;VALUE=DATE:" + DateValue(start));
    Line(writer, "DTEND;VALUE=DATE:" + DateValue(DateOfDayNumber(DayNumber(start) + 1)));
    if (leapDay) {
        Line(writer, "RRULE:FREQ=YEARLY;BYYEARDAY=" + std::to_string(kLeapDayOfYear));
    } else if (duty.yearly) {
        Line(writer, "RRULE:FREQ=YEARLY");
    }
    Line(writer, "SUMMARY:" + summary);
    if (duty.notes[0] != '\0') Line(writer, "DESCRIPTION:" + EscapeText(MacrosForReaders(duty.notes)));
    Line(writer, "TRANSP:TRANSPARENT");
    const bool own = duty.warnBefore != 0 || duty.warnAfter != 0;
    if (own) {
        Line(writer, std::string(kDaysAfterMark) + ":" + std::to_string(duty.warnAfter));
    } else {
        Line(writer, std::string(kGlobalLimitsMark) + ":GLOBAL");
    }
    Line(writer, "BEGIN:VALARM");
    Line(writer, "ACTION:DISPLAY");
    Line(writer, "DESCRIPTION:" + summary);
    Line(writer, "TRIGGER:-P" + std::to_string(own ? duty.warnBefore : prefs.warnDaysBefore) + "D");
    Line(writer, "END:VALARM");
    Line(writer, "END:VEVENT");
}

void EndICalendar(ICalWriter* writer) { Line(writer, "END:VCALENDAR"); }
