#include "shell/control_text.h"

#include <cstring>

void readWindowText(HWND control, char (&text)[kQuizTextSize]) {
    // GetWindowText leaves the buffer alone when it fails.
    text[0] = '\0';
    if (control)
        GetWindowTextA(control, text, kQuizTextSize);
}

void readControlText(HWND dialog, int id, char (&text)[kQuizTextSize]) {
    readWindowText(dialog ? GetDlgItem(dialog, id) : nullptr, text);
}

bool controlTextIs(HWND dialog, int id, const char* expected) {
    HWND control = dialog ? GetDlgItem(dialog, id) : nullptr;
    if (!control)
        return false;
    char text[kQuizTextSize];
    readWindowText(control, text);
    return strcmp(text, expected) == 0;
}
