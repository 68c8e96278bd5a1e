// The reminder pop-up on the test thread, with the clock at Sunday
// 29 December 2024, noon.
#include "dialogs/reminder_popup.h"

#include "app/main_window.h"
#include "app/startup.h"
#include "resources/resource_ids.h"
#include "tests/dialogs/fixture.h"

namespace {
// Friday 3 January 2025, five days ahead.
DueItem Row(const std::string& message, const std::string& notes) {
    DueItem row{};
    row.day = 3;
    row.month = 1;
    row.daysLeft = 5;
    CopyText(row.message, message.c_str(), sizeof row.message);
    CopyText(row.notes, notes.c_str(), sizeof row.notes);
    return row;
}

RECT Frame(HWND window) {
    RECT box;
    GetWindowRect(window, &box);
    return box;
}

class ReminderPopup : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        platformNowOverride = Noon(2024, 12, 29);
        dc_ = GetDC(nullptr);
        SelectObject(dc_, listFontHandle);
        TEXTMETRICW metrics;
        GetTextMetricsW(dc_, &metrics);
        lineHeight_ = metrics.tmHeight;
    }
    void TearDown() override {
        closeModeless(&PopupHandle);
        ReleaseDC(nullptr, dc_);
        DialogTest::TearDown();
    }
    // Opened with the pointer at `pointer`, as the main window opens it.
    HWND OpenPopup(const DueItem& row, POINT pointer = {300, 200}, HWND owner = nullptr) {
        closeModeless(&PopupHandle);
        EXPECT_TRUE(MouseTo(pointer));
        dialog_ = PopupHandle = OpenReminderPopup(owner, &row);
        PumpMessages(60);
        return PopupHandle;
    }
    int TextWidth(const std::string& text) const {
        wchar_t wide[4096];
        int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide, 4096) - 1;
        SIZE size = {0, 0};
        GetTextExtentPoint32W(dc_, wide, length, &size);
        return size.cx;
    }
    HDC dc_ = nullptr;
    int lineHeight_ = 0;
    const int frames_ = 2 * GetSystemMetrics(SM_CYFRAME);
};
}  // namespace

// A faulty macro shows as typed.
TEST_F(ReminderPopup, TitleFollowsTheDateOrderAndWeekdayAndMacrosCountToTheOccurrence) {
    const struct {
        int order;
        const char *message, *notes, *title, *notesShown;
    } cases[] = {{1, "Urodziny Ani ($Age{1990} lat)", "Tel. 1\r\nŚlub: $Age{2000} lat temu",
                  "03 Sty (Pią), Urodziny Ani (35 lat)", "Tel. 1\r\nŚlub: 25 lat temu"},
                 {0, "Rata $Age{19x}", "Konto $Age{-40000}", "Sty 03, Rata $Age{19x}", "Konto $Age{-40000}"}};
    for (const auto& c : cases) {
        dayFirst = prefs.showWeekday = c.order;
        OpenPopup(Row(c.message, c.notes));
        EXPECT_EQ(Text(IDC_POPUP_TITLE), c.title);
        EXPECT_EQ(Text(IDC_POPUP_NOTES), c.notesShown);
    }
}

