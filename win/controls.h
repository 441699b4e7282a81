// Child controls of the player's windows, made and dressed the one way every window does it.
#pragma once

#include <windows.h>

// Where a control stands, in its parent's client pixels.
struct ControlRect {
    int x, y, width, height;
};

// A visible child control of `parent` of window class `type`, which the parent knows as `id`.
// Null when it cannot be made.
HWND createControl(HWND parent, int id, const char* type, const char* text, DWORD style,
                   const ControlRect& rect);

// Gives the control its font; `redraw` repaints it at once.
void setFont(HWND control, HFONT font, bool redraw);

// The stock font of dialog controls: never ours to delete.
HFONT defaultGuiFont();
