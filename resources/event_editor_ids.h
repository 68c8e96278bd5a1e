// Control ids of the event editor's template "EditDuty", shared by the
// resource script and the code.
#pragma once

#define IDC_EDITOR_DISCARD 1850       // "&Poniechaj": cancel, asking before changes are lost
#define IDC_EDITOR_DAY_LABEL 1011
#define IDC_EDITOR_DAY 1160
#define IDC_EDITOR_MONTH_LABEL 1012
#define IDC_EDITOR_MONTH 1162
#define IDC_EDITOR_YEAR_LABEL 1013
#define IDC_EDITOR_YEAR 1164
#define IDC_EDITOR_CALENDAR_BUTTON 1026  // picture: opens the drop-down calendar
#define IDC_EDITOR_CALENDAR 1102
#define IDC_EDITOR_REPEAT 1900
#define IDC_EDITOR_MESSAGE 1060
#define IDC_EDITOR_NOTES 1065
#define IDC_EDITOR_NOTES_MARK 1022    // shown while there are notes
#define IDC_EDITOR_DEFAULT_LIMITS 1920
#define IDC_EDITOR_SPECIAL_LIMITS 1930
#define IDC_EDITOR_SET_LIMITS 1910
#define IDC_EDITOR_LIMITS_MARK 1024   // shown while the special limits apply
