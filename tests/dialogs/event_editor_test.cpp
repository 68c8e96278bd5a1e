// The event editor on its real template, driven by messages the way the
// user's clicks and keys arrive.
#include "dialogs/event_editor.h"

#include <cstdio>

#include "resources/event_editor_ids.h"
#include "resources/resource_ids.h"
#include "resources/special_limits_ids.h"
#include "tests/dialogs/fixture.h"

namespace {

class EventEditor : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        discard_ = IDC_EDITOR_DISCARD;
    }
    // A new event, or `duty` in `mode`.
    HWND OpenEditor(const Duty* duty = nullptr, int mode = kEditorModify) {
        Close();
        duty_ = duty ? *duty : Duty{};
        duty_.daysLeft = duty ? mode : kEditorNew;
        return Open("EditDuty", EventEditorProc, &duty_);
    }
    // Chooses item `index` of a date box as a click in its list does.
    void Choose(int id, int index) {
        SendMessageA(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
    }
    // The year the year box shows; 0 for none.
    int YearShown() const {
        LRESULT index = SendMessageA(Item(IDC_EDITOR_YEAR), CB_GETCURSEL, 0, 0);
        return index < 0 ? 0 : 1753 + static_cast<int>(index);
    }
    void Type(int id, const char* text) { SetDlgItemTextA(dialog_, id, text); }
    void ClickCalendarButton() {
        RECT button = ChildBox(dialog_, IDC_EDITOR_CALENDAR_BUTTON);
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

    Duty duty_;
};

}  // namespace

// Both date orders: the boxes in a row with their labels above them, room for
// the lists, the keyboard going through them from left to right. Pictures of
// both dialogs in both orders; the special limits start as the global pair
// and the limits dialog sets them.
TEST_F(EventEditor, DateBoxesStandInTheLocaleOrder) {
    for (int order : {1, 0}) {
        dayFirst = order;
        ASSERT_NE(OpenEditor(), nullptr);
        const RECT day = ChildBox(dialog_, IDC_EDITOR_DAY), month = ChildBox(dialog_, IDC_EDITOR_MONTH);
        EXPECT_LE((order ? day : month).right, (order ? month : day).left);
        EXPECT_LE(std::max(day.right, month.right), ChildBox(dialog_, IDC_EDITOR_YEAR).left);
        for (int i = 0; i < 3; ++i) {
            const RECT box = ChildBox(dialog_, IDC_EDITOR_DAY + 2 * i);
            const RECT label = ChildBox(dialog_, IDC_EDITOR_DAY_LABEL + i);
            RECT list;
            SendMessageA(Item(IDC_EDITOR_DAY + 2 * i), CB_GETDROPPEDCONTROLRECT, 0,
                         reinterpret_cast<LPARAM>(&list));
            EXPECT_TRUE(box.top == day.top && label.left == box.left && label.right == box.right &&
                        label.top < box.top)
                << i;
            EXPECT_GT(list.bottom - list.top, 5 * (box.bottom - box.top)) << "room for the list " << i;
        }
        EXPECT_EQ(GetNextDlgTabItem(dialog_, Item(order ? IDC_EDITOR_DAY : IDC_EDITOR_MONTH), FALSE),
                  Item(order ? IDC_EDITOR_MONTH : IDC_EDITOR_DAY));
        EXPECT_EQ(Text(IDC_EDITOR_MONTH), "Marzec");
        EXPECT_EQ(SendMessageA(Item(IDC_EDITOR_YEAR), CB_GETCOUNT, 0, 0), 348);
        Type(IDC_EDITOR_MESSAGE, "Przegląd");
        Type(IDC_EDITOR_NOTES, "Telefon: 600 100 200");
        EXPECT_FALSE(Enabled(IDC_EDITOR_SET_LIMITS));
        Click(IDC_EDITOR_SPECIAL_LIMITS);
        SaveShot(dialog_, order ? "event-editor-day-first" : "event-editor-month-first");
        Post(IDC_EDITOR_SET_LIMITS);
        HWND limits = run_->OpenedOver(dialog_);
        ASSERT_NE(limits, nullptr);
        SaveShot(limits, order ? "special-limits-day-first" : "special-limits-month-first");
        EXPECT_EQ(WindowText(GetDlgItem(limits, IDC_LIMITS_BEFORE)) + "/" +
                      WindowText(GetDlgItem(limits, IDC_LIMITS_AFTER)),
                  "10/3");
        SetDlgItemTextA(limits, IDC_LIMITS_AFTER, "20");
        PressButton(limits, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return Enabled(IDOK); }, 3000));
        Post(IDOK);
        ASSERT_TRUE(Ended(1));
        EXPECT_EQ(duty_.warnBefore * 1000 + duty_.warnAfter, 10020);
    }
}

