// "Importuj..." and "Eksportuj..." of the main window's menus: the common
// open and save dialogs, the import or export, and its summary.
#pragma once

#include <windows.h>

// String ids of the menu items.
constexpr int kImportItemText = 5100;  // "Importuj..."
constexpr int kExportItemText = 5101;  // "Eksportuj..."

// Lets the user choose an iCalendar, vCard or CSV file and adds its events;
// the list is rebuilt when any were added. The summary, or why nothing was
// imported, is shown in a message box owned by `owner`.
void ImportChosenFile(HWND owner);

// Lets the user choose where to write every event as iCalendar or CSV.
void ExportToChosenFile(HWND owner);
