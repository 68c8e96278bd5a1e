// Rows painted into a bitmap by the list's owner-draw code, under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "app/colours.h"
#include "app/list_drawing.h"
#include "app/list_layout.h"
#include "app/load_str.h"
#include "app/main_window.h"
#include "app/platform_win32.h"
#include "app/state.h"
#include "app/win_state.h"
#include "tests/window_fixture.h"

namespace {
constexpr int kWidth = 600;
constexpr int kHeight = 24;

class ListDrawing : public testing::Test {
protected:
    void SetUp() override {
        prefs = DefaultPrefs();
        ApplyDefaultListFont(&prefs.listFont);
        listFontHandle = CreateListFont(prefs.listFont);
        platformNowOverride = LocalClock(2026, 3, 15, 12, 0);
        dayFirst = 1;
        backgroundBrush = CreateSolidBrush(SchemeBackground(0));
        BITMAPINFO info;
        std::memset(&info, 0, sizeof info);
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels_), nullptr, 0);
        oldBitmap_ = SelectObject(dc_, bitmap_);
        oldFont_ = SelectObject(dc_, listFontHandle);
    }
    void TearDown() override {
        SelectObject(dc_, oldFont_);
        SelectObject(dc_, oldBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
        DeleteObject(backgroundBrush);
        backgroundBrush = nullptr;
        DeleteObject(listFontHandle);
        listFontHandle = nullptr;
        platformNowOverride = 0;
        prefs = DefaultPrefs();
    }

    BOOL Draw(const DueItem& row, bool selected) {
        DRAWITEMSTRUCT item;
        std::memset(&item, 0, sizeof item);
        item.CtlType = ODT_LISTBOX;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = selected ? ODS_SELECTED : 0;
        item.hDC = dc_;
        item.rcItem = {0, 0, kWidth, kHeight};
        item.itemData = reinterpret_cast<ULONG_PTR>(&row);
        GdiFlush();
        BOOL result = DrawListItem(&item);
        GdiFlush();
        return result;
    }

    // The pixel as a COLORREF.
    uint32_t At(int x, int y) const {
        uint32_t p = pixels_[y * kWidth + x];
        return Rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(uint32_t colour, int left, int right) const {
        int n = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = left; x < right; ++x) n += At(x, y) == colour;
        }
        return n;
    }
    // The right-most column in [left, right) with a pixel other than
    // `background` (smoothed text has few pixels of its exact colour), or -1.
    int RightMost(uint32_t background, int left, int right) const {
        for (int x = right - 1; x >= left; --x) {
            for (int y = 0; y < kHeight; ++y) {
                if (At(x, y) != background) return x;
            }
        }
        return -1;
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    uint32_t* pixels_ = nullptr;
};

DueItem Row(int daysLeft, const char* message, const char* notes = "") {
    Duty row = MakeDuty(15, 3, message, notes);
    row.daysLeft = daysLeft;
    return row;
}
}  // namespace

TEST_F(ListDrawing, TextColourByDaysLeft) {
    const int days[3] = {-1, 0, 1};
    const uint32_t colours[3] = {ColourScheme.pastDays[0], ColourScheme.today[0], ColourScheme.futureDays[0]};
    int daysRight = TextWidth(dc_, LoadStr(1290));
    for (int i = 0; i < 3; ++i) {
        DueItem row = Row(days[i], "Wiadomość");
        ASSERT_TRUE(Draw(row, false));
        EXPECT_GT(Count(colours[i], 0, daysRight), 0) << days[i];
        for (int j = 0; j < 3; ++j) {
            if (j != i) {
                EXPECT_EQ(Count(colours[j], 0, kWidth), 0) << days[i] << " " << j;
            }
        }
        EXPECT_EQ(At(kWidth - 1, kHeight - 1), SchemeBackground(0));
    }
}

TEST_F(ListDrawing, SelectedRowIsShadedAndWithoutFocusFrame) {
    DueItem row = Row(3, "Zaznaczony");
    ASSERT_TRUE(Draw(row, true));
    uint32_t shade = SelectionColour(SchemeBackground(0));
    EXPECT_EQ(At(kWidth - 1, 0), shade);
    EXPECT_EQ(At(kWidth - 1, kHeight - 1), shade);
    EXPECT_EQ(At(0, 0), shade) << "no focus rectangle at the corner";
    EXPECT_EQ(Count(SchemeBackground(0), 0, kWidth), 0);

    prefs.colourScheme = 2;
    DeleteObject(backgroundBrush);
    backgroundBrush = CreateSolidBrush(SchemeBackground(2));
    ASSERT_TRUE(Draw(row, false));
    EXPECT_EQ(At(kWidth - 1, 5), Rgb(0xCC, 0xFF, 0xFF));
    EXPECT_GT(Count(Rgb(0, 0, 0xFF), 0, kWidth), 0);
}

TEST_F(ListDrawing, NotePictogramOnlyForRowsWithNotes) {
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_LISTBOX;
    MeasureListItem(GetDesktopWindow(), &measure);
    EXPECT_EQ(noteLeft, TextWidth(dc_, "-188 dni:") + 1);
    EXPECT_EQ(noteRight, noteLeft + TextWidth(dc_, "M"));
    NoteIconShape sheet = NoteIconGeometry(noteLeft, 0, noteRight, kHeight);
    int x = sheet.left + 1;
    int y = sheet.top + 1;

    DueItem plain = Row(2, "Bez notatek");
    ASSERT_TRUE(Draw(plain, false));
    EXPECT_EQ(At(x, y), SchemeBackground(0));
    EXPECT_EQ(Count(Rgb(0, 0, 0), noteLeft, noteRight), 0);

    DueItem noted = Row(2, "Z notatką", "Pamiętaj");
    ASSERT_TRUE(Draw(noted, false));
    EXPECT_EQ(At(x, y), Rgb(255, 255, 255));
    EXPECT_EQ(At(sheet.left, sheet.top), Rgb(0, 0, 0)) << "outline";
    ASSERT_GT(sheet.lineCount, 0);
    EXPECT_EQ(At(sheet.lineLeft, sheet.lineY[0]), Rgb(0, 0, 0)) << "first text line";
}

TEST_F(ListDrawing, WeekdayWidensTheDateColumnAndAmpersandsShow) {
    uint32_t background = SchemeBackground(0);
    DueItem row = Row(4, "Tom & Jerry");
    ASSERT_TRUE(Draw(row, false));
    int plainEnd = RightMost(background, 0, kWidth);
    ListColumns columns = ListColumnBounds(TextWidth(dc_, LoadStr(1290)), TextWidth(dc_, "M"),
                                           TextWidth(dc_, LoadStr(1300)), TextWidth(dc_, LoadStr(1310)), false);
    int messageWidth = TextWidth(dc_, "Tom & Jerry");
    EXPECT_NEAR(plainEnd, columns.messageLeft + messageWidth - 1, 2) << "the & is drawn, not taken as a prefix";

    prefs.showWeekday = 1;
    ASSERT_TRUE(Draw(row, false));
    EXPECT_EQ(RightMost(background, 0, kWidth), plainEnd + TextWidth(dc_, LoadStr(1310)));
}

TEST_F(ListDrawing, RowWithoutDataIsNotDrawn) {
    DRAWITEMSTRUCT item;
    std::memset(&item, 0, sizeof item);
    item.CtlType = ODT_LISTBOX;
    item.itemID = static_cast<UINT>(-1);
    item.hDC = dc_;
    item.rcItem = {0, 0, kWidth, kHeight};
    EXPECT_FALSE(DrawListItem(&item));
}
