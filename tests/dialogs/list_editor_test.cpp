// The event list editor on its real template, modeless in a message loop of
// its own thread as in the program, over an owner that stands for the main
// window; and its rows on a bare list view.
#include "dialogs/list_editor.h"

#include <vector>

#include "app/commands.h"
#include "dialogs/duty_rows.h"
#include "resources/event_editor_ids.h"
#include "resources/list_editor_ids.h"
#include "storage/events_file.h"
#include "storage/safe_rewrite.h"
#include "tests/canvas.h"
#include "tests/dialogs/fixture.h"

namespace {

volatile LONG reloadsPosted = 0;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == CMD_RELOAD_LIST) InterlockedIncrement(&reloadsPosted);
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string EventsFileOf(const std::vector<Duty>& events, const std::string& between = "") {
    std::string file =
        std::string(";File created by ") + kProgramTitle + " (PLEASE, DO NOT EDIT!)\r\n;x\r\n;y\r\n\r\n";
    for (const Duty& duty : events) file += FormatDutyLine(duty) + between;
    return file;
}

// Yearly events from 10 March on, one a day.
std::string MarchEvents(const std::vector<const char*>& messages) {
    std::vector<Duty> events;
    for (size_t i = 0; i < messages.size(); ++i)
        events.push_back(Event(10 + static_cast<int>(i), 3, 0, messages[i]));
    return EventsFileOf(events);
}
std::string FiveEvents() { return MarchEvents({"a", "b", "c", "d", "e"}); }

std::string ItemText(HWND list, int row, int column) {
    char text[kMessageSize + 64] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

// The messages of the rows, top to bottom, joined by '|'.
std::string Messages(HWND list) {
    std::string all;
    const int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < n; ++row) all += (row ? "|" : "") + ItemText(list, row, 1);
    return all;
}

std::vector<int> Selected(HWND list) {
    std::vector<int> rows(64);
    rows.resize(static_cast<size_t>(GetSelectedRows(list, rows.data(), 64)));
    return rows;
}

class ListEditor : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        discard_ = IDC_LIST_DISCARD;
        reloadsPosted = 0;
        findBeepCount = 0;
    }

    // Writes the events file and opens the editor on it; `due` stands for the
    // event selected in the main list.
    HWND OpenList(const std::string& file, const Duty* due = nullptr) {
        if (!file.empty()) WriteFileBytes(kEventsFileName, file);
        Open([this, due] {
            HWND main = CreateWindowA("STATIC", "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                      appInstance, nullptr);
            SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerProc));
            HWND dueRows =
                CreateWindowA("LISTBOX", "", WS_CHILD, 0, 0, 90, 90, main, nullptr, appInstance, nullptr);
            if (due) {
                SendMessageA(dueRows, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("due"));
                SendMessageA(dueRows, LB_SETITEMDATA, 0, reinterpret_cast<LPARAM>(due));
                SendMessageA(dueRows, LB_SETCURSEL, 0, 0);
            }
            EnableWindow(main, FALSE);
            ListEditorHandle = OpenListEditor(main, dueRows);
            MSG message;
            while (ListEditorHandle != nullptr && GetMessageA(&message, nullptr, 0, 0) > 0) {
                if (IsDialogMessageA(ListEditorHandle, &message)) continue;
                if (FindDialogHandle != nullptr && IsDialogMessageA(FindDialogHandle, &message)) continue;
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);  // what it posted
            ownerEnabled_ = IsWindowEnabled(main) != 0;
            dueSelection_ = static_cast<int>(SendMessageA(dueRows, LB_GETCURSEL, 0, 0));
            DestroyWindow(main);
            return 0;
        });
        list_ = Item(IDC_LIST_EVENTS);
        PumpMessages(100);
        return dialog_;
    }
    void Select(std::vector<int> rows) { SelectRows(list_, rows.data(), static_cast<int>(rows.size())); }
    // Closed, the owner enabled again and the main list's selection cleared.
    bool Closed() { return run_->Wait(3000) && ownerEnabled_ && dueSelection_ == -1; }
    // The event editor the list editor opened, ended with `button`; for OK the message first.
    void EndEventEditor(int button, const char* message = nullptr) {
        HWND editor = run_->OpenedOver(dialog_);
        ASSERT_NE(editor, nullptr);
        if (message) SetDlgItemTextA(editor, IDC_EDITOR_MESSAGE, message);
        PressButton(editor, button);
        ASSERT_TRUE(WaitUntil([editor] { return !IsWindow(editor); }, 5000));
        PumpMessages(100);
    }
    void Key(WPARAM key) { PostMessageA(list_, WM_KEYDOWN, key, 0); }

    HWND list_ = nullptr;
    bool ownerEnabled_ = false;
    int dueSelection_ = 0;
};

}  // namespace

