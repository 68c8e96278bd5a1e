// Control ids of the event list editor's template "EditDuties", shared by the
// resource script and the code.
#pragma once

#define IDC_LIST_ADD 1810        // "&Dodaj nowe zdarzenie...", Insert
#define IDC_LIST_MODIFY 1820     // "&Modifikuj...", F2, double-click
#define IDC_LIST_DELETE 1830     // "&Usuń", Delete
#define IDC_LIST_DUPLICATE 1835  // the context menu's "D&uplikuj..."
#define IDC_LIST_SAVE 1840       // "&Zachowaj": save and close
#define IDC_LIST_DISCARD 1850    // "&Poniechaj": close without saving
#define IDC_LIST_PREFERENCES 1860
#define IDC_LIST_FILES 1870
#define IDC_LIST_TOTAL_LABEL 1010
#define IDC_LIST_COUNT 1880      // the number of rows
#define IDC_LIST_EVENTS 1100     // the list view of the events
#define IDC_LIST_FIND 1024       // picture: opens the Find dialog
