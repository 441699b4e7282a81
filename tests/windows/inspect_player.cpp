// plimo_inspect.exe TITLE ID...: prints "ID=text" for controls of a running player, found by
// its window title (the pane that holds the id: header or board), or "ID@x,y" for "@ID", the
// control's centre on the screen. Lets the end-to-end script click where a player would and
// check what the player sees after typing with real keystrokes.
#include "judge/score.h"
#include "shell/main_window.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    // Run with no title, or none of a running player: nothing to print.
    HWND mainWindow = argc > 1 ? FindWindowA(kMainWindowClass, argv[1]) : nullptr;
    if (!mainWindow)
        return 1;
    for (int i = 2; i < argc; ++i) {
        const bool where = argv[i][0] == '@';
        const int id = atoi(argv[i] + (where ? 1 : 0));
        HWND control = nullptr;
        for (HWND pane = GetWindow(mainWindow, GW_CHILD); pane && !control;
             pane = GetWindow(pane, GW_HWNDNEXT))
            control = GetDlgItem(pane, id);
        // The text through WM_GETTEXT: GetWindowText does not read another process's fields.
        char text[kQuizTextSize] = "(none)";
        RECT rect{};
        if (control) {
            SendMessageA(control, WM_GETTEXT, sizeof text, LPARAM(text));
            GetWindowRect(control, &rect);
        }
        if (where)
            printf("%d@%ld,%ld\n", id, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        else
            printf("%d=%s\n", id, text);
    }
    return 0;
}
