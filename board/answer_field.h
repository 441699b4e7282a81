// The answer fields' own keys: judging on Enter and on leaving, Tab scrolling, F1 and F2.
#pragma once

#include <windows.h>

LRESULT CALLBACK answerEditProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
