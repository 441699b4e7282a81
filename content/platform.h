// The few things the portable core asks of the platform: message boxes and GDI objects.
// The Windows build implements them with user32 and gdi32 (platform_win.cpp). The host build
// (its programs and its tests alike) writes messages to stderr and makes no GDI object
// (platform_host.cpp), so the core is tested without Windows.
#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windef.h>
#else
// The same opaque handle types that <windef.h> declares with STRICT.
struct HBRUSH__;
struct HFONT__;
struct HWND__;
using HBRUSH = HBRUSH__*;
using HFONT = HFONT__*;
using HWND = HWND__*;
#endif

// A logical font described by the only fields the quiz ever sets; every other field is zero.
struct FontRequest {
    int32_t height = 0;
    int32_t weight = 0;
    bool italic = false;
    bool underline = false;
};

// A modal box with no owner window and a single OK button.
void showMessageBox(const char* text, const char* caption);

// Null when the object cannot be created.
HBRUSH createSolidBrush(uint8_t red, uint8_t green, uint8_t blue);
HFONT createFont(const FontRequest& request);

// Null handles are ignored.
void deleteBrush(HBRUSH brush);
void deleteFont(HFONT font);