// The calendar order with equal dates and messages, the place of an event
// among them, the date text of every format, and every field read back
// (150-byte messages and 4096-byte notes whole).
TEST_F(ListEditor, RowsStandInCalendarOrderAndReadBackWhole) {
    HWND list =
        CreateWindowA(WC_LISTVIEWA, "", LVS_REPORT, 0, 0, 400, 300, nullptr, nullptr, appInstance, nullptr);
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    const std::string longest(150, 'm');
    std::string notes;
    while (notes.size() < 4090) notes += "line\r\n";
    notes += "ends";
    const Duty events[] = {Event(5, 3, 2011, "b"),
                           Event(1, 2, 0, "February", "", 3, 0),
                           Event(5, 3, 0, "A", notes.c_str()),
                           Event(31, 1, 1999, longest.c_str(), "x", 0, 2),
                           Event(5, 3, 2030, "b"),
                           Event(29, 2, 0, "leap")};
    const int fromEvent[] = {3, 1, 5, 2, 0, 4};  // equal date and message: in the order of insertion
    const struct {
        int dayFirst;
        const char *language, *oneOff, *yearly;
    } formats[] = {{1, "pl", "31 Sty, 1999", "05 Mar "},
                   {1, "ee", "31. Sty, 1999", "05. Mar "},
                   {0, "pl", "Sty 31, 1999", "Mar 05 "}};
    for (const auto& format : formats) {
        dayFirst = format.dayFirst;
        CopyText(languageCode, format.language, sizeof languageCode);
        DeleteAllDutyRows(list);
        for (const Duty& duty : events) InsertDutyRow(list, duty);
        EXPECT_EQ(ItemText(list, 0, 0), format.oneOff);
        EXPECT_EQ(ItemText(list, 3, 0), format.yearly);
    }
    const int pictures[] = {2, 1, I_IMAGENONE, 0, I_IMAGENONE, I_IMAGENONE};  // by notes and limits
    for (int row = 0; row < 6; ++row) {                                       // every field a file keeps
        EXPECT_EQ(FormatDutyLine(*ReadDutyRow(list, row)), FormatDutyLine(events[fromEvent[row]])) << row;
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(item.iImage, pictures[row]) << row;
    }
    const struct {
        int day, month;
        const char* message;
        int position;
    } places[] = {{5, 3, "b", 6}, {5, 3, "B", 4}, {5, 3, "", 3},
                  {5, 3, "ź", 6}, {1, 1, "z", 0}, {28, 2, "z", 2}};  // bytes are unsigned: ź after b
    for (const auto& place : places) {
        EXPECT_EQ(FindRowPosition(list, Event(place.day, place.month, 0, place.message)), place.position)
            << place.day << "." << place.month << " " << place.message;
    }
    DeleteAllDutyRows(list);
    DestroyWindow(list);
}

// Pixels of the dark red of past one-off events in `row` as the screen shows it.
int DarkRedPixels(HWND list, int row) {
    RECT box = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&box));
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&box), 2);
    return PixelsOnScreen(box, RGB(153, 0, 0));
}

