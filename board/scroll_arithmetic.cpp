#include "board/scroll_arithmetic.h"

#include <algorithm>

namespace {

// The values of SB_LINEUP .. SB_BOTTOM, kept here so the arithmetic needs no Windows header.
enum ScrollRequest {
    kLineUp = 0,
    kLineDown = 1,
    kPageUp = 2,
    kPageDown = 3,
    kThumbTrack = 5,
    kTop = 6,
    kBottom = 7,
};

int clampToRange(int position, const ScrollBarState& bar) {
    return std::clamp(position, bar.minimum, std::max(bar.minimum, bar.maximum));
}

} // namespace

ScrollRange scrollRangeFor(int contentExtent, int visibleExtent) {
    const bool fits = contentExtent <= visibleExtent;
    const int visible = fits ? contentExtent : visibleExtent;
    return {contentExtent - 2, visible - 1, fits};
}

namespace {

// The requests both bars answer, with their own line step.
int steppedPosition(int request, const ScrollBarState& bar, int lineStep) {
    switch (request) {
    case kLineUp:
        return bar.position - lineStep;
    case kLineDown:
        return bar.position + lineStep;
    case kPageUp:
        return bar.position - bar.page;
    case kPageDown:
        return bar.position + bar.page;
    case kThumbTrack:
        return bar.trackPosition;
    default:
        return bar.position;
    }
}

} // namespace

int verticalScrollTarget(int request, const ScrollBarState& bar, int scrollTarget) {
    int position;
    switch (request) {
    case kTop:
        position = 0;
        break;
    case kBottom:
        position = bar.maximum;
        break;
    case kScrollCodeWheelDown:
        position = bar.position + kWheelStep;
        break;
    case kScrollCodeWheelUp:
        position = bar.position - kWheelStep;
        break;
    case kScrollCodeToTarget:
        position = scrollTarget;
        break;
    default:
        position = steppedPosition(request, bar, kVerticalLineStep);
        break;
    }
    return clampToRange(position, bar);
}

int horizontalScrollTarget(int request, const ScrollBarState& bar) {
    return clampToRange(steppedPosition(request, bar, kHorizontalLineStep), bar);
}

int wheelRequest(int delta) {
    if (delta == kWheelNotch)
        return kScrollCodeWheelUp;
    if (delta == -kWheelNotch)
        return kScrollCodeWheelDown;
    return 0;
}
