// The event editor on its real template, driven by messages the way the
// user's clicks and keys arrive. Today is 15 March 2026.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "resources/event_editor_ids.h"
#include "resources/special_limits_ids.h"
#include "tests/dialogs/editor_fixture.h"
#include "tests/dialogs/helpers.h"

namespace {

class EventEditor : public DialogTest {
protected:
    HWND OpenNew(char repeatMark = 'N') {
        newEventRepeatMark = repeatMark;
        duty_ = Duty{};
        duty_.daysLeft = kEditorNew;
        return OpenEditor(&duty_);
    }
    HWND OpenOn(const Duty& duty, int mode = kEditorModify) {
        duty_ = duty;
        duty_.daysLeft = mode;
        return OpenEditor(&duty_);
    }
    // Chooses item `index` of a date box as a click in its list does.
    void Choose(int id, int index) {
        SendMessageA(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
    }
    void ChooseDate(int day, int month, int year = 0) {
        Choose(IDC_EDITOR_MONTH, month - 1);
        Choose(IDC_EDITOR_DAY, day - 1);
        if (year) Choose(IDC_EDITOR_YEAR, year - 1753);
    }
    // The year the year box shows; 0 for none.
    int YearShown() const {
        LRESULT index = SendMessageA(Item(IDC_EDITOR_YEAR), CB_GETCURSEL, 0, 0);
        return index < 0 ? 0 : 1753 + static_cast<int>(index);
    }
    void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    void Type(int id, const char* text) {
        SendMessageA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    void Post(int id) { PostMessageA(dialog_, WM_COMMAND, static_cast<WPARAM>(id), 0); }
    bool Shown(int id) const { return IsWindowVisible(Item(id)) != 0; }
    bool FocusComesTo(int id) {
        return WaitUntil([&] { return Focus() == Item(id); }, 3000);
    }
    RECT Rect(int id) const {
        RECT rect;
        GetWindowRect(Item(id), &rect);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    RECT TemplateRect(int left, int top, int width, int height) const {
        RECT rect = {left, top, left + width, top + height};
        MapDialogRect(dialog_, &rect);
        return rect;
    }
    // Where a click shows `day` of the month on show in the calendar.
    bool DayCell(int day, int month, POINT* point) const {
        HWND calendar = Item(IDC_EDITOR_CALENDAR);
        RECT client;
        GetClientRect(calendar, &client);
        for (int y = client.bottom / 4; y < client.bottom; y += 2) {
            for (int x = 2; x < client.right; x += 2) {
                MCHITTESTINFO hit = {};
                hit.cbSize = sizeof hit;
                hit.pt = {x, y};
                if (SendMessageA(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) ==
                        MCHT_CALENDARDATE &&
                    hit.st.wDay == day && hit.st.wMonth == month) {
                    *point = hit.pt;
                    return true;
                }
            }
        }
        return false;
    }
    void ClickCalendarButton() {
        RECT button = Rect(IDC_EDITOR_CALENDAR_BUTTON);
        PostMessageA(dialog_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.left + 4, button.top + 4));
        PostMessageA(dialog_, WM_LBUTTONUP, 0, MAKELPARAM(button.left + 4, button.top + 4));
    }
    std::string Stored() const {
        char text[kMessageSize + kNotesSize + 64];
        std::snprintf(text, sizeof text, "%d.%d.%d %d%c %d/%d [%s] [%s] mode %d line %d", duty_.day,
                      duty_.month, duty_.year, duty_.yearly, static_cast<char>(duty_.repeatMark),
                      duty_.warnBefore, duty_.warnAfter, duty_.message, duty_.notes, duty_.daysLeft,
                      duty_.line);
        return text;
    }

    // Ends the editor however it stands, agreeing to lose any changes.
    void Finish() {
        for (int i = 0; i < 25 && run_ && !run_->Wait(0); ++i) {
            HWND box = run_->OpenedOver(dialog_, 0);
            if (box) {
                // A question about changes, or the nested limits dialog.
                PressButton(box, GetDlgItem(box, IDYES)      ? IDYES
                                 : GetDlgItem(box, IDCANCEL) ? IDCANCEL
                                                             : IDOK);
            } else {
                PostMessageA(dialog_, WM_COMMAND, IDC_EDITOR_DISCARD, 0);
            }
            Sleep(200);
        }
        run_.reset();
    }
    void TearDown() override {
        Finish();
        DialogTest::TearDown();
    }

    Duty duty_;
};

}  // namespace

// Both date orders: each box widened by what the system's drop-down button
// takes beyond 20 pixels, the three in a row at the year box's height, each
// label above its box; the keyboard goes through them from left to right.
TEST_F(EventEditor, DateBoxesStandInTheLocaleOrder) {
    for (int order = 1; order >= 0; --order) {
        dayFirst = order;
        OpenNew();
        ASSERT_NE(dialog_, nullptr);
        const int d = GetSystemMetrics(SM_CXVSCROLL) - 20;
        const RECT day = TemplateRect(6, 14, 27, 120), month = TemplateRect(36, 14, 60, 112);
        const RECT day2 = Rect(IDC_EDITOR_DAY), month2 = Rect(IDC_EDITOR_MONTH),
                   year2 = Rect(IDC_EDITOR_YEAR);
        EXPECT_EQ(day2.right - day2.left, day.right - day.left + d);
        EXPECT_EQ(month2.right - month2.left, month.right - month.left + d);
        const RECT& first = order ? day2 : month2;
        const RECT& second = order ? month2 : day2;
        EXPECT_EQ(first.left, day.left) << order;
        EXPECT_EQ(second.right, month.right + 2 * d) << order;
        EXPECT_EQ(year2.left, TemplateRect(99, 14, 35, 120).left + 2 * d);
        EXPECT_EQ(Rect(IDC_EDITOR_CALENDAR_BUTTON).left, TemplateRect(137, 14, 16, 13).left + 3 * d);
        RECT lists[3];
        for (int i = 0; i < 3; ++i) {
            const int id = IDC_EDITOR_DAY + 2 * i;
            SendMessageA(Item(id), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&lists[i]));
            const RECT box = Rect(id), label = Rect(IDC_EDITOR_DAY_LABEL + i);
            EXPECT_EQ(box.top, year2.top);
            EXPECT_EQ(label.left, box.left);
            EXPECT_EQ(label.right, box.right);
            EXPECT_EQ(label.top, TemplateRect(6, 5, 20, 12).top);
            EXPECT_EQ(label.bottom - label.top, box.bottom - box.top);
        }
        EXPECT_GT(lists[2].bottom - lists[2].top, 5 * (year2.bottom - year2.top)) << "room for the lists";
        EXPECT_EQ(lists[0].bottom - lists[0].top, lists[2].bottom - lists[2].top)
            << "the year box's list height";
        EXPECT_EQ(lists[1].bottom - lists[1].top, lists[2].bottom - lists[2].top);
        HWND firstBox = Item(order ? IDC_EDITOR_DAY : IDC_EDITOR_MONTH);
        EXPECT_EQ(GetNextDlgTabItem(dialog_, firstBox, FALSE),
                  Item(order ? IDC_EDITOR_MONTH : IDC_EDITOR_DAY));
        EXPECT_EQ(Text(IDC_EDITOR_MONTH), "Marzec");
        EXPECT_EQ(SendMessageA(Item(IDC_EDITOR_YEAR), CB_GETCOUNT, 0, 0), 348);
        SendMessageA(Item(IDC_EDITOR_NOTES), EM_REPLACESEL, TRUE,
                     reinterpret_cast<LPARAM>("Telefon: 600 100 200"));
        Click(IDC_EDITOR_SPECIAL_LIMITS);
        SaveShot(dialog_, order ? "event-editor-day-first" : "event-editor-month-first");
        PostMessageA(dialog_, WM_COMMAND, IDC_EDITOR_SET_LIMITS, 0);
        HWND limits = run_->OpenedOver(dialog_);
        ASSERT_NE(limits, nullptr);
        SaveShot(limits, order ? "special-limits-day-first" : "special-limits-month-first");
        PressButton(limits, IDCANCEL);
        Finish();
    }
}

// A one-off event's year follows the date until the user chooses one: in the
// year box (merely entering it counts) or in the calendar.
TEST_F(EventEditor, TheYearIsProposedUntilChosen) {
    OpenNew('N');
    EXPECT_EQ(YearShown(), 2026);
    EXPECT_EQ(Text(IDC_EDITOR_DAY), "15");
    Choose(IDC_EDITOR_DAY, 9);
    EXPECT_EQ(YearShown(), 2027) << "10 March has passed";
    Choose(IDC_EDITOR_DAY, 14);
    EXPECT_EQ(YearShown(), 2026);

    Choose(IDC_EDITOR_YEAR, 2030 - 1753);
    Click(IDC_EDITOR_REPEAT);
    EXPECT_EQ(YearShown(), 0);
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_EDITOR_YEAR)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_EDITOR_YEAR_LABEL)));
    Click(IDC_EDITOR_REPEAT);
    EXPECT_EQ(YearShown(), 2030);
    Choose(IDC_EDITOR_DAY, 2);
    EXPECT_EQ(YearShown(), 2030);
    Finish();

    OpenNew('N');
    PostMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_EDITOR_YEAR)), TRUE);
    ASSERT_TRUE(FocusComesTo(IDC_EDITOR_YEAR));
    Choose(IDC_EDITOR_DAY, 9);
    EXPECT_EQ(YearShown(), 2026) << "entering the year box chose 2026";
    Finish();

    // Another year than this one: the date in that year decides.
    for (time_t now : {Noon(2026, 1, 5), Noon(2026, 12, 20)}) {
        platformNowOverride = now;
        OpenOn(Event(10, 12, 2012, "Koncert"));
        EXPECT_EQ(YearShown(), 2012);
        Choose(IDC_EDITOR_DAY, 10);
        EXPECT_EQ(YearShown(), 2027);
        Finish();
    }
}

