#include "tests/support/platform_fake.h"

namespace {

uintptr_t key(const void* handle) {
    return reinterpret_cast<uintptr_t>(handle);
}

template <typename Handle> Handle newHandle() {
    FakePlatform& platform = fakePlatform();
    platform.nextHandle += 0x10;
    return reinterpret_cast<Handle>(platform.nextHandle);
}

template <typename Map> void release(Map& live, const void* handle) {
    if (!handle)
        return;
    if (live.erase(key(handle)) == 0)
        ++fakePlatform().doubleDeletes;
}

} // namespace

FakePlatform& fakePlatform() {
    static FakePlatform platform;
    return platform;
}

void showMessageBox(const char* text, const char* caption) {
    fakePlatform().messages.push_back({text, caption});
}

HBRUSH createSolidBrush(uint8_t red, uint8_t green, uint8_t blue) {
    HBRUSH brush = newHandle<HBRUSH>();
    fakePlatform().liveBrushes[key(brush)] = {red, green, blue};
    return brush;
}

HFONT createFont(const FontRequest& request) {
    HFONT font = newHandle<HFONT>();
    fakePlatform().liveFonts[key(font)] = request;
    return font;
}

void deleteBrush(HBRUSH brush) {
    release(fakePlatform().liveBrushes, brush);
}

void deleteFont(HFONT font) {
    release(fakePlatform().liveFonts, font);
}

bool fakeBrushColour(HBRUSH brush, FakeBrush& colour) {
    auto& live = fakePlatform().liveBrushes;
    auto found = live.find(key(brush));
    if (found == live.end())
        return false;
    colour = found->second;
    return true;
}

bool fakeFontRequest(HFONT font, FontRequest& request) {
    auto& live = fakePlatform().liveFonts;
    auto found = live.find(key(font));
    if (found == live.end())
        return false;
    request = found->second;
    return true;
}
