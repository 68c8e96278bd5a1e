// Pictures of the main window, kept for a person to look at (also at 144
// dots per inch), and checked where a fault would show in them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/instance.h"
#include "tests/e2e/quillbee_files.h"
#include "tests/scheme_colours.h"

namespace {
// A picture of the main window and where its list's rows lie in it.
struct ListPicture {
    WindowPixels picture;
    int left = 0, top = 0, right = 0, rowHeight = 0;
    // Pixels of row `row` in `colour`.
    int Count(int row, COLORREF colour) const {
        int n = 0;
        for (int y = top + row * rowHeight; y < top + (row + 1) * rowHeight; ++y)
            for (int x = left; x < right; ++x) n += picture.At(x, y) == colour;
        return n;
    }
    // The last column of row `row` with anything but `background`.
    int RightmostInk(int row, COLORREF background) const {
        for (int x = right - 1; x >= left; --x)
            for (int y = top + row * rowHeight; y < top + (row + 1) * rowHeight; ++y)
                if (picture.At(x, y) != background) return x;
        return -1;
    }
};

// Starts the program in a folder of its own on these preferences and events,
// waits for its `rows` rows and saves a picture of its main window as NAME;
// returns what the screen shows of it.
ListPicture PictureOfMainWindow(const PrefsLine& prefs, const std::string& events, int rows,
                                const std::string& name) {
    ListPicture shot;
    Instance app("picture", events);
    app.Write("quillbee.prefs", PrefsFile(prefs));
    SetCursorPos(0, 0);  // no row selected under the pointer, even as the window shows
    HWND window = app.Run(rows);
    if (window == nullptr) return shot;
    RECT frame, list;
    GetWindowRect(window, &frame);
    GetClientRect(ListBoxOf(window), &list);
    MapWindowPoints(ListBoxOf(window), nullptr, reinterpret_cast<POINT*>(&list), 2);
    shot = {{}, list.left - frame.left, list.top - frame.top, list.right - frame.left, RowHeight(window)};
    // Painted once the first row shows more than its left edge's colour; a
    // first start may take a while.
    EXPECT_TRUE(WaitUntil(
        [&] {
            shot.picture = CaptureWindow(window);
            return !shot.picture.bits.empty() && shot.Count(0, shot.picture.At(shot.left, shot.top)) <
                                                     (shot.right - shot.left) * shot.rowHeight;
        },
        5000));
    Picture(window, name);
    EXPECT_EQ(app.Quit(), 0u);
    return shot;
}
}  // namespace

// Every row in its scheme's colour for past, today's and coming events, on
// the scheme's background; the weekday widens the date column.
TEST(EndToEnd, PicturesOfTheColourSchemes) {
    const std::string events = EventsFile(
        EventLine(-2, "Renew magazine subscription") + EventLine(0, "Call Anna & Tom", "Bring the tickets") +
        EventLine(1, "Żółw: zażółć gęślą jaźń") + EventLine(7, "George's birthday! ($Age{1968} years old)"));
    ListPicture plain;
    for (int scheme = 0; scheme <= 4; ++scheme) {
        PrefsLine prefs;
        prefs.colourScheme = scheme % 4;
        prefs.showWeekday = scheme == 4;
        prefs.alwaysOnTop = 1;
        const ListPicture shot = PictureOfMainWindow(
            prefs, events, 4, scheme == 4 ? "weekday-column" : "scheme-" + std::to_string(scheme));
        ASSERT_FALSE(shot.picture.bits.empty());
        const SchemeColours& colours = kSchemeColours[prefs.colourScheme];
        const COLORREF ink[4] = {colours.past, colours.today, colours.coming, colours.coming};
        if (scheme == 0) plain = shot;
        for (int row = 0; row < 4; ++row) {
            SCOPED_TRACE("scheme " + std::to_string(scheme) + ", row " + std::to_string(row));
            EXPECT_GT(shot.Count(row, ink[row]), 0);
            EXPECT_EQ(shot.picture.At(shot.right - 2, shot.top + row * shot.rowHeight + 1),
                      colours.background);
            if (scheme == 4) {
                EXPECT_GT(shot.RightmostInk(row, colours.background),
                          plain.RightmostInk(row, colours.background))
                    << "the weekday widens the date column";
            }
        }
    }
}

// Events spread over the year in the default font and in a wide bold one:
// every date whole, the messages in one column.
TEST(EndToEnd, PicturesOfTheDateColumn) {
    std::string rows;
    const char* messages[] = {"Renew magazine subscription", "Call Anna", "Wedding anniversary", "Żółw"};
    for (int days = -180, i = 0; days <= 180; days += 29, ++i) rows += EventLine(days, messages[i % 4]);
    for (int shot = 0; shot < 4; ++shot) {
        PrefsLine prefs;
        prefs.warnDaysBefore = prefs.warnDaysAfter = 182;
        const bool wide = shot >= 2;
        prefs.listFont = wide ? "-20 0 0 0 700 0 0 0 0 0 0 0 0 'DejaVu Sans'" : prefs.listFont;
        prefs.showWeekday = shot % 2;
        prefs.windowWidth = 700;
        PictureOfMainWindow(
            prefs, EventsFile(rows), 13,
            std::string(wide ? "date-column-wide" : "date-column") + (shot % 2 ? "-weekday" : ""));
    }
}
