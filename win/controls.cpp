#include "win/controls.h"

HWND createControl(HWND parent, int id, const char* type, const char* text, DWORD style,
                   const ControlRect& rect) {
    return CreateWindowExA(0, type, text, WS_CHILD | WS_VISIBLE | style, rect.x, rect.y, rect.width,
                           rect.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

void setFont(HWND control, HFONT font, bool redraw) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

HFONT defaultGuiFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
