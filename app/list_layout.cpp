#include "app/list_layout.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/load_str.h"
#include "app/state.h"
#include "model/calendar.h"
#include "model/due_list.h"

namespace {
// What follows a date text in the column: the sample "88 Aug,." ends in it.
constexpr char kDateGap[] = ".";

int GapWidth(TextMeasure measure, void* context, const char* date) {
    char text[160];
    std::snprintf(text, sizeof text, "%s%s", date, kDateGap);
    return measure(text, context);
}
}  // namespace

ListColumns ListColumnBounds(int daysWidth, int noteWidth, int dateWidth) {
    ListColumns c;
    c.daysRight = daysWidth;
    c.noteLeft = c.daysRight + 1;
    c.noteRight = c.noteLeft + noteWidth;
    c.dateLeft = c.noteRight + 1;
    c.dateRight = c.dateLeft + dateWidth;
    c.messageLeft = c.dateRight + 1;
    return c;
}

int DateColumnWidth(TextMeasure measure, void* context, bool showWeekday, const char* const* extraDates,
                    int extraCount) {
    int width = measure(LoadStr(1300), context);
    if (showWeekday) width += measure(LoadStr(1310), context);

    // The widest day number and weekday name, then every month with them:
    // a few dozen measurements instead of one for every date of the year.
    int widestDay = 1;
    int widestDayWidth = -1;
    for (int day = 1; day <= 31; ++day) {
        char number[8];
        std::snprintf(number, sizeof number, "%02d", day);
        int w = measure(number, context);
        if (w > widestDayWidth) {
            widestDayWidth = w;
            widestDay = day;
        }
    }
    char weekday[64] = "";
    if (showWeekday) {
        int widestWeekdayWidth = -1;
        for (int daysLeft = 0; daysLeft < 7; ++daysLeft) {  // a week from today holds every weekday
            const char* name = WeekdayShortName(daysLeft);
            int w = measure(name, context);
            if (w > widestWeekdayWidth) {
                widestWeekdayWidth = w;
                CopyText(weekday, name, sizeof weekday);
            }
        }
    }
    for (int month = 1; month <= 12; ++month) {
        char date[128];
        RowDateText(widestDay, month, showWeekday ? weekday : nullptr, date, sizeof date);
        int w = GapWidth(measure, context, date);
        if (w > width) width = w;
    }
    for (int i = 0; i < extraCount; ++i) {
        int w = GapWidth(measure, context, extraDates[i]);
        if (w > width) width = w;
    }
    return width;
}

void SplitRowText(char* text, const char** days, const char** date, const char** message) {
    static const char kEmpty[] = "";
    *days = text;
    *date = kEmpty;
    *message = kEmpty;
    char* tab = std::strchr(text, '\t');
    if (!tab) return;
    *tab = '\0';
    *date = tab + 1;
    tab = std::strchr(tab + 1, '\t');
    if (!tab) return;
    *tab = '\0';
    *message = tab + 1;
}

NoteIconShape NoteIconGeometry(int cellLeft, int cellTop, int cellRight, int cellBottom) {
    NoteIconShape shape;
    int w = cellRight - cellLeft;
    int h = cellBottom - cellTop;
    // Single-precision factors with the products truncated toward zero: a
    // pixel more or less shows in a cell a dozen pixels wide.
    shape.left = cellLeft + static_cast<int>(static_cast<float>(w) * 0.15f);
    shape.right = cellRight - static_cast<int>(static_cast<float>(w) * 0.25f);
    shape.top = cellTop + static_cast<int>(static_cast<float>(h) * 0.2f);
    shape.bottom = cellBottom - static_cast<int>(static_cast<float>(h) * 0.2f);
    shape.lineLeft = shape.left + 2;
    shape.lineRight = shape.right - 2;

    int inner = (shape.bottom - 1) - (shape.top + 1);
    int bands = inner > 50 ? 7 : inner > 32 ? 6 : inner > 20 ? 5 : inner > 8 ? 4 : 0;
    shape.lineCount = bands > 0 ? bands - 1 : 0;
    for (int i = 0; i < 6; ++i) shape.lineY[i] = 0;
    if (bands == 0) return shape;
    double offset = inner * 0.1;
    double step = inner * 0.8 / bands;
    for (int i = 1; i < bands; ++i) {
        shape.lineY[i - 1] = static_cast<int>(std::floor(i * step + offset)) + shape.top + 1;
    }
    return shape;
}