// The checks of a confirmed date, and what is stored when it passes.
TEST_F(EventEditor, ImpossibleDatesAreRefused) {
    struct Case {
        int day, month, year;  // year 0: yearly
        const char* box;       // the message shown, null for none
        const char* stored;    // null: the dialog stays open
    } cases[] = {
        {31, 4, 2026, "Error: Invalid date: Kwiecień does not have 31 days!", nullptr},
        {30, 4, 2026, nullptr, "30.4.2026 0N 0/0 [Wizyta] [] mode 4 line 0"},
        {29, 2, 2100, "Error: Invalid date: Luty (2100) does not have 29 days!", nullptr},
        {29, 2, 2000, nullptr, "29.2.2000 0N 0/0 [Wizyta] [] mode 4 line 0"},
        {29, 2, 2024, nullptr, "29.2.2024 0N 0/0 [Wizyta] [] mode 4 line 0"},
        {29, 2, 0, "Warning: The selected date will overlap with March 1st on non leap years.",
         "29.2.2026 1Y 0/0 [Wizyta] [] mode 4 line 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.day) + "." + std::to_string(c.month) + "." + std::to_string(c.year));
        OpenNew(c.year ? 'N' : 'Y');
        ChooseDate(c.day, c.month, c.year);
        Type(IDC_EDITOR_MESSAGE, "Wizyta");
        Post(IDOK);
        if (c.box) {
            EXPECT_EQ(Answer(IDOK), c.box);
        }
        if (c.stored) {
            EXPECT_TRUE(Ended(1));
            EXPECT_EQ(Stored(), c.stored);
        } else {
            EXPECT_TRUE(FocusComesTo(IDC_EDITOR_DAY));
            EXPECT_FALSE(run_->Wait(200));
        }
        Finish();
    }
}

// The message must say something, and macros must be valid; the keyboard
// goes to the text at fault.
TEST_F(EventEditor, MessageAndMacroChecks) {
    const std::string invalid =
        "Error in the expression of a macro: When evaluating the following macro:\n\n$Age{year}\n\nI found "
        "the "
        "parameter 'year' invalid!\n";
    const std::string tooBig = invalid.substr(0, invalid.size() - 9) + "too big!\n";
    struct Case {
        const char *message, *notes;
        std::string box;  // empty: stored
        int focus;
    } cases[] = {
        {" \t  ", "", "Error: An event must have a warning message!", IDC_EDITOR_MESSAGE},
        {"  Urodziny \t\t Ani  ", "", "", 0},
        {"Urodziny $Age{abc}", "", invalid, IDC_EDITOR_MESSAGE},
        {"Urodziny", "Rok $Age{abc}", invalid, IDC_EDITOR_NOTES},
        {"Urodziny $Age{-40000}", "", tooBig, IDC_EDITOR_MESSAGE},
        {"Urodziny $Age{abc}", "$Age{-40000}", tooBig, IDC_EDITOR_MESSAGE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        OpenNew();
        Type(IDC_EDITOR_MESSAGE, c.message);
        Type(IDC_EDITOR_NOTES, c.notes);
        Post(IDOK);
        if (c.box.empty()) {
            EXPECT_TRUE(Ended(1));
            EXPECT_STREQ(duty_.message, "Urodziny Ani");
        } else {
            EXPECT_EQ(Answer(IDOK), c.box);
            EXPECT_TRUE(FocusComesTo(c.focus));
            EXPECT_FALSE(run_->Wait(200));
        }
        Finish();
    }
}

// The special limits: the global ones to start with, the nested dialog's
// pair once set, none with the default radio button.
TEST_F(EventEditor, SpecialLimits) {
    OpenNew();
    Type(IDC_EDITOR_MESSAGE, "Przegląd");
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_EDITOR_SET_LIMITS)));
    EXPECT_FALSE(Shown(IDC_EDITOR_LIMITS_MARK));
    Click(IDC_EDITOR_SPECIAL_LIMITS);
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_EDITOR_SET_LIMITS)));
    EXPECT_TRUE(Shown(IDC_EDITOR_LIMITS_MARK));
    Post(IDOK);
    ASSERT_TRUE(Ended(1));
    EXPECT_EQ(duty_.warnBefore * 1000 + duty_.warnAfter, 10003);

    OpenOn(Event(1, 6, 0, "Przegląd", "", 5, 1));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_EDITOR_SPECIAL_LIMITS), BST_CHECKED);
    EXPECT_TRUE(Shown(IDC_EDITOR_LIMITS_MARK));
    PostMessageA(dialog_, WM_COMMAND, IDC_EDITOR_SET_LIMITS, 0);
    HWND limits = run_->OpenedOver(dialog_);
    ASSERT_NE(limits, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, IDOK)));
    EXPECT_EQ(WindowText(GetDlgItem(limits, IDC_LIMITS_BEFORE)) + "/" +
                  WindowText(GetDlgItem(limits, IDC_LIMITS_AFTER)),
              "5/1");
    SetDlgItemTextA(limits, IDC_LIMITS_BEFORE, "7");
    SetDlgItemTextA(limits, IDC_LIMITS_AFTER, "20");
    PressButton(limits, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog_, IDOK)) != 0; }, 3000));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_EDITOR_SET_LIMITS)));
    Click(IDC_EDITOR_DEFAULT_LIMITS);
    Click(IDC_EDITOR_SPECIAL_LIMITS);
    Post(IDOK);
    ASSERT_TRUE(Ended(1));
    EXPECT_EQ(duty_.warnBefore * 1000 + duty_.warnAfter, 7020) << "kept while the default was chosen";

    OpenOn(Event(1, 6, 0, "Przegląd", "", 5, 1));
    Click(IDC_EDITOR_DEFAULT_LIMITS);
    EXPECT_FALSE(Shown(IDC_EDITOR_LIMITS_MARK));
    Post(IDOK);
    ASSERT_TRUE(Ended(1));
    EXPECT_EQ(duty_.warnBefore * 1000 + duty_.warnAfter, 0);
}

