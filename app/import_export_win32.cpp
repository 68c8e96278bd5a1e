#include "app/import_export_win32.h"

#include <commdlg.h>

#include <cstring>

#include "app/load_str.h"
#include "app/state.h"
#include "storage/import_export.h"

namespace {

enum {
    kImportTitle = 5102,   // "Importuj zdarzenia"
    kExportTitle = 5103,   // "Eksportuj zdarzenia"
    kImportFilter = 5104,  // parts separated by '|'
    kExportFilter = 5105,
};

// A filter of the string table as the common dialogs take it: each part
// ended by a NUL and the whole by another.
void FilterOf(int id, char* filter, size_t size) {
    CopyText(filter, LoadStr(id), static_cast<unsigned>(size - 1));
    const size_t length = std::strlen(filter);
    filter[length + 1] = '\0';
    for (size_t i = 0; i < length; ++i) {
        if (filter[i] == '|') filter[i] = '\0';
    }
}

// The dialogs must leave the working directory alone: every data file is
// opened by its bare name in it.
OPENFILENAMEA DialogRecord(HWND owner, int title, const char* filter, char* path, DWORD flags) {
    OPENFILENAMEA record;
    std::memset(&record, 0, sizeof record);
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.lpstrFilter = filter;
    record.nFilterIndex = 1;
    record.lpstrFile = path;
    record.nMaxFile = MAX_PATH;
    record.lpstrTitle = LoadStr(title);
    record.Flags = flags | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    return record;
}

void ShowOutcome(HWND owner, int title, int done, const std::string& message) {
    if (message.empty()) return;  // a failed write of the events file has been reported
    MessageBoxA(owner, message.c_str(), LoadStr(title), MB_OK | (done ? MB_ICONINFORMATION : MB_ICONERROR));
}

}  // namespace

void ImportChosenFile(HWND owner) {
    char filter[1024];
    FilterOf(kImportFilter, filter, sizeof filter);
    char path[MAX_PATH] = "";
    OPENFILENAMEA record = DialogRecord(owner, kImportTitle, filter, path, OFN_FILEMUSTEXIST);
    if (!GetOpenFileNameA(&record)) return;
    ImportReport report;
    const int done = ImportEvents(path, &report);
    ShowOutcome(owner, kImportTitle, done, report.message);
}

void ExportToChosenFile(HWND owner) {
    char filter[512];
    FilterOf(kExportFilter, filter, sizeof filter);
    char path[MAX_PATH] = "quillbee.ics";
    OPENFILENAMEA record = DialogRecord(owner, kExportTitle, filter, path, OFN_OVERWRITEPROMPT);
    record.lpstrDefExt = "ics";
    if (!GetSaveFileNameA(&record)) return;
    // A name typed without an extension takes that of the chosen filter.
    if (FormatOfName(path) == kFormatUnknown) {
        const char* extension = record.nFilterIndex == 2 ? ".csv" : ".ics";
        if (std::strlen(path) + std::strlen(extension) < sizeof path) std::strcat(path, extension);
    }
    ExportReport report;
    const int done = ExportEvents(path, &report);
    ShowOutcome(owner, kExportTitle, done, report.message);
}