// A one-off event's year follows the date until the user chooses one: in the
// year box (merely entering it counts) or in the calendar.
TEST_F(EventEditor, TheYearIsProposedUntilChosen) {
    OpenEditor();
    EXPECT_EQ(YearShown(), 2026);
    EXPECT_EQ(Text(IDC_EDITOR_DAY), "15");
    Choose(IDC_EDITOR_DAY, 9);
    EXPECT_EQ(YearShown(), 2027) << "10 March has passed";
    Choose(IDC_EDITOR_DAY, 14);
    EXPECT_EQ(YearShown(), 2026);

    Choose(IDC_EDITOR_YEAR, 2030 - 1753);
    Click(IDC_EDITOR_REPEAT);
    EXPECT_EQ(YearShown(), 0);
    EXPECT_FALSE(Enabled(IDC_EDITOR_YEAR) || Enabled(IDC_EDITOR_YEAR_LABEL));
    Click(IDC_EDITOR_REPEAT);
    EXPECT_EQ(YearShown(), 2030);
    Choose(IDC_EDITOR_DAY, 2);
    EXPECT_EQ(YearShown(), 2030);

    OpenEditor();
    PostMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_EDITOR_YEAR)), TRUE);
    ASSERT_TRUE(FocusComesTo(IDC_EDITOR_YEAR));
    Choose(IDC_EDITOR_DAY, 9);
    EXPECT_EQ(YearShown(), 2026) << "entering the year box chose 2026";

    // Another year than this one: the date in that year decides.
    for (time_t now : {Noon(2026, 1, 5), Noon(2026, 12, 20)}) {
        platformNowOverride = now;
        const Duty concert = Event(10, 12, 2012, "Koncert");
        OpenEditor(&concert);
        EXPECT_EQ(YearShown(), 2012);
        Choose(IDC_EDITOR_DAY, 10);
        EXPECT_EQ(YearShown(), 2027);
    }
}

// The checks of a confirmed date, and what is stored when it passes.
TEST_F(EventEditor, ImpossibleDatesAreRefused) {
    const struct {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.day) + "." + std::to_string(c.month) + "." + std::to_string(c.year));
        newEventRepeatMark = c.year ? 'N' : 'Y';
        OpenEditor();
        Choose(IDC_EDITOR_MONTH, c.month - 1);
        Choose(IDC_EDITOR_DAY, c.day - 1);
        if (c.year) Choose(IDC_EDITOR_YEAR, c.year - 1753);
        Type(IDC_EDITOR_MESSAGE, "Wizyta");
        Post(IDOK);
        if (c.stored == nullptr) {
            ExpectRefused(c.box, IDC_EDITOR_DAY);
            continue;
        }
        if (c.box) {
            EXPECT_EQ(Answer(IDOK), c.box);
        }
        EXPECT_TRUE(Ended(1));
        EXPECT_EQ(Stored(), c.stored);
    }
}

// The message must say something, and macros must be valid; the keyboard
// goes to the text at fault.
TEST_F(EventEditor, MessageAndMacroChecks) {
    const std::string invalid =
        "Error in the expression of a macro: When evaluating the following macro:\n\n$Age{year}\n\nI found "
        "the parameter 'year' invalid!\n";
    const std::string tooBig = invalid.substr(0, invalid.size() - 9) + "too big!\n";
    const struct {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        OpenEditor();
        Type(IDC_EDITOR_MESSAGE, c.message);
        Type(IDC_EDITOR_NOTES, c.notes);
        Post(IDOK);
        if (!c.box.empty()) {
            ExpectRefused(c.box, c.focus);
        } else {
            EXPECT_TRUE(Ended(1));
            EXPECT_STREQ(duty_.message, "Urodziny Ani");
        }
    }
}

