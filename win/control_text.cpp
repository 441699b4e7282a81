#include "win/control_text.h"

void readWindowText(HWND control, char (&text)[kQuizTextSize]) {
    // GetWindowText leaves the buffer alone when it fails.
    text[0] = '\0';
    if (control)
        GetWindowTextA(control, text, kQuizTextSize);
}

void readControlText(HWND dialog, int id, char (&text)[kQuizTextSize]) {
    readWindowText(dialog ? GetDlgItem(dialog, id) : nullptr, text);
}
