// Geometry of a row of the reminder list: its four columns, the split of its
// text into them, and the note pictogram. Device pixels throughout.
#pragma once

// Column bounds of a row, measured in the list font: the days column from 0
// to `daysRight`, the note column, the date column, and the message column
// from `messageLeft` to the row's right edge.
struct ListColumns {
    int daysRight;
    int noteLeft;
    int noteRight;
    int dateLeft;
    int dateRight;
    int messageLeft;
};

// `daysWidth` is the width of the sample "-188 dni:", `noteWidth` that of
// "M", `dateWidth` the DateColumnWidth.
ListColumns ListColumnBounds(int daysWidth, int noteWidth, int dateWidth);

// Width of a UTF-8 text in the font of the list; `context` is the caller's.
typedef int (*TextMeasure)(const char* text, void* context);

// Width of the date column: the sample "88 Aug,." (and "(MMM)" when the
// weekday is shown), or more when a date text the list can show needs it.
// Each date text keeps the sample's "." after its comma, as the gap before
// the message. `extraDates` are further date texts to fit (a preview's).
// The same width for every row keeps the messages aligned.
int DateColumnWidth(TextMeasure measure, void* context, bool showWeekday,
                    const char* const* extraDates = nullptr, int extraCount = 0);

// Splits a row text in place at its first two TAB characters into the days,
// date and message parts; a missing part is empty. Later TABs belong to the
// message.
void SplitRowText(char* text, const char** days, const char** date, const char** message);

// The note pictogram in a cell: an outline from (left, top) over (right, top)
// and (right, bottom) to (left, bottom), filled white inside, with
// `lineCount` horizontal lines from lineLeft to lineRight.
struct NoteIconShape {
    int left;
    int top;
    int right;
    int bottom;
    int lineCount;  // 0, 3, 4, 5 or 6
    int lineLeft;
    int lineRight;
    int lineY[6];
};

NoteIconShape NoteIconGeometry(int cellLeft, int cellTop, int cellRight, int cellBottom);
