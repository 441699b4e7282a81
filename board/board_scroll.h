// Scrolling the board: its bars, the wheel, and the requests of the answer fields.
#pragma once

#include <windows.h>

// The vertical position that kScrollCodeToTarget asks for, set by the answer fields' Tab.
extern int scrollTarget;

// Both bars from the current client size and the content extent fixed at creation.
void updateScrollRanges(HWND board);

void scrollBoardVertically(HWND board, int request);
void scrollBoardHorizontally(HWND board, int request);

// Keeps the content in step with positions that new ranges changed.
void resizeBoardScrolling(HWND board);

// The wheel rule, for the board and for wheel messages that reach the main window.
void forwardWheel(HWND board, WPARAM wParam);
