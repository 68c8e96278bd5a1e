// Ids of the program's resources, shared by the resource script and the code.
#pragma once

#define IDI_QUILLBEE 130
#define IDC_HAND_POINTER 150
#define IDM_MAIN_MENU 110

// The reminder pop-up (template ViewDuty).
#define IDC_POPUP_TITLE 1011
#define IDC_POPUP_NOTES 1012
#define IDC_POPUP_SEPARATOR 1018

// The About box.
#define IDC_ABOUT_NAME 1011
#define IDC_ABOUT_REVISION 1012
#define IDC_ABOUT_LINK 1510
#define IDC_ABOUT_AFTER_LINK 1511
#define IDC_ABOUT_CONTACT 1520

// The Files dialog.
#define IDC_FILES_EVENTS_HEADING 1011
#define IDC_FILES_PREFS_HEADING 1012
#define IDC_FILES_EVENTS_PATH 1200
#define IDC_FILES_PREFS_PATH 1210
