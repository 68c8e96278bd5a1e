#include "dialogs/duty_rows.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/load_str.h"
#include "app/platform.h"
#include "app/state.h"
#include "model/calendar.h"
#include "storage/events_file.h"
#include "storage/events_in_order.h"

namespace {

constexpr int kFileChangedText = 1525;  // the question before replacing a file changed since loading

// What the events file held when the rows were loaded from it.
EventsFileStamp loadedStamp = {kStampAbsent, 0, 0};

// A new block for the row of `duty`: the fixed part, then the notes and the
// kept line in the same allocation. Null when memory is short.
DutyRowData* NewRowData(const Duty& duty, const char* keptLine) {
    const size_t notesSize = strnlen(duty.notes, kNotesSize - 1) + 1;
    const size_t lineSize = keptLine ? std::strlen(keptLine) + 1 : 0;
    char* block = static_cast<char*>(std::malloc(sizeof(DutyRowData) + notesSize + lineSize));
    if (block == nullptr) return nullptr;
    DutyRowData* data = reinterpret_cast<DutyRowData*>(block);
    data->year = duty.year;
    data->repeatMark = duty.repeatMark;
    data->yearly = duty.yearly;
    data->warnBefore = duty.warnBefore;
    data->warnAfter = duty.warnAfter;
    data->day = duty.day;
    data->month = duty.month;
    CopyText(data->message, duty.message, sizeof data->message);
    char* notes = block + sizeof(DutyRowData);
    std::memcpy(notes, duty.notes, notesSize - 1);
    notes[notesSize - 1] = '\0';
    data->notes = notes;
    data->keptLine = nullptr;
    if (keptLine) {
        char* line = notes + notesSize;
        std::memcpy(line, keptLine, lineSize);
        data->keptLine = line;
    }
    return data;
}

// The row's picture: the note page for notes, the exclamation mark for
// special limits, both for both; none for neither.
int IconIndex(const Duty& duty) {
    int index = duty.notes[0] != '\0' ? 0 : -1;
    if (duty.warnBefore != 0 || duty.warnAfter != 0) index += 2;
    // -1 would ask the parent for the picture (I_IMAGECALLBACK).
    return index < 0 ? I_IMAGENONE : index;
}

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// Inserts the row of `duty` at `index` as it is; -1 when it cannot be made.
int InsertRowAt(HWND list, const Duty& duty, const char* keptLine, int index) {
    DutyRowData* data = NewRowData(duty, keptLine);
    if (data == nullptr) return -1;
    char date[64];
    DutyDateText(duty, date, sizeof date);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = date;
    item.iImage = IconIndex(duty);
    item.lParam = reinterpret_cast<LPARAM>(data);
    const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) {
        std::free(data);
        return -1;
    }
    LVITEMA message = {};
    message.iSubItem = 1;
    message.pszText = data->message;
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&message));
    return row;
}

void FillDuty(const DutyRowData& data, Duty* duty) {
    duty->line = 0;
    duty->day = data.day;
    duty->month = data.month;
    duty->year = data.year;
    duty->repeatMark = data.repeatMark;
    duty->yearly = data.yearly;
    duty->daysLeft = 0;
    duty->warnBefore = data.warnBefore;
    duty->warnAfter = data.warnAfter;
    duty->next = nullptr;
    CopyText(duty->message, data.message, sizeof duty->message);
    CopyText(duty->notes, data.notes, sizeof duty->notes);
}

struct LoadJob {
    HWND list;
    int rows;
};

// The events come in calendar order: each row goes at the end.
void AddLoadedRow(const Duty& duty, const char* keptLine, void* context) {
    LoadJob* job = static_cast<LoadJob*>(context);
    if (InsertRowAt(job->list, duty, keptLine, job->rows) >= 0) ++job->rows;
}

// RowLine's answer for a row kept as read; it lives until the next row.
std::string keptRowLine;

// The line the file gets for row `index`.
const char* RowLine(int index, void* context) {
    HWND list = static_cast<HWND>(context);
    const DutyRowData* data = DutyRowOf(list, index);
    if (data == nullptr) {
        ReadDutyRow(list, index);  // the fatal report
        return nullptr;
    }
    if (data->keptLine) {
        keptRowLine = std::string(data->keptLine) + "\r\n";
        return keptRowLine.c_str();
    }
    static Duty duty;
    FillDuty(*data, &duty);
    return FormatDutyLine(duty);
}

