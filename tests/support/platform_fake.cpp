#include "tests/support/platform_fake.h"

FakePlatform& fakePlatform(bool reset) {
    static FakePlatform platform;
    return reset ? platform = FakePlatform{} : platform;
}

void showMessageBox(const char* text, const char* caption) {
    fakePlatform().messages.push_back({text, caption});
}

HBRUSH createSolidBrush(uint8_t red, uint8_t green, uint8_t blue) {
    auto brush = reinterpret_cast<HBRUSH>(fakePlatform().lastHandle += 0x10);
    return fakePlatform().liveBrushes[brush] = {red, green, blue}, brush;
}

HFONT createFont(const FontRequest& request) {
    auto font = reinterpret_cast<HFONT>(fakePlatform().lastHandle += 0x10);
    return fakePlatform().liveFonts[font] = request, font;
}

// Null handles are ignored, as the real ones are.
void deleteBrush(HBRUSH brush) {
    fakePlatform().doubleDeletes += brush && !fakePlatform().liveBrushes.erase(brush);
}

void deleteFont(HFONT font) {
    fakePlatform().doubleDeletes += font && !fakePlatform().liveFonts.erase(font);
}