// What counts as a change in each mode, and both ways of cancelling: Esc
// offers to save, "&Poniechaj" asks before the changes are lost.
TEST_F(EventEditor, CancellingAsksOnlyAboutChanges) {
    const std::string discard =
        "Warning: You are going to cancel all the changes you have made!\n\nAre you sure?";
    const std::string save = "Warning: Do you want to save the changes you've made?\n";
    const Duty shown = Event(1, 6, 2027, "Przegląd", "Warsztat", 5, 1);
    const int kNew = kEditorNew, kModify = kEditorModify, kEsc = IDCANCEL, kDiscard = IDC_EDITOR_DISCARD;
    const struct {
        int mode;
        int click;          // a check box or radio button, or 0
        const char* notes;  // null: unchanged
        int key;
        std::string question;  // empty: none
        int answer;
        INT_PTR result;  // 0: still open
    } cases[] = {
        {kNew, IDC_EDITOR_REPEAT, nullptr, kEsc, "", 0, 2},
        {kNew, 0, "x", kEsc, save, IDNO, 2},
        {kNew, 0, "x", kDiscard, discard, IDNO, 0},
        {kNew, 0, "x", kDiscard, discard, IDYES, 2},
        {kModify, 0, nullptr, kEsc, "", 0, 2},
        {kModify, 0, "Warsztat\r\nul. Polna 1", kEsc, save, IDYES, 1},
        {kModify, 0, "", kEsc, save, IDCANCEL, 0},
        {kModify, IDC_EDITOR_DEFAULT_LIMITS, nullptr, kDiscard, discard, IDYES, 2},
        {kModify, IDC_EDITOR_REPEAT, nullptr, kEsc, save, IDNO, 2},
        {kEditorDuplicate, 0, nullptr, kDiscard, "", 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(&c - cases));
        OpenEditor(c.mode == kNew ? nullptr : &shown, c.mode);
        if (c.click) Click(c.click);
        if (c.notes) Type(IDC_EDITOR_NOTES, c.notes);
        Post(c.key);
        if (!c.question.empty()) {
            EXPECT_EQ(Answer(c.answer), c.question);
        }
        EXPECT_TRUE(c.result ? Ended(c.result) : !run_->Wait(300));
        if (c.result == 1) {
            EXPECT_EQ(Stored(), "1.6.2027 0N 5/1 [Przegląd] [Warsztat\r\nul. Polna 1] mode 4 line 7");
        } else if (c.mode != kNew) {
            EXPECT_EQ(duty_.daysLeft, c.mode) << "the record is written on confirmation only";
        }
    }
}

// The repeat box of the next new event follows the last one confirmed; a
// year the year box does not offer is kept as it was; a set of special
// limits is kept while the default radio button is chosen, and dropped when
// the default is confirmed.
TEST_F(EventEditor, RepeatBoxYearsAndLimitsKeptAsTheyWere) {
    newEventRepeatMark = 'Y';
    OpenEditor();
    EXPECT_TRUE(FocusComesTo(IDC_EDITOR_MESSAGE));
    EXPECT_TRUE(Checked(IDC_EDITOR_REPEAT));
    Click(IDC_EDITOR_REPEAT);
    Type(IDC_EDITOR_MESSAGE, "Raz");
    Post(IDOK);
    ASSERT_TRUE(Ended(1));
    EXPECT_EQ(Stored(), "15.3.2026 0N 0/0 [Raz] [] mode 4 line 0");
    EXPECT_EQ(newEventRepeatMark, 'N');

    const Duty old = Event(1, 6, 1700, "Dawno", "", 5, 1);
    for (int special : {1, 0}) {
        OpenEditor(&old);
        EXPECT_EQ(YearShown(), 0);
        Click(IDC_EDITOR_DEFAULT_LIMITS);
        if (special) Click(IDC_EDITOR_SPECIAL_LIMITS);
        Post(IDOK);
        ASSERT_TRUE(Ended(1));
        EXPECT_EQ(Stored(), special ? "1.6.1700 0N 5/1 [Dawno] [] mode 4 line 7"
                                    : "1.6.1700 0N 0/0 [Dawno] [] mode 4 line 7");
    }
}

// Each mode under its own caption; the marks of notes and of special limits
// follow the notes and the radio buttons; the calendar picture has its
// tooltip, and the hand over it only.
TEST_F(EventEditor, CaptionsMarksAndTheCalendarPicture) {
    const Duty noted = Event(1, 6, 0, "Przegląd", "Warsztat"), limited = Event(1, 6, 0, "Przegląd", "", 5, 1);
    const struct {
        const Duty* duty;
        int mode;
        const char* caption;
        bool notes, limits;
    } cases[] = {{nullptr, kEditorNew, "Quillbee - Nowe zdarzenie", false, false},
                 {&noted, kEditorModify, "Quillbee - Modifikuj zdarzenia", true, false},
                 {&limited, kEditorDuplicate, "Quillbee - Duplikuj zdarzenie", false, true}};
    auto shown = [this](int id) { return IsWindowVisible(Item(id)) != 0; };
    for (const auto& c : cases) {
        ASSERT_NE(OpenEditor(c.duty, c.mode), nullptr);
        EXPECT_EQ(WindowText(dialog_), c.caption);
        EXPECT_EQ(shown(IDC_EDITOR_NOTES_MARK), c.notes) << c.caption;
        EXPECT_EQ(shown(IDC_EDITOR_LIMITS_MARK), c.limits) << c.caption;
    }
    auto typeNotes = [this](const char* text) {  // as typing does, over all there was
        SendMessageA(Item(IDC_EDITOR_NOTES), EM_SETSEL, 0, -1);
        SendMessageA(Item(IDC_EDITOR_NOTES), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    };
    typeNotes("a");
    EXPECT_TRUE(shown(IDC_EDITOR_NOTES_MARK));
    typeNotes("");
    Click(IDC_EDITOR_DEFAULT_LIMITS);
    EXPECT_FALSE(shown(IDC_EDITOR_NOTES_MARK) || shown(IDC_EDITOR_LIMITS_MARK));
    RECT tool = {};
    EXPECT_EQ(TooltipOf(dialog_, &tool), "Wyświetl kalendarz");
    EXPECT_EQ(tool, ChildBox(dialog_, IDC_EDITOR_CALENDAR_BUTTON));
    const auto hand = HotSpot(LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_HAND_POINTER)));
    POINT plain = {2, 2};  // no control there
    ClientToScreen(dialog_, &plain);
    ASSERT_TRUE(MouseTo(plain));
    EXPECT_NE(HotSpot(), hand);
    ASSERT_TRUE(MouseTo(Centre(Item(IDC_EDITOR_CALENDAR_BUTTON))));
    EXPECT_EQ(HotSpot(), hand);
}