// Asks before the file is replaced when it is not as it was loaded; true to go on.
bool MayReplaceFile(HWND owner) {
    if (SameEventsFile(loadedStamp, CurrentEventsStamp())) return true;
    return MessageBoxA(owner, LoadStr(kFileChangedText), LoadStr(1020),
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

}  // namespace

void DutyDateText(const Duty& duty, char* out, size_t size) {
    const char* month = MonthShortName(duty.month);
    if (month == nullptr) month = "???";
    char suffix[16] = " ";
    if (!duty.yearly) std::snprintf(suffix, sizeof suffix, ",%c%04d", ' ', duty.year);
    if (!dayFirst) {
        std::snprintf(out, size, "%s%c%02d%s", month, ' ', duty.day, suffix);
    } else if (std::strcmp(languageCode, "ee") == 0) {
        std::snprintf(out, size, "%02d.%c%s%s", duty.day, ' ', month, suffix);
    } else {
        std::snprintf(out, size, "%02d%c%s%s", duty.day, ' ', month, suffix);
    }
}

int InsertDutyRow(HWND list, const Duty& duty) {
    return InsertRowAt(list, duty, nullptr, FindRowPosition(list, duty));
}

void DeleteDutyRow(HWND list, int index) {
    std::free(const_cast<DutyRowData*>(DutyRowOf(list, index)));
    SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

const DutyRowData* DutyRowOf(HWND list, int index) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<const DutyRowData*>(item.lParam);
}

const Duty* ReadDutyRow(HWND list, int index) {
    static Duty duty;
    const DutyRowData* data = DutyRowOf(list, index);
    if (data == nullptr) {
        PlatformMessageBox(LoadStr(2020), kProgramTitle, kBoxOk | kBoxIconError);
        PlatformQuit(0);
        return nullptr;
    }
    FillDuty(*data, &duty);
    return &duty;
}

int FindRowPosition(HWND list, const Duty& duty) {
    const int key = CalendarKey(duty.day, duty.month);
    int lo = 0, hi = RowCount(list);
    // The first row that goes after the duty; rows of equal order stay before it.
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        const DutyRowData* row = DutyRowOf(list, mid);
        const bool after =
            row != nullptr &&
            CompareCalendarOrder(key, duty.message, CalendarKey(row->day, row->month), row->message) < 0;
        if (after) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

int GetSelectedRows(HWND list, int* out, int capacity) {
    int n = 0;
    for (LRESULT row = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
         row >= 0 && n < capacity;
         row = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED)) {
        out[n++] = static_cast<int>(row);
    }
    return n;
}

void SelectRows(HWND list, const int* indices, int n) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    // Only the marked rows: clearing every row at once visits each row of the list.
    std::vector<int> marked(static_cast<size_t>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)) + 1);
    int count = GetSelectedRows(list, marked.data(), static_cast<int>(marked.size()) - 1);
    const LRESULT focused = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    if (focused >= 0) marked[static_cast<size_t>(count++)] = static_cast<int>(focused);
    for (int i = 0; i < count; ++i) {
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(marked[static_cast<size_t>(i)]),
                     reinterpret_cast<LPARAM>(&item));
    }
    for (int i = 0; i < n; ++i) {
        item.state = LVIS_SELECTED | (i == n - 1 ? LVIS_FOCUSED : 0);
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(indices[i]),
                     reinterpret_cast<LPARAM>(&item));
    }
}

bool RowsOverflow(HWND list) {
    const int rows = RowCount(list);
    if (rows <= 0) return false;
    RECT row = {};
    row.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    RECT client;
    GetClientRect(list, &client);
    return static_cast<long long>(row.bottom - row.top) * rows > client.bottom - client.top;
}

int LoadDutiesIntoList(HWND list) {
    PlatformWaitCursor(true);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    LoadJob job = {list, RowCount(list)};
    const int read = ReadEventsInCalendarOrder(AddLoadedRow, &job, &loadedStamp);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    PlatformWaitCursor(false);
    return read == 1 ? 1 : 0;
}

int SaveDutiesFromList(HWND list) {
    HWND owner = GetParent(list);
    if (!MayReplaceFile(owner)) return 0;
    if (!WriteEventsFromRows(RowCount(list), RowLine, list)) {
        char text[1024];
        std::snprintf(text, sizeof text, LoadStr(2015), workingDirectory);
        MessageBoxA(owner, text, kProgramTitle, MB_OK | MB_ICONERROR);
        return 0;
    }
    loadedStamp = CurrentEventsStamp();
    return 1;
}

void DeleteAllDutyRows(HWND list) {
    for (int i = RowCount(list) - 1; i >= 0; --i) std::free(const_cast<DutyRowData*>(DutyRowOf(list, i)));
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
}
