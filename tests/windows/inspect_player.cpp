// plimo_inspect.exe TITLE ID...: prints "ID=text" for controls of a running player, found by
// its window title (the pane that holds the id: header or board), or "ID@x,y" for "@ID", the
// control's centre on the screen. Lets the end-to-end script click where a player would and
// check what the player sees after typing with real keystrokes.
#include "board/board_layout.h"
#include "judge/score.h"
#include "shell/main_window.h"

#include <cstdio>
#include <cstdlib>

namespace {

// The pane of the main window that holds control `id`.
HWND paneHolding(HWND mainWindow, int id) {
    for (HWND pane = GetWindow(mainWindow, GW_CHILD); pane; pane = GetWindow(pane, GW_HWNDNEXT))
        if (GetDlgItem(pane, id))
            return pane;
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: plimo_inspect TITLE ID...\n");
        return 2;
    }
    HWND mainWindow = FindWindowA(kMainWindowClass, argv[1]);
    if (!mainWindow) {
        fprintf(stderr, "no player window titled %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const bool where = argv[i][0] == '@';
        const int id = atoi(argv[i] + (where ? 1 : 0));
        HWND pane = paneHolding(mainWindow, id);
        if (!pane) {
            printf("%d=(none)\n", id);
            continue;
        }
        if (where) {
            RECT rect;
            GetWindowRect(GetDlgItem(pane, id), &rect);
            printf("%d@%ld,%ld\n", id, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
            continue;
        }
        char text[kQuizTextSize] = "";
        GetDlgItemTextA(pane, id, text, sizeof text);
        printf("%d=%s\n", id, text);
    }
    return 0;
}