// What counts as a change in each mode, and both ways of cancelling.
TEST_F(EventEditor, CancellingAsksOnlyAboutChanges) {
    const std::string discard =
        "Warning: You are going to cancel all the changes you have made!\n\nAre you sure?";
    const std::string save = "Warning: Do you want to save the changes you've made?\n";
    const Duty shown = Event(1, 6, 2027, "Przegląd", "Warsztat", 5, 1);
    struct Case {
        const char* name;
        int mode;
        std::vector<int> clicks;  // check box and radio buttons
        const char* notes;        // null: unchanged
        int key;                  // IDCANCEL (Esc) or "&Poniechaj"
        std::string question;     // empty: none
        int answer;
        INT_PTR result;  // 0: still open
    } cases[] = {
        {"new, date only", kEditorNew, {IDC_EDITOR_REPEAT}, nullptr, IDCANCEL, "", 0, 2},
        {"new, notes", kEditorNew, {}, "x", IDCANCEL, save, IDNO, 2},
        {"new, keep editing", kEditorNew, {}, "x", IDC_EDITOR_DISCARD, discard, IDNO, 0},
        {"new, discard", kEditorNew, {}, "x", IDC_EDITOR_DISCARD, discard, IDYES, 2},
        {"modify, nothing", kEditorModify, {}, nullptr, IDCANCEL, "", 0, 2},
        {"modify, notes saved", kEditorModify, {}, "Warsztat\r\nul. Polna 1", IDCANCEL, save, IDYES, 1},
        {"modify, keep editing", kEditorModify, {}, "", IDCANCEL, save, IDCANCEL, 0},
        {"modify, limits",
         kEditorModify,
         {IDC_EDITOR_DEFAULT_LIMITS},
         nullptr,
         IDC_EDITOR_DISCARD,
         discard,
         IDYES,
         2},
        {"modify, repeat", kEditorModify, {IDC_EDITOR_REPEAT}, nullptr, IDCANCEL, save, IDNO, 2},
        {"duplicate, nothing", kEditorDuplicate, {}, nullptr, IDC_EDITOR_DISCARD, "", 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.mode == kEditorNew) {
            OpenNew();
        } else {
            OpenOn(shown, c.mode);
        }
        for (int id : c.clicks) Click(id);
        if (c.notes) Type(IDC_EDITOR_NOTES, c.notes);
        Post(c.key);
        if (!c.question.empty()) {
            EXPECT_EQ(Answer(c.answer), c.question);
        }
        if (c.result == 0) {
            EXPECT_FALSE(run_->Wait(300));
        } else {
            EXPECT_TRUE(Ended(c.result));
        }
        if (c.result == 1) {
            EXPECT_EQ(Stored(), "1.6.2027 0N 5/1 [Przegląd] [Warsztat\r\nul. Polna 1] mode 4 line 7");
        } else if (c.mode != kEditorNew) {
            EXPECT_EQ(duty_.daysLeft, c.mode) << "the record is written on confirmation only";
        }
        Finish();
    }
}

