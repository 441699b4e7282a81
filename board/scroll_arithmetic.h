// Where a scroll request takes the board: the arithmetic, free of any window.
#pragma once

// The board's own vertical requests, sent as the whole wParam of WM_VSCROLL.
constexpr int kScrollCodeWheelDown = 500;
constexpr int kScrollCodeWheelUp = 501;
constexpr int kScrollCodeToTarget = 502;

constexpr int kVerticalLineStep = 310;
constexpr int kHorizontalLineStep = 1;
constexpr int kWheelStep = 50;
constexpr int kWheelNotch = 120;

// The bar as GetScrollInfo gives it.
struct ScrollBarState {
    int minimum = 0;
    int maximum = 0;
    int page = 0;
    int position = 0;
    int trackPosition = 0;
};

// Ranges for a content extent shown in a visible extent: maximum extent - 2, page visible - 1;
// a content that fits gets a page larger than its range (the bar shows disabled).
struct ScrollRange {
    int maximum;
    int page;
    bool fits; // the position must go back to 0
};
ScrollRange scrollRangeFor(int contentExtent, int visibleExtent);

// The position that a WM_VSCROLL request asks for, clamped to the range (the system limits it
// further to maximum - page + 1). Unknown requests keep the position.
int verticalScrollTarget(int request, const ScrollBarState& bar, int scrollTarget);

// The same for WM_HSCROLL.
int horizontalScrollTarget(int request, const ScrollBarState& bar);

// The request that a wheel turn of `delta` posts; 0 for any delta but one notch either way.
int wheelRequest(int delta);