// As wide as the widest of the template, the title and the notes' first
// line, as tall as the notes' lines, within the screen under the pointer.
TEST_F(ReminderPopup, SizesItselfToItsTextsWithinTheScreenUnderThePointer) {
    std::string tall = std::string(300, 'W');
    for (int i = 0; i < 1500; ++i) tall += "\r\nW";
    enum Width { kTemplate, kTitle, kNotes, kScreen };
    const struct {
        std::string message, notes;
        Width width;
        int noteLines;  // 0: as tall as the screen
    } cases[] = {
        {"Ania", "Tel. 1", kTemplate, 1},
        {std::string(40, 'W'), "Tel. 1", kTitle, 1},
        {"Ania", "Adres: " + std::string(45, 'M'), kNotes, 1},
        {"Ania", "Tel. 600 100 200\r\nul. Długa 5\r\n00-950 Warszawa", kTemplate, 3},
        {"Ania", tall, kScreen, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.notes.substr(0, 20));
        HWND popup = OpenPopup(Row(c.message, c.notes));
        RECT units = {0, 0, 270, 10};  // the title's box in the template
        MapDialogRect(popup, &units);
        const int widths[3] = {units.right + frames_,
                               TextWidth("03 Sty, " + c.message) + frames_ + 21 + frames_,
                               TextWidth(c.notes.substr(0, c.notes.find('\r'))) + frames_ + 1 + frames_};
        int width = GetSystemMetrics(SM_CXFULLSCREEN);
        if (c.width != kScreen) {
            width = widths[c.width];
            for (int other : widths) ASSERT_LE(other, width) << "the case does not test what it says";
        }
        const int height =
            c.noteLines ? lineHeight_ * (1 + c.noteLines) + 2 + frames_ : GetSystemMetrics(SM_CYFULLSCREEN);
        const int left = c.width == kScreen ? GetSystemMetrics(SM_CXSCREEN) - width : 296;
        EXPECT_EQ(Frame(popup), (RECT{left, 196, left + width, 196 + height}));
    }

    // Near the edges: moved left only as far as the right edge needs, never up.
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT box = Frame(OpenPopup(Row("Ania", "Tel. 1"), {screenWidth - 10, 150}));
    EXPECT_EQ(box.right, screenWidth);
    EXPECT_EQ(box.top, 146);
    box = Frame(OpenPopup(Row("Ania", "Tel. 1\r\n2\r\n3"), {200, screenHeight - 8}));
    EXPECT_EQ(box.left, 196);
    EXPECT_EQ(box.top, screenHeight - 12);

    // Resized, down to 100 by 32 at least, the controls follow.
    HWND popup = OpenPopup(Row("Zapłacić rachunek", "Konto 123\r\nDo 10-go"));
    SaveShot(popup, "reminder-popup");
    SetWindowPos(popup, nullptr, 0, 0, 520, 150, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(popup, &client);
    const int w = client.right, h = client.bottom, t = lineHeight_;
    EXPECT_EQ(ChildBox(popup, IDC_POPUP_TITLE), (RECT{3, 0, w - 17, t}));
    EXPECT_EQ(ChildBox(popup, IDC_POPUP_SEPARATOR), (RECT{3, t + 1, w - 3, t + 3}));
    EXPECT_EQ(ChildBox(popup, IDC_POPUP_NOTES), (RECT{3, t + 3, w + 3, h + 4}));
    EXPECT_EQ(ChildBox(popup, IDCANCEL).left, w - 12);
    SetWindowPos(popup, nullptr, 0, 0, 40, 10, SWP_NOMOVE | SWP_NOZORDER);
    box = Frame(popup);
    EXPECT_EQ((box.right - box.left) * 1000 + box.bottom - box.top, 100032);
}

TEST_F(ReminderPopup, AnyLeftClickEnterOrEscClosesItAndClosingTwiceIsHarmless) {
    HWND popup = OpenPopup(Row("Ania", "Tel. 1\r\nul. Długa 5"));
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(popup, IDC_POPUP_NOTES, WM_GETFONT, 0, 0));
    ASSERT_TRUE(MouseTo(Centre(GetDlgItem(popup, IDC_POPUP_NOTES))));
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    PumpMessages(100);
    EXPECT_TRUE(IsWindow(popup)) << "a right click does nothing";
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    PumpMessages(100);
    EXPECT_FALSE(IsWindow(popup)) << "a click on the notes text";
    EXPECT_EQ(PopupHandle, nullptr);
    EXPECT_EQ(GetObjectType(font), 0u) << "its font is released";
    closeModeless(&PopupHandle);

    // The keys reach it through the program's message loop.
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        popup = OpenPopup(Row("Ania", "Tel. 1"));
        PostMessageA(popup, WM_KEYDOWN, key, 0);
        PostQuitMessage(0);
        RunMessageLoop();
        EXPECT_FALSE(IsWindow(popup)) << key;
        EXPECT_EQ(PopupHandle, nullptr);
    }

    // Taken along by its owner: no handle outlives its window.
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    popup = OpenPopup(Row("Ania", "Tel. 1"), {300, 200}, owner);
    font = reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(popup, IDC_POPUP_NOTES, WM_GETFONT, 0, 0));
    DestroyWindow(owner);
    EXPECT_EQ(PopupHandle, nullptr);
    EXPECT_EQ(GetObjectType(font), 0u);
}
