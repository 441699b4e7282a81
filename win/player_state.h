// The process-wide state that start-up makes and several modules read: the quiz record, the
// application brush and the two panes. Start-up sets it and shut-down clears it (both in
// shell/main_window.cpp); the window procedures below the shell read it from here, so that none
// of them has to include the shell. Every other piece of process-wide state lies with the
// module that owns it (the board's in board/, the media session in media/, and so on).
#pragma once

#include "content/quiz_record.h"
#include "win/handles.h"

#include <windows.h>

extern QuizRecord* quizRecord;
extern UniqueGdiObject<HBRUSH> appBackgroundBrush;
extern HWND headerPaneWindow;
extern HWND boardWindow;
