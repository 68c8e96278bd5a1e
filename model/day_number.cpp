#include "model/day_number.h"

#include <ctime>

#include "app/platform.h"

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days from 1970-01-01 to a valid date (month 1 to 12), counted in 400-year
// eras of 146097 days with the year starting on 1 March so that the leap day
// falls at its end.
int64_t DaysFromCivil(int64_t year, int month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int MonthLength(int64_t year, int month) {
    static const int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (month == 2 && IsLeapYear(year)) ? 29 : kLengths[month - 1];
}

}  // namespace

bool IsLeapYear(int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int64_t DayNumber(int64_t year, int64_t month, int64_t day) {
    if (month >= 1 && month <= 12) return DaysFromCivil(year, static_cast<int>(month), day);
    const int64_t carry = FloorDiv(month - 1, 12);
    year += carry;
    const int m = static_cast<int>(month - 1 - carry * 12 + 1);
    return DaysFromCivil(year, m, 1) + (day - 1);
}

int64_t DayNumber(const CivilDate& date) { return DayNumber(date.year, date.month, date.day); }

CivilDate DateOfDayNumber(int64_t dayNumber) {
    const int64_t z = dayNumber + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    CivilDate date;
    date.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    date.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    date.year = yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0);
    return date;
}

CivilDate NormalisedDate(int64_t year, int64_t month, int64_t day, int64_t* dayNumber) {
    *dayNumber = DayNumber(year, month, day);
    // Most dates are valid as they stand and need no conversion back.
    if (month >= 1 && month <= 12 && day >= 1 && day <= MonthLength(year, static_cast<int>(month))) {
        return CivilDate{year, static_cast<int>(month), static_cast<int>(day)};
    }
    return DateOfDayNumber(*dayNumber);
}

int WeekdayOfDayNumber(int64_t dayNumber) {
    // 1 January 1970 was a Thursday.
    return static_cast<int>(dayNumber + 4 - FloorDiv(dayNumber + 4, 7) * 7);
}

CivilDate LocalToday() {
    // Asked for every row shown that ages someone: the time is converted
    // again only when the clock has moved on.
    static time_t convertedAt = 0;
    static CivilDate today = {1970, 1, 1};
    const time_t now = PlatformNow();
    if (now == convertedAt) return today;
    // The reentrant conversion: the plain one of the GNU C library looks the
    // zone file up on disk at every call when TZ is not set.
    struct tm local;
#ifdef _WIN32
    const bool converted = localtime_s(&local, &now) == 0;
#else
    const bool converted = localtime_r(&now, &local) != nullptr;
#endif
    if (!converted) return CivilDate{1970, 1, 1};
    convertedAt = now;
    today = CivilDate{local.tm_year + 1900LL, local.tm_mon + 1, local.tm_mday};
    return today;
}
