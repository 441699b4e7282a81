#include "studio/controls.h"

HWND makeControl(HWND parent, int id, const wchar_t* type, const wchar_t* text, DWORD style,
                 HFONT font, DWORD extendedStyle) {
    HWND control = CreateWindowExW(extendedStyle, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0,
                                   10, 10, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HWND makeLabel(HWND parent, const wchar_t* text, HFONT font) {
    return makeControl(parent, -1, L"STATIC", text, SS_LEFT | SS_NOPREFIX, font);
}

HWND makeButton(HWND parent, int id, const wchar_t* text, HFONT font) {
    return makeControl(parent, id, L"BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON, font);
}

HWND makeEdit(HWND parent, int id, HFONT font, bool multiline) {
    const DWORD lines =
        multiline ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL;
    return makeControl(parent, id, L"EDIT", L"", WS_TABSTOP | lines, font, WS_EX_CLIENTEDGE);
}

HWND makeDropDown(HWND parent, int id, HFONT font) {
    return makeControl(parent, id, L"COMBOBOX", L"", WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL,
                       font);
}

void place(HWND control, int x, int y, int width, int height) {
    SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring textOf(HWND control) {
    std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
    text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
    return text;
}

void setText(HWND control, const std::wstring& text) {
    if (textOf(control) != text)
        SetWindowTextW(control, text.c_str());
}
