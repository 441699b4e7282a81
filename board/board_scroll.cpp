#include "board/board_scroll.h"

#include "board/board_dialog.h"
#include "board/scroll_arithmetic.h"

int scrollTarget = 0;

namespace {

ScrollBarState readBar(HWND board, int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(board, bar, &info);
    return {info.nMin, info.nMax, int(info.nPage), info.nPos, info.nTrackPos};
}

void setRange(HWND board, int bar, int contentExtent, int visibleExtent) {
    ScrollRange range = scrollRangeFor(contentExtent, visibleExtent);
    if (range.fits)
        SetScrollPos(board, bar, 0, FALSE);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = range.maximum;
    info.nPage = UINT(range.page);
    SetScrollInfo(board, bar, &info, TRUE);
}

// Moves the bar and the content together; the system may stop the bar short of `position`.
void moveTo(HWND board, int bar, int position) {
    const int before = GetScrollPos(board, bar);
    SetScrollPos(board, bar, position, TRUE);
    const int after = GetScrollPos(board, bar);
    if (bar == SB_VERT)
        ScrollWindow(board, 0, before - after, nullptr, nullptr);
    else
        ScrollWindow(board, before - after, 0, nullptr, nullptr);
}

} // namespace

void updateScrollRanges(HWND board) {
    RECT client;
    GetClientRect(board, &client);
    setRange(board, SB_HORZ, contentWidth, client.right - client.left);
    setRange(board, SB_VERT, contentHeight, client.bottom - client.top);
}

void scrollBoardVertically(HWND board, int request) {
    moveTo(board, SB_VERT, verticalScrollTarget(request, readBar(board, SB_VERT), scrollTarget));
}

void scrollBoardHorizontally(HWND board, int request) {
    moveTo(board, SB_HORZ, horizontalScrollTarget(request, readBar(board, SB_HORZ)));
}

void resizeBoardScrolling(HWND board) {
    const int horizontal = GetScrollPos(board, SB_HORZ);
    const int vertical = GetScrollPos(board, SB_VERT);
    updateScrollRanges(board);
    ScrollWindow(board, horizontal - GetScrollPos(board, SB_HORZ),
                 vertical - GetScrollPos(board, SB_VERT), nullptr, nullptr);
}

void forwardWheel(HWND board, WPARAM wParam) {
    // Posted, so it runs once the wheel message is finished.
    if (int request = wheelRequest(GET_WHEEL_DELTA_WPARAM(wParam)))
        PostMessageA(board, WM_VSCROLL, request, 0);
}
