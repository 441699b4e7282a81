// Host-build stand-ins for the platform: message boxes are recorded instead of shown, and
// brushes and fonts are numbered handles whose creation and deletion are tracked.
#pragma once

#include "content/platform.h"

#include <array>
#include <map>
#include <string>
#include <vector>

struct FakePlatform {
    std::vector<std::pair<std::string, std::string>> messages; // text, caption
    std::map<const void*, std::array<uint8_t, 3>> liveBrushes; // red, green, blue
    std::map<const void*, FontRequest> liveFonts;
    int doubleDeletes = 0;
    uintptr_t lastHandle = 0x1000;
};

// Forgets everything recorded so far on a reset.
FakePlatform& fakePlatform(bool reset = false);
inline void resetFakePlatform() {
    fakePlatform(true);
}
