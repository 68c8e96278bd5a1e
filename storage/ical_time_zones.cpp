#include "storage/ical_time_zones.h"

#include <cstdlib>
#include <vector>

#include "model/day_number.h"
#include "storage/import_rules.h"

namespace {

constexpr int64_t kDay = 86400;

bool Digits(const std::string& text, size_t at, size_t count, int* value) {
    if (at + count > text.size()) return false;
    int v = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
    }
    *value = v;
    return true;
}

// "+0100", "-0500", "+053000".
bool ReadOffset(const std::string& text, int64_t* seconds) {
    if (text.size() != 5 && text.size() != 7) return false;
    if (text[0] != '+' && text[0] != '-') return false;
    int hours, minutes, secs = 0;
    if (!Digits(text, 1, 2, &hours) || !Digits(text, 3, 2, &minutes)) return false;
    if (text.size() == 7 && !Digits(text, 5, 2, &secs)) return false;
    const int64_t value = hours * 3600 + minutes * 60 + secs;
    *seconds = text[0] == '-' ? -value : value;
    return true;
}

// The value of `key` in a rule such as "FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU".
std::string RulePart(const std::string& rule, const char* key) {
    const std::string upper = UpperAscii(rule);
    const std::string wanted = std::string(key) + "=";
    size_t at = 0;
    while (at < upper.size()) {
        const size_t end = upper.find(';', at);
        const size_t stop = end == std::string::npos ? upper.size() : end;
        if (upper.compare(at, wanted.size(), wanted) == 0)
            return upper.substr(at + wanted.size(), stop - at - wanted.size());
        at = stop + 1;
    }
    return "";
}

int WeekdayNumber(const std::string& code) {
    static const char* const kCodes[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
    for (int i = 0; i < 7; ++i) {
        if (code == kCodes[i]) return i;
    }
    return -1;
}

// The day of `month` of `year` that a BYDAY of the form "-1SU", "2SU" or
// "SU" (with BYMONTHDAY "8,9,...,14") picks; 0 when none.
int RuleDay(int64_t year, int month, const std::string& byDay, const std::string& byMonthDay) {
    if (byDay.size() < 2) return 0;
    const int weekday = WeekdayNumber(byDay.substr(byDay.size() - 2));
    if (weekday < 0) return 0;
    const std::string ordinalText = byDay.substr(0, byDay.size() - 2);
    const int64_t first = DayNumber(year, month, 1);
    const int length = static_cast<int>(DayNumber(year, month + 1, 1) - first);
    std::vector<int> days;
    for (int day = 1; day <= length; ++day) {
        if (WeekdayOfDayNumber(first + day - 1) == weekday) days.push_back(day);
    }
    if (!ordinalText.empty()) {
        const int ordinal = std::atoi(ordinalText.c_str());
        if (ordinal > 0 && ordinal <= static_cast<int>(days.size())) return days[ordinal - 1];
        if (ordinal < 0 && -ordinal <= static_cast<int>(days.size())) return days[days.size() + ordinal];
        return 0;
    }
    // An older style: the weekday that falls on one of the listed days.
    for (int day : days) {
        const std::string listed = "," + byMonthDay + ",";
        if (listed.find("," + std::to_string(day) + ",") != std::string::npos) return day;
    }
    return 0;
}

struct Onset {
    int64_t wall;  // seconds, in the wall-clock time before the change
    int64_t offsetTo;
    int64_t offsetFrom;
};

// The onsets of one observance near `year`: from its rule in that year and
// the one before, or its start and extra dates.
void OnsetsOf(const Component& observance, int64_t year, std::vector<Onset>* onsets) {
    const ContentLine* start = FindProperty(observance, "DTSTART");
    const ContentLine* to = FindProperty(observance, "TZOFFSETTO");
    const ContentLine* from = FindProperty(observance, "TZOFFSETFROM");
    int64_t startWall, offsetTo, offsetFrom;
    if (!start || !to || !ReadDateTime(start->value, &startWall) || !ReadOffset(to->value, &offsetTo)) return;
    if (!from || !ReadOffset(from->value, &offsetFrom)) offsetFrom = offsetTo;
    const ContentLine* rule = FindProperty(observance, "RRULE");
    if (rule == nullptr) {
        onsets->push_back({startWall, offsetTo, offsetFrom});
        for (const ContentLine& line : observance.properties) {
            int64_t extra;
            if (line.name == "RDATE" && ReadDateTime(line.value, &extra))
                onsets->push_back({extra, offsetTo, offsetFrom});
        }
        return;
    }
    int month = std::atoi(RulePart(rule->value, "BYMONTH").c_str());
    if (RulePart(rule->value, "FREQ") != "YEARLY" || month < 1 || month > 12) return;
    const std::string until = RulePart(rule->value, "UNTIL");
    int64_t untilWall = INT64_MAX;
    if (!until.empty() && !ReadDateTime(until, &untilWall)) untilWall = INT64_MAX;
    const int64_t timeOfDay = ((startWall % kDay) + kDay) % kDay;
    for (int64_t y = year - 1; y <= year; ++y) {
        const int day =
            RuleDay(y, month, RulePart(rule->value, "BYDAY"), RulePart(rule->value, "BYMONTHDAY"));
        if (day == 0) continue;
        const int64_t wall = DayNumber(y, month, day) * kDay + timeOfDay;
        if (wall >= startWall && wall <= untilWall) onsets->push_back({wall, offsetTo, offsetFrom});
    }
}

}  // namespace

TimeZones ZonesOf(const Component& calendar) {
    TimeZones zones;
    for (const Component& child : calendar.children) {
        if (child.name != "VTIMEZONE") continue;
        const ContentLine* id = FindProperty(child, "TZID");
        if (id != nullptr) zones[id->value] = &child;
    }
    return zones;
}

bool ZoneOffset(const Component& zone, int64_t wallSeconds, int64_t* offset) {
    const int64_t year =
        DateOfDayNumber(wallSeconds >= 0 ? wallSeconds / kDay : (wallSeconds - kDay + 1) / kDay).year;
    std::vector<Onset> onsets;
    for (const Component& observance : zone.children) {
        if (observance.name == "STANDARD" || observance.name == "DAYLIGHT")
            OnsetsOf(observance, year, &onsets);
    }
    if (onsets.empty()) return false;
    const Onset* latest = nullptr;
    const Onset* earliest = &onsets[0];
    for (const Onset& onset : onsets) {
        if (onset.wall < earliest->wall) earliest = &onset;
        if (onset.wall <= wallSeconds && (latest == nullptr || onset.wall > latest->wall)) latest = &onset;
    }
    // Before the first change the zone knows, its offset is the one that change starts from.
    *offset = latest != nullptr ? latest->offsetTo : earliest->offsetFrom;
    return true;
}

bool ReadDateTime(const std::string& value, int64_t* seconds) {
    int year, month, day, hour, minute, second;
    if (value.size() < 15 || value[8] != 'T') return false;
    if (!Digits(value, 0, 4, &year) || !Digits(value, 4, 2, &month) || !Digits(value, 6, 2, &day) ||
        !Digits(value, 9, 2, &hour) || !Digits(value, 11, 2, &minute) || !Digits(value, 13, 2, &second)) {
        return false;
    }
    if (value.size() > 16 || (value.size() == 16 && value[15] != 'Z')) return false;
    if (year < 1 || !IsRealDate(year, month, day) || hour > 23 || minute > 59 || second > 60) return false;
    *seconds = DayNumber(year, month, day) * kDay + hour * 3600 + minute * 60 + second;
    return true;
}
