// Reading the texts of controls, the one way every part does it.
#pragma once

#include "content/quiz_record.h"

#include <windows.h>

// The text of control `id` of `dialog`, cut to kQuizTextMaxLength characters; empty when the
// control does not exist.
void readControlText(HWND dialog, int id, char (&text)[kQuizTextSize]);

// The text of a control window itself, with the same limits.
void readWindowText(HWND control, char (&text)[kQuizTextSize]);