// Opening: every event counted, and the first event from yesterday on
// selected and scrolled towards the middle, or the event selected in the main
// list. One-off events before today are struck through in dark red.
TEST_F(ListEditor, OpensOnYesterdayOrTheDueEventAndMarksPastOneOffEvents) {
    std::vector<Duty> events = {Event(10, 3, 2026, "Dentysta"), Event(14, 3, 0, "Urodziny Ani"),
                                Event(14, 3, 2026, "Wczoraj jednorazowe"),
                                Event(15, 3, 2026, "Dziś jednorazowe", "notatka"),
                                Event(16, 3, 2026, "Jutro", "", 5, 1)};
    for (int i = 0; i < 50; ++i) {
        const std::string name = (i < 20 ? "Styczeń " : "Rocznica ") + std::to_string(i);
        events.push_back(i < 20 ? Event(1 + i, 1, 0, name.c_str())
                                : Event(1 + i % 28, 5 + i % 7, 0, name.c_str()));
    }
    ASSERT_NE(OpenList(EventsFileOf(events)), nullptr);
    EXPECT_EQ(Text(IDC_LIST_COUNT), "55");
    const int yesterday = 21;  // 20 events of January and one of 10 March go first
    EXPECT_EQ(ItemText(list_, yesterday, 1), "Urodziny Ani");
    EXPECT_EQ(Selected(list_), std::vector<int>{yesterday});
    const int top = static_cast<int>(SendMessageA(list_, LVM_GETTOPINDEX, 0, 0));
    const int shown = static_cast<int>(SendMessageA(list_, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_GT(yesterday - top, 1) << "towards the middle";
    EXPECT_GT(top + shown - 1 - yesterday, 1);

    Select({});
    PumpMessages(300);
    SaveShot(dialog_, "list-editor");
    const int rows[] = {20, 21, 22, 23, 24};  // 10 III, 14 III yearly and one-off, 15 III, 16 III
    const bool struck[] = {true, false, true, false, false};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(DarkRedPixels(list_, rows[i]) > 10, struck[i]) << ItemText(list_, rows[i], 1);
    EXPECT_FALSE(Enabled(IDC_LIST_MODIFY) || Enabled(IDC_LIST_DELETE));
    EXPECT_FALSE(IsWindowEnabled(reinterpret_cast<HWND>(SendMessageA(list_, LVM_GETHEADER, 0, 0))));
    // The row pictures, on white as their bitmaps show them: white is transparent.
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(list_, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_EQ(ImageList_GetImageCount(images), 3);
    const char* const pictures[] = {"lstNote", "lstBang", "lstNoteBang"};
    for (int i = 0; i < 3; ++i) {
        Canvas listed(14, 14), bitmap(14, 14);
        PatBlt(listed.dc(), 0, 0, 14, 14, WHITENESS);
        ImageList_Draw(images, i, listed.dc(), 0, 0, ILD_NORMAL);
        HBITMAP glyph = LoadBitmapA(appInstance, pictures[i]);
        DrawStateA(bitmap.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(glyph), 0, 0, 0, 0, 0, DST_BITMAP);
        DeleteObject(glyph);
        for (int p = 0; p < 14 * 14; ++p)
            ASSERT_EQ(listed.At(p % 14, p / 14), bitmap.At(p % 14, p / 14)) << pictures[i] << " " << p;
    }
    // The context menu with nothing selected: modify and delete greyed.
    static NMHDR rightClick;
    rightClick = {list_, IDC_LIST_EVENTS, static_cast<UINT>(NM_RCLICK)};
    PostMessageA(dialog_, WM_NOTIFY, IDC_LIST_EVENTS, reinterpret_cast<LPARAM>(&rightClick));
    HWND menu = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }, 3000));
    HMENU items = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
    auto greyed = [items](int id) { return (GetMenuState(items, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
    EXPECT_TRUE(greyed(IDC_LIST_MODIFY) && greyed(IDC_LIST_DELETE) && !greyed(IDC_LIST_DUPLICATE));
    PostMessageA(dialog_, WM_CANCELMODE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 3000));
    SetDlgItemTextA(dialog_, IDC_LIST_COUNT, "10000");
    EXPECT_EQ(ClippedTexts(dialog_), "") << "five digits";
    Post(IDCANCEL);
    ASSERT_TRUE(Closed());

    const Duty due = Event(14, 3, 2026, "Wczoraj jednorazowe");
    ASSERT_NE(OpenList("", &due), nullptr);
    EXPECT_EQ(Selected(list_), std::vector<int>{22});
}

// Deleting asks first, then selects the row before the first one deleted.
TEST_F(ListEditor, DeletesTheSelectedRowsAfterAsking) {
    const struct {
        std::vector<int> rows;
        const char *question, *left;
        int selected;
    } cases[] = {
        {{0, 3}, "There are 2 events selected.\n\nAre you sure you want to delete them?", "b|c|e", 0},
        {{4}, "Czy jesteś pewien, że chcesz usunąć to zdarzenie?", "a|b|c|d", 3},
    };
    for (const auto& c : cases) {
        ASSERT_NE(OpenList(FiveEvents()), nullptr);
        Select(c.rows);
        Post(IDC_LIST_DELETE);
        EXPECT_EQ(Answer(IDNO), std::string("Warning: ") + c.question);
        EXPECT_EQ(Messages(list_), "a|b|c|d|e") << "No keeps them";
        Post(IDC_LIST_DELETE);
        Answer(IDYES);
        PumpMessages(100);
        EXPECT_EQ(Messages(list_), c.left);
        EXPECT_EQ(Selected(list_), std::vector<int>{c.selected});
        EXPECT_EQ(Text(IDC_LIST_COUNT), std::to_string(5 - c.rows.size()));
        Post(IDC_LIST_DISCARD);
        EXPECT_EQ(Answer(IDYES).rfind("Warning: You are going to cancel all the changes", 0), 0u);
        ASSERT_TRUE(Closed());
        EXPECT_EQ(ReadFileBytes(kEventsFileName), FiveEvents()) << "discarded";
    }
}

// Adding, modifying and duplicating go through the event editor, with the
// buttons disabled meanwhile; a cancelled add gives the selection back, and
// F2 over several rows opens nothing.
TEST_F(ListEditor, EditsThroughTheEventEditor) {
    ASSERT_NE(OpenList(FiveEvents()), nullptr);
    Select({1, 3});
    Post(IDC_LIST_ADD);
    ASSERT_NE(run_->OpenedOver(dialog_), nullptr);
    EXPECT_FALSE(Enabled(IDC_LIST_SAVE) || Enabled(IDC_LIST_DISCARD) || Enabled(IDC_LIST_FILES));
    EndEventEditor(IDC_EDITOR_DISCARD);
    EXPECT_EQ(Selected(list_), (std::vector<int>{1, 3}));
    EXPECT_TRUE(Enabled(IDC_LIST_SAVE) && Enabled(IDC_LIST_DELETE) && !Enabled(IDC_LIST_MODIFY));
    Key(VK_F2);
    EXPECT_EQ(run_->OpenedOver(dialog_, 500), nullptr) << "F2 over two rows";

    Select({1});
    Key(VK_RETURN);                       // Enter on the list modifies, as F2 does
    EndEventEditor(IDOK, "zz modified");  // 11 March, now last of the day
    Post(IDC_LIST_DUPLICATE);
    EndEventEditor(IDOK, "copy");
    EXPECT_EQ(Selected(list_), std::vector<int>{1});
    Key(VK_INSERT);
    EndEventEditor(IDOK, "today");  // the editor proposes 15 March
    EXPECT_EQ(Messages(list_), "a|copy|zz modified|c|d|e|today");
    EXPECT_EQ(Selected(list_), std::vector<int>{6});
    EXPECT_EQ(Text(IDC_LIST_COUNT), "7");
    Post(IDCANCEL);
    EXPECT_EQ(Answer(IDNO), "Warning: Do you want to save the changes you've made?\n");
    ASSERT_TRUE(Closed());
    EXPECT_EQ(ReadFileBytes(kEventsFileName), FiveEvents());
    EXPECT_EQ(reloadsPosted, 0);
}

// The Find dialog, opened by the picture; whole words, case, the way round
// the end of the list, and a match only in the selected row.
TEST_F(ListEditor, FindsMessages) {
    ASSERT_NE(OpenList(MarchEvents({"my cat", "Cat food", "cats and dogs", "cats cat", "Kot Łatek"})),
              nullptr);
    Select({});
    const RECT icon = ChildBox(dialog_, IDC_LIST_FIND);
    PostMessageA(dialog_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(icon.left + 3, icon.top + 3));
    ASSERT_TRUE(
        WaitUntil([] { return FindDialogHandle != nullptr && IsWindowVisible(FindDialogHandle); }, 5000));
    HWND find = FindDialogHandle;
    EXPECT_FALSE(IsWindowEnabled(dialog_));

    char text[40];
    FINDREPLACEA request = {};
    request.lStructSize = sizeof request;
    request.lpstrFindWhat = text;
    const UINT findMessage = RegisterWindowMessageA(FINDMSGSTRINGA);
    const struct {
        const char* text;
        DWORD flags;
        int selected;  // -1: not found, no row selected before
    } searches[] = {
        {"cat", FR_DOWN | FR_WHOLEWORD, 0},
        {"cat", FR_DOWN | FR_WHOLEWORD, 1},
        {"cat", FR_DOWN | FR_WHOLEWORD, 0},
        {"cat", FR_DOWN | FR_MATCHCASE, 2},
        {"cat", 0, 1},
        {"cat", 0, 0},
        {"cat", 0, 3},
        {"łatek", FR_DOWN, 4},
        {"bird", FR_DOWN, -1},
        {"LATEK", 0, -1},
    };
    for (const auto& search : searches) {
        CopyText(text, search.text, sizeof text);
        request.Flags = search.flags | FR_FINDNEXT;
        if (search.selected < 0) {
            PostMessageA(dialog_, findMessage, 0, reinterpret_cast<LPARAM>(&request));
            EXPECT_EQ(Answer(IDOK, find), "Quillbee: Cannot find a warning message with the specified text.");
            PumpMessages(100);
        } else {
            SendMessageA(dialog_, findMessage, 0, reinterpret_cast<LPARAM>(&request));
        }
        EXPECT_EQ(Selected(list_), std::vector<int>{search.selected < 0 ? 4 : search.selected})
            << search.text << " " << search.flags;
    }
    EXPECT_EQ(findBeepCount, 0);
    CopyText(text, "kot", sizeof text);
    request.Flags = FR_DOWN | FR_FINDNEXT;
    SendMessageA(dialog_, findMessage, 0, reinterpret_cast<LPARAM>(&request));
    EXPECT_EQ(findBeepCount, 1) << "only the selected row matches";
    EXPECT_EQ(Selected(list_), std::vector<int>{4});

    SetDlgItemTextA(find, 0x480, "cat");  // the find text box
    SaveShot(dialog_, "list-editor-find", find);
    PostMessageA(find, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([] { return FindDialogHandle == nullptr; }, 3000));
    EXPECT_TRUE(IsWindowEnabled(dialog_));
}

// Esc on an unchanged list closes at once; once changed it asks. A save that
// fails, or meets a file changed since the list was loaded and is told not to
// replace it, keeps the editor open with every edit and the file as it was.
// A save writes the rows in calendar order, without the comments and blank
// lines of the file, and asks the main window to rebuild its list.
TEST_F(ListEditor, KeepsEditsUntilTheyAreSaved) {
    const std::vector<Duty> events = {Event(20, 3, 0, "Wiosna  idzie"), Event(5, 3, 2011, "b"),
                                      Event(5, 3, 0, "A"), Event(25, 3, 0, "usuń")};
    const std::string file = EventsFileOf(events, "; comment\r\n\r\n");
    ASSERT_NE(OpenList(file), nullptr);
    Post(IDCANCEL);
    ASSERT_TRUE(Closed());

    ASSERT_NE(OpenList(file), nullptr);
    Select({3});
    Post(IDC_LIST_DELETE);
    Answer(IDYES);
    Post(IDCANCEL);
    EXPECT_EQ(Answer(IDCANCEL), "Warning: Do you want to save the changes you've made?\n");
    SetFileAttributesA(kEventsFileName, FILE_ATTRIBUTE_READONLY);
    Post(IDC_LIST_SAVE);
    EXPECT_EQ(Answer(IDOK), std::string("Quillbee 1.41: Error writing events file in ") + workingDirectory);
    SetFileAttributesA(kEventsFileName, FILE_ATTRIBUTE_NORMAL);
    const std::string changed = file + FormatDutyLine(Event(1, 4, 0, "added by hand"));
    WriteFileBytes(kEventsFileName, changed);
    Post(IDC_LIST_SAVE);
    SaveShot(run_->OpenedOver(dialog_), "list-editor-file-changed");
    EXPECT_EQ(Answer(IDNO).rfind("Warning: The events file has changed since this list was opened", 0), 0u);
    EXPECT_EQ(ReadFileBytes(kEventsFileName), changed);
    EXPECT_EQ(reloadsPosted, 0);

    Post(IDCANCEL);
    Answer(IDYES);
    EXPECT_EQ(Answer(IDYES).rfind("Warning: The events file has changed", 0), 0u) << "still changed";
    ASSERT_TRUE(Closed());
    const std::string saved = ReadFileBytes(kEventsFileName);
    EXPECT_EQ(saved.rfind(";File created by Quillbee 1.41 (PLEASE, DO NOT EDIT!)\r\n", 0), 0u);
    EXPECT_EQ(
        saved.substr(saved.find("\r\n\r\n") + 4),
        "05-Mar-2010 01Y 000 000 A\r\n05-Mar-2011 00N 000 000 b\r\n20-Mar-2010 01Y 000 000 Wiosna idzie\r\n");
    EXPECT_EQ(ReadFileBytes(kBackupFileName), saved);
    EXPECT_EQ(reloadsPosted, 1);
}