// The drop-down calendar: opened by the picture, with the boxes' date; Esc
// only closes it; a pick fills the boxes and chooses the year.
TEST_F(EventEditor, TheCalendarDropsDownAndPicks) {
    OpenEditor();
    Choose(IDC_EDITOR_MONTH, 4);
    Choose(IDC_EDITOR_DAY, 19);
    HWND calendar = Item(IDC_EDITOR_CALENDAR);
    EXPECT_FALSE(IsWindowVisible(calendar));
    ClickCalendarButton();
    ASSERT_TRUE(FocusComesTo(IDC_EDITOR_CALENDAR));
    SYSTEMTIME date = {};
    SendMessageA(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&date));
    EXPECT_EQ(date.wDay * 10000 + date.wMonth * 1000 + date.wYear, 20 * 10000 + 5 * 1000 + 2026);
    SaveShot(dialog_, "event-editor-calendar");
    Post(IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(calendar); }, 3000));
    EXPECT_FALSE(run_->Wait(100)) << "only the calendar closes";

    ClickCalendarButton();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(calendar) != 0; }, 3000));
    NMSELCHANGE pick = {};  // what a click on 7 May sends
    pick.nmhdr = {calendar, IDC_EDITOR_CALENDAR, static_cast<UINT>(MCN_SELECT)};
    pick.stSelStart = pick.stSelEnd = date;
    pick.stSelStart.wDay = 7;
    SendMessageA(dialog_, WM_NOTIFY, IDC_EDITOR_CALENDAR, reinterpret_cast<LPARAM>(&pick));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(calendar); }, 3000));
    EXPECT_EQ(Text(IDC_EDITOR_DAY) + " " + Text(IDC_EDITOR_MONTH), "7 Maj");
    Choose(IDC_EDITOR_MONTH, 2);
    Choose(IDC_EDITOR_DAY, 0);
    EXPECT_EQ(YearShown(), 2026) << "a pick chooses the year";
}

// The boxes hold whole characters within the record's bytes, whatever the
// edits' own limits in characters; notes are stored with CR LF line breaks.
TEST_F(EventEditor, TextsKeepToTheRecordsBytes) {
    OpenEditor();
    HWND message = Item(IDC_EDITOR_MESSAGE);
    const std::string full = std::string(149, 'm');
    Type(IDC_EDITOR_MESSAGE, full.c_str());
    SendMessageW(message, EM_SETSEL, 149, 149);
    SendMessageW(message, WM_CHAR, L'ś', 0);
    EXPECT_EQ(Text(IDC_EDITOR_MESSAGE), full) << "no room for two bytes";
    SendMessageW(message, WM_CHAR, L'x', 0);
    EXPECT_EQ(Text(IDC_EDITOR_MESSAGE), full + "x");
    Type(IDC_EDITOR_MESSAGE, "");
    const std::wstring polish(100, L'ą');
    SendMessageW(message, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(polish.c_str()));
    std::string expected, notes, lines;
    for (int i = 0; i < 75; ++i) expected += "ą";
    EXPECT_EQ(Text(IDC_EDITOR_MESSAGE), expected);
    for (int i = 0; i < 682; ++i) notes += "linia\n";
    for (int i = 0; i < 585; ++i) lines += "linia\r\n";
    SendMessageA(Item(IDC_EDITOR_NOTES), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(notes.c_str()));
    Post(IDOK);
    ASSERT_TRUE(Ended(1));
    EXPECT_EQ(std::string(duty_.message), expected);
    EXPECT_EQ(std::string(duty_.notes), lines + "l") << "4096 bytes once every line ends in CR LF";
}
