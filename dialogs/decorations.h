// Small helpers of the editing dialogs: a hint over one control, a glyph
// drawn with one colour left transparent, and a control's place in its dialog.
#pragma once

#include <windows.h>

// The colour the glyph bitmaps leave transparent.
constexpr COLORREF kGlyphKeyColour = RGB(255, 0, 0);

// Shows `text` while the mouse rests over control `controlId` of `dialog`,
// also while the dialog is inactive. The tooltip copies the text and lives
// until the dialog is destroyed. Returns the tooltip window.
// The tooltip hooks the dialog's messages to see the mouse, unless
// `relayed`: the dialog then passes its mouse messages on itself
// (TTM_RELAYEVENT). Under Wine a hooked window pays a round trip to the
// window server for every message, too dear for a dialog that hears of
// every row of a list of thousands.
HWND AddTooltip(HWND dialog, int controlId, const char* text, bool relayed = false);

// The rectangle of `child` in the client coordinates of `dialog`.
RECT ChildRect(HWND dialog, HWND child);

// Draws the whole of `bitmap` with its top-left corner at (x, y) of `dc`,
// leaving the pixels of colour `key` transparent, in one copy to `dc` so that
// nothing flickers. The bitmap is the same afterwards.
void DrawKeyedBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF key);
