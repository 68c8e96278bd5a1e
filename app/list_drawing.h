// Measuring and painting the rows of the main window's owner-drawn list.
#pragma once

#include <windows.h>

#include "app/prefs.h"

// Horizontal bounds of the note column, for the main window's hit tests;
// set when a row is measured.
extern int noteLeft;
extern int noteRight;

// Solid brush of the current scheme's background; the main window remakes it
// on every rebuild.
extern HBRUSH backgroundBrush;

// A font object for the list font of the preferences.
HFONT CreateListFont(const ListFont& font);

// The list font of the preferences as a Windows font description, and back.
LOGFONTA LogFontOf(const ListFont& font);
ListFont ListFontOf(const LOGFONTA& lf);

// Width of a UTF-8 text in the font selected into `dc`, less the font's
// overhang, in device pixels.
int TextWidth(HDC dc, const char* text);

// DateColumnWidth measured in the font selected into `dc`.
int DateColumnWidthIn(HDC dc, bool showWeekday, const char* const* extraDates = nullptr, int extraCount = 0);

// The note pictogram in the cell, with the current pen.
void DrawNoteIcon(HDC dc, int left, int top, int right, int bottom);

// Draws a UTF-8 text with DrawTextW: GDI's A calls would read it in the
// font's code page.
void DrawUtf8Text(HDC dc, const char* text, RECT* rect, UINT format);

// WM_MEASUREITEM and WM_DRAWITEM of the list box; `window` is the main window.
void MeasureListItem(HWND window, MEASUREITEMSTRUCT* item);
BOOL DrawListItem(const DRAWITEMSTRUCT* item);
