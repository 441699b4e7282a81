// The studio's controls, made the one way every pane makes them: wide texts, the window's font.
#pragma once

#include <windows.h>

#include <string>

HWND makeControl(HWND parent, int id, const wchar_t* type, const wchar_t* text, DWORD style,
                 HFONT font, DWORD extendedStyle = 0);
// A label, which Tab passes by.
HWND makeLabel(HWND parent, const wchar_t* text, HFONT font);
HWND makeButton(HWND parent, int id, const wchar_t* text, HFONT font);
HWND makeEdit(HWND parent, int id, HFONT font, bool multiline = false);
HWND makeDropDown(HWND parent, int id, HFONT font);

void place(HWND control, int x, int y, int width, int height);
std::wstring textOf(HWND control);
// Sets the text only when it differs: the caret of a field being typed in stays where it is.
void setText(HWND control, const std::wstring& text);
