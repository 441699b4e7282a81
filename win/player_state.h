// The player's process-wide state. Start-up sets it and shut-down clears it (both in
// shell/main_window.cpp); the window procedures below the shell read it from here, so that
// none of them has to include the shell.
#pragma once

#include "content/quiz_record.h"
#include "win/handles.h"

#include <windows.h>

extern QuizRecord* quizRecord;
extern UniqueGdiObject<HBRUSH> appBackgroundBrush;
extern HWND headerPaneWindow;
extern HWND boardWindow;
