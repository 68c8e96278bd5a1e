#include "app/list_layout.h"

#include <cmath>
#include <cstring>

ListColumns ListColumnBounds(int daysWidth, int noteWidth, int dateWidth, int weekdayWidth,
                             bool showWeekday) {
    ListColumns c;
    c.daysRight = daysWidth;
    c.noteLeft = c.daysRight + 1;
    c.noteRight = c.noteLeft + noteWidth;
    c.dateLeft = c.noteRight + 1;
    c.dateRight = c.dateLeft + dateWidth + (showWeekday ? weekdayWidth : 0);
    c.messageLeft = c.dateRight + 1;
    return c;
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
