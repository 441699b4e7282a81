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

int verticalScrollTarget(int request, const ScrollBarState& bar, int scrollTarget) {
    int position = bar.position;
    switch (request) {
    case kLineUp:
        position -= kVerticalLineStep;
        break;
    case kLineDown:
        position += kVerticalLineStep;
        break;
    case kPageUp:
        position -= bar.page;
        break;
    case kPageDown:
        position += bar.page;
        break;
    case kThumbTrack:
        position = bar.trackPosition;
        break;
    case kTop:
        position = 0;
        break;
    case kBottom:
        position = bar.maximum;
        break;
    case ScrollCodeWheelDown:
        position += kWheelStep;
        break;
    case ScrollCodeWheelUp:
        position -= kWheelStep;
        break;
    case ScrollCodeToTarget:
        position = scrollTarget;
        break;
    default:
        break;
    }
    return clampToRange(position, bar);
}

int horizontalScrollTarget(int request, const ScrollBarState& bar) {
    int position = bar.position;
    switch (request) {
    case kLineUp:
        position -= kHorizontalLineStep;
        break;
    case kLineDown:
        position += kHorizontalLineStep;
        break;
    case kPageUp:
        position -= bar.page;
        break;
    case kPageDown:
        position += bar.page;
        break;
    case kThumbTrack:
        position = bar.trackPosition;
        break;
    default:
        break;
    }
    return clampToRange(position, bar);
}

int wheelRequest(int delta) {
    if (delta == kWheelNotch)
        return ScrollCodeWheelUp;
    if (delta == -kWheelNotch)
        return ScrollCodeWheelDown;
    return 0;
}