TEST_F(EventEditor, CaptionsAndTheNextNewEventsRepeatBox) {
    OpenNew('Y');
    EXPECT_EQ(WindowText(dialog_), "Quillbee - Nowe zdarzenie");
    EXPECT_EQ(Focus(), Item(IDC_EDITOR_MESSAGE));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_EDITOR_REPEAT), BST_CHECKED);
    EXPECT_EQ(YearShown(), 0);
    Click(IDC_EDITOR_REPEAT);
    Type(IDC_EDITOR_MESSAGE, "Raz");
    Post(IDOK);
    ASSERT_TRUE(Ended(1));
    EXPECT_EQ(Stored(), "15.3.2026 0N 0/0 [Raz] [] mode 4 line 0");
    EXPECT_EQ(newEventRepeatMark, 'N');
    duty_ = Duty{};
    duty_.daysLeft = kEditorNew;
    OpenEditor(&duty_);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_EDITOR_REPEAT), BST_UNCHECKED);
    EXPECT_EQ(YearShown(), 2026);
    Finish();

    OpenOn(Event(1, 6, 0, "Przegląd"), kEditorDuplicate);
    EXPECT_EQ(WindowText(dialog_), "Quillbee - Duplikuj zdarzenie");
    DWORD caret = 0;
    SendMessageW(Item(IDC_EDITOR_MESSAGE), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    EXPECT_EQ(caret, 8u) << "the caret after the message";
    EXPECT_EQ(YearShown(), 0);
    Finish();
    OpenOn(Event(1, 6, 1700, "Dawno"));
    EXPECT_EQ(WindowText(dialog_), "Quillbee - Modifikuj zdarzenia");
    EXPECT_EQ(YearShown(), 0) << "a year the box does not offer";
    Post(IDOK);
    ASSERT_TRUE(Ended(1));
    EXPECT_EQ(duty_.year, 1700);
}

