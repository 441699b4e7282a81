// The host build runs no window: a message box becomes a line on stderr, and without GDI no
// brush or font can be made, which the platform seam allows.
#include "content/platform.h"

#include <cstdio>

void showMessageBox(const char* text, const char* caption) {
    fprintf(stderr, "%s: %s\n", caption, text);
}

HBRUSH createSolidBrush(uint8_t, uint8_t, uint8_t) {
    return nullptr;
}

HFONT createFont(const FontRequest&) {
    return nullptr;
}

void deleteBrush(HBRUSH) {}

void deleteFont(HFONT) {}
