// Host-build stand-ins for the platform: message boxes are recorded instead of shown, and
// brushes and fonts are numbered handles whose creation and deletion are tracked.
#pragma once

#include "content/platform.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct RecordedMessage {
    std::string text;
    std::string caption;
    bool operator==(const RecordedMessage&) const = default;
};

struct FakeBrush {
    uint8_t red, green, blue;
};

struct FakePlatform {
    std::vector<RecordedMessage> messages;
    std::map<uintptr_t, FakeBrush> liveBrushes;
    std::map<uintptr_t, FontRequest> liveFonts;
    int doubleDeletes = 0;
    uintptr_t nextHandle = 0x1000;

    // Forgets everything recorded so far.
    void reset() { *this = FakePlatform{}; }
};

FakePlatform& fakePlatform();

// The colour of a live fake brush; fails the calling test through the returned flag.
bool fakeBrushColour(HBRUSH brush, FakeBrush& colour);
bool fakeFontRequest(HFONT font, FontRequest& request);