// The drop-down calendar: opened by the picture, with the boxes' date; a
// pick fills the boxes and chooses the year; OK and Esc only close it.
TEST_F(EventEditor, TheCalendarDropsDownAndPicks) {
    OpenNew('N');
    ChooseDate(20, 5);
    ASSERT_EQ(YearShown(), 2026);
    HWND calendar = Item(IDC_EDITOR_CALENDAR);
    EXPECT_FALSE(IsWindowVisible(calendar));
    ClickCalendarButton();
    ASSERT_TRUE(FocusComesTo(IDC_EDITOR_CALENDAR));
    EXPECT_TRUE(IsWindowVisible(calendar));
    SYSTEMTIME date = {};
    SendMessageA(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&date));
    EXPECT_EQ(date.wDay * 10000 + date.wMonth * 1000 + date.wYear, 20 * 10000 + 5 * 1000 + 2026);
    SaveShot(dialog_, "event-editor-calendar");
    for (int key : {IDOK, IDCANCEL}) {
        Post(key);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(calendar); }, 3000));
        EXPECT_FALSE(run_->Wait(100)) << "only the calendar closes";
        ClickCalendarButton();
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(calendar) != 0; }, 3000));
    }
    POINT cell;
    ASSERT_TRUE(DayCell(7, 5, &cell));
    PostMessageA(calendar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.x, cell.y));
    PostMessageA(calendar, WM_LBUTTONUP, 0, MAKELPARAM(cell.x, cell.y));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(calendar); }, 3000));
    EXPECT_EQ(Text(IDC_EDITOR_DAY) + " " + Text(IDC_EDITOR_MONTH), "7 Maj");
    ChooseDate(1, 3);
    EXPECT_EQ(YearShown(), 2026) << "a pick chooses the year";
}

