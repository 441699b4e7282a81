#include "content/platform.h"

#include <windows.h>

void showMessageBox(const char* text, const char* caption) {
    MessageBoxA(nullptr, text, caption, MB_OK);
}

HBRUSH createSolidBrush(uint8_t red, uint8_t green, uint8_t blue) {
    return CreateSolidBrush(RGB(red, green, blue));
}

HFONT createFont(const FontRequest& request) {
    LOGFONTA font{};
    font.lfHeight = request.height;
    font.lfWeight = request.weight;
    font.lfItalic = request.italic ? TRUE : FALSE;
    font.lfUnderline = request.underline ? TRUE : FALSE;
    return CreateFontIndirectA(&font);
}

void deleteBrush(HBRUSH brush) {
    if (brush)
        DeleteObject(brush);
}

void deleteFont(HFONT font) {
    if (font)
        DeleteObject(font);
}
