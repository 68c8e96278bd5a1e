#include "app/list_drawing.h"

#include <cstring>

#include "app/colours.h"
#include "app/list_layout.h"
#include "app/load_str.h"
#include "app/state.h"
#include "app/win_state.h"
#include "model/due_list.h"

int noteLeft = 0;
int noteRight = 0;
HBRUSH backgroundBrush = nullptr;

namespace {
constexpr int kRowTextSize = 1024;

// The process code page is UTF-8 (the manifest says so). A text too long for
// the buffer is cut at its end.
int Utf8ToWide(const char* text, wchar_t* wide, int size) {
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, size);
    if (n > 0) return n - 1;  // without the terminator
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        wide[0] = L'\0';
        return 0;
    }
    int length = size - 1;
    if (length > 0 && wide[length - 1] >= 0xD800 && wide[length - 1] <= 0xDBFF) --length;
    wide[length] = L'\0';
    return length;
}

int MeasureInDc(const char* text, void* dc) { return TextWidth(static_cast<HDC>(dc), text); }
}  // namespace

LOGFONTA LogFontOf(const ListFont& font) {
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = font.height;
    lf.lfWidth = font.width;
    lf.lfEscapement = font.escapement;
    lf.lfOrientation = font.orientation;
    lf.lfWeight = font.weight;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikeOut;
    lf.lfCharSet = font.charSet;
    lf.lfOutPrecision = font.outPrecision;
    lf.lfClipPrecision = font.clipPrecision;
    lf.lfQuality = font.quality;
    lf.lfPitchAndFamily = font.pitchAndFamily;
    CopyText(lf.lfFaceName, font.faceName, sizeof lf.lfFaceName);
    return lf;
}

ListFont ListFontOf(const LOGFONTA& lf) {
    ListFont font;
    std::memset(&font, 0, sizeof font);
    font.height = lf.lfHeight;
    font.width = lf.lfWidth;
    font.escapement = lf.lfEscapement;
    font.orientation = lf.lfOrientation;
    font.weight = lf.lfWeight;
    font.italic = lf.lfItalic;
    font.underline = lf.lfUnderline;
    font.strikeOut = lf.lfStrikeOut;
    font.charSet = lf.lfCharSet;
    font.outPrecision = lf.lfOutPrecision;
    font.clipPrecision = lf.lfClipPrecision;
    font.quality = lf.lfQuality;
    font.pitchAndFamily = lf.lfPitchAndFamily;
    char face[sizeof lf.lfFaceName + 1];  // a full face field has no terminator
    std::memcpy(face, lf.lfFaceName, sizeof lf.lfFaceName);
    face[sizeof lf.lfFaceName] = '\0';
    CopyText(font.faceName, face, sizeof font.faceName);
    return font;
}

HFONT CreateListFont(const ListFont& font) {
    LOGFONTA lf = LogFontOf(font);
    return CreateFontIndirectA(&lf);
}

int TextWidth(HDC dc, const char* text) {
    // Measured through the wide form, as drawn: a Polish letter is one glyph.
    wchar_t wide[kRowTextSize];
    int length = Utf8ToWide(text, wide, kRowTextSize);
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, wide, length, &size);
    TEXTMETRICA metrics;
    if (GetTextMetricsA(dc, &metrics)) size.cx -= metrics.tmOverhang;
    POINT point = {size.cx, 0};
    LPtoDP(dc, &point, 1);
    return point.x;
}

int DateColumnWidthIn(HDC dc, bool showWeekday, const char* const* extraDates, int extraCount) {
    return DateColumnWidth(MeasureInDc, dc, showWeekday, extraDates, extraCount);
}

void DrawNoteIcon(HDC dc, int left, int top, int right, int bottom) {
    NoteIconShape s = NoteIconGeometry(left, top, right, bottom);
    MoveToEx(dc, s.left, s.top, nullptr);
    LineTo(dc, s.right, s.top);
    LineTo(dc, s.right, s.bottom);
    LineTo(dc, s.left, s.bottom);
    LineTo(dc, s.left, s.top);
    RECT inside = {s.left + 1, s.top + 1, s.right - 1, s.bottom - 1};
    FillRect(dc, &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (int i = 0; i < s.lineCount; ++i) {
        MoveToEx(dc, s.lineLeft, s.lineY[i], nullptr);
        LineTo(dc, s.lineRight, s.lineY[i]);
    }
}

void DrawUtf8Text(HDC dc, const char* text, RECT* rect, UINT format) {
    wchar_t wide[kRowTextSize];
    int length = Utf8ToWide(text, wide, kRowTextSize);
    DrawTextW(dc, wide, length, rect, format);
}

void MeasureListItem(HWND window, MEASUREITEMSTRUCT* item) {
    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, listFontHandle);
    TEXTMETRICA metrics;
    if (GetTextMetricsA(dc, &metrics)) item->itemHeight = metrics.tmHeight + metrics.tmExternalLeading;
    if (listFontHandle) {
        noteLeft = TextWidth(dc, LoadStr(1290)) + 1;
        noteRight = noteLeft + TextWidth(dc, "M");
    }
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
}

BOOL DrawListItem(const DRAWITEMSTRUCT* item) {
    const DueItem* row = reinterpret_cast<const DueItem*>(item->itemData);
    if (row == nullptr || item->itemID == static_cast<UINT>(-1)) return FALSE;
    HDC dc = item->hDC;
    RECT cell = item->rcItem;
    bool selected = (item->itemState & ODS_SELECTED) != 0;

    COLORREF background = SchemeBackground(prefs.colourScheme);
    if (selected) {
        background = SelectionColour(background);
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &item->rcItem, brush);
        DeleteObject(brush);
    }
    SetTextColor(dc, RowTextColour(prefs.colourScheme, row->daysLeft));
    SetBkColor(dc, background);
    if (!selected) FillRect(dc, &item->rcItem, backgroundBrush);

    char text[kRowTextSize];
    CopyText(text, DueRowText(row), sizeof text);
    const char *days, *date, *message;
    SplitRowText(text, &days, &date, &message);

    ListColumns columns = ListColumnBounds(TextWidth(dc, LoadStr(1290)), TextWidth(dc, "M"),
                                           DateColumnWidthIn(dc, prefs.showWeekday != 0));
    cell.left = 0;
    cell.right = columns.daysRight;
    DrawUtf8Text(dc, days, &cell, DT_NOPREFIX | DT_RIGHT);
    if (row->notes[0] != '\0') {
        DrawNoteIcon(dc, columns.noteLeft, item->rcItem.top, columns.noteRight, item->rcItem.bottom);
    }
    cell.left = columns.dateLeft;
    cell.right = columns.dateRight;
    DrawUtf8Text(dc, date, &cell, DT_NOPREFIX);
    cell.left = columns.messageLeft;
    cell.right = item->rcItem.right;
    DrawUtf8Text(dc, message, &cell, DT_NOPREFIX);
    return TRUE;
}
