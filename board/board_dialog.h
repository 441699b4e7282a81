// The question board: every question of the quiz on one scrolling pane.
#pragma once

#include <windows.h>

// The content's extent, fixed when the board is built.
extern int contentWidth;
extern int contentHeight;
// The edit control's own procedure, under every answer field's.
extern WNDPROC previousEditProc;

INT_PTR CALLBACK boardDialogProc(HWND board, UINT message, WPARAM wParam, LPARAM lParam);