// The tooltip of the calendar picture, and the indicators.
TEST_F(EventEditor, TooltipAndIndicators) {
    OpenOn(Event(1, 6, 0, "Przegląd", "Warsztat"));
    EXPECT_TRUE(Shown(IDC_EDITOR_NOTES_MARK));
    EXPECT_FALSE(Shown(IDC_EDITOR_LIMITS_MARK));
    std::string text;
    RECT rect;
    ASSERT_NE(TooltipOf(dialog_, &text, &rect), nullptr);
    EXPECT_EQ(text, "Wyświetl kalendarz");
    RECT button = Rect(IDC_EDITOR_CALENDAR_BUTTON);
    EXPECT_TRUE(EqualRect(&rect, &button));

    SendMessageA(Item(IDC_EDITOR_NOTES), EM_SETSEL, 0, -1);
    SendMessageA(Item(IDC_EDITOR_NOTES), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(""));
    EXPECT_FALSE(Shown(IDC_EDITOR_NOTES_MARK));
    SendMessageA(Item(IDC_EDITOR_NOTES), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("a"));
    EXPECT_TRUE(Shown(IDC_EDITOR_NOTES_MARK));
}

// The boxes hold whole characters within the record's bytes, whatever the
// edits' own limits in characters; notes are stored with CR LF line breaks.
TEST_F(EventEditor, TextsKeepToTheRecordsBytes) {
    OpenNew();
    HWND message = Item(IDC_EDITOR_MESSAGE);
    Type(IDC_EDITOR_MESSAGE, std::string(149, 'm').c_str());
    SendMessageW(message, EM_SETSEL, 149, 149);
    SendMessageW(message, WM_CHAR, L'ś', 0);
    EXPECT_EQ(Text(IDC_EDITOR_MESSAGE), std::string(149, 'm'));
    SendMessageW(message, WM_CHAR, L'x', 0);
    EXPECT_EQ(Text(IDC_EDITOR_MESSAGE), std::string(149, 'm') + "x");
    SendMessageW(message, EM_SETSEL, 10, 10);
    std::wstring polish(100, L'ą');
    SendMessageW(message, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(polish.c_str()));
    EXPECT_EQ(Text(IDC_EDITOR_MESSAGE), std::string(149, 'm') + "x") << "no room left";
    Type(IDC_EDITOR_MESSAGE, "");
    SendMessageW(message, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(polish.c_str()));
    std::string expected;
    for (int i = 0; i < 75; ++i) expected += "ą";
    EXPECT_EQ(Text(IDC_EDITOR_MESSAGE), expected);

    std::string notes;
    while (notes.size() < 4090) notes += "linia\n";
    SendMessageA(Item(IDC_EDITOR_NOTES), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(notes.c_str()));
    Post(IDOK);
    ASSERT_TRUE(Ended(1));
    EXPECT_EQ(std::string(duty_.message), expected);
    std::string lines;
    for (int i = 0; i < 585; ++i) lines += "linia\r\n";
    EXPECT_EQ(std::string(duty_.notes), lines + "l") << "4096 bytes once every line ends in CR LF";
}
