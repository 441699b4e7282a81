#include "board/answer_field.h"

#include "board/board_dialog.h"
#include "board/board_layout.h"
#include "board/board_scroll.h"
#include "board/progress_file.h"
#include "board/scroll_arithmetic.h"
#include "judge/answer_judge.h"
#include "judge/score.h"
#include "win/player_state.h"

namespace {

constexpr int kTabTargetAbove = 360;

void judgeField(HWND field) {
    judgeAnswer(*quizRecord, GetParent(field), GetDlgCtrlID(field));
}

// After Tab has moved the focus here: back to the top when the focus wrapped round, else
// scroll only when the field is out of sight.
void scrollAfterTab(HWND field) {
    const int questions = quizRecord->questionCount;
    if (questions <= 0)
        return;
    const int step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
    const int wrapped = (fieldIndexOfAnswerId(GetDlgCtrlID(field)) + step) % questions;
    HWND board = GetParent(field);
    if (wrapped == 1) {
        SendMessageA(board, WM_VSCROLL, SB_TOP, 0);
        return;
    }
    RECT fieldRect, boardRect;
    GetWindowRect(field, &fieldRect);
    GetWindowRect(board, &boardRect);
    scrollTarget = fieldRect.top - kTabTargetAbove;
    if (fieldRect.bottom > boardRect.bottom || fieldRect.top < boardRect.top)
        SendMessageA(board, WM_VSCROLL, kScrollCodeToTarget, 0);
}

// Returns true when the key is consumed.
bool onKeyUp(HWND field, WPARAM key) {
    HWND board = GetParent(field);
    switch (key) {
    case VK_RETURN:
        judgeField(field);
        return true;
    case VK_TAB:
        scrollAfterTab(field);
        break;
    case VK_F1:
        tryAnswerEverywhere(field);
        break;
    case VK_F2:
        saveProgress(board);
        break;
    // The arrows and page keys move through the board, as a player expects of them.
    case VK_UP:
        SendMessageA(board, WM_VSCROLL, SB_LINEUP, 0);
        break;
    case VK_DOWN:
        SendMessageA(board, WM_VSCROLL, SB_LINEDOWN, 0);
        break;
    case VK_PRIOR:
        SendMessageA(board, WM_VSCROLL, SB_PAGEUP, 0);
        break;
    case VK_NEXT:
        SendMessageA(board, WM_VSCROLL, SB_PAGEDOWN, 0);
        break;
    default:
        break;
    }
    return false;
}

} // namespace

LRESULT CALLBACK answerEditProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS:
        // An end past the last character selects the whole text.
        SendMessageA(field, EM_SETSEL, 0, kQuizTextSize);
        break;
    case WM_KILLFOCUS:
        judgeField(field);
        break;
    case WM_CHAR:
        // Enter and Tab are the board's, not text: swallowed without a beep.
        if (wParam == '\r' || wParam == '\t')
            return 0;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (onKeyUp(field, wParam))
            return 1;
        break;
    default:
        break;
    }
    return CallWindowProcA(previousEditProc, field, message, wParam, lParam);
}
