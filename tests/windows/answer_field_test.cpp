// The answer fields' keys and the board's scrolling, on the player's own windows. The test
// executable carries no quiz: the board is the built-in quiz's picture grid (7 questions, two
// answer fields each, every expected answer "test"), with the test pictures.
#include "board/board_dialog.h"
#include "board/board_layout.h"
#include "board/board_scroll.h"
#include "board/progress_file.h"
#include "board/scroll_arithmetic.h"
#include "judge/answer_judge.h"
#include "judge/score.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "tests/windows/board_harness.h"
#include "tests/windows/message_box_capture.h"
#include "tests/windows/test_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class AnswerFields : public testing::Test {
  protected:
    void SetUp() override {
        GetCurrentDirectoryA(MAX_PATH, previousFolder);
        SetCurrentDirectoryA(folder.path().c_str());
        mainWindow = startPlayer(GetModuleHandleA(nullptr));
        ASSERT_NE(mainWindow, nullptr);
        pumpMessages();
    }
    void TearDown() override {
        if (quizRecord)
            shutDownPlayer(GetModuleHandleA(nullptr), mainWindow);
        SetCurrentDirectoryA(previousFolder);
    }

    static HWND field(int index) { return GetDlgItem(boardWindow, answerFieldId(index)); }
    static std::string verdict(int index) {
        return textOfControl(boardWindow, verdictFieldId(index));
    }
    static LRESULT keyUp(HWND control, WPARAM key) {
        return SendMessageA(control, WM_KEYUP, key, 0xC0000001);
    }
    static int position() { return GetScrollPos(boardWindow, SB_VERT); }
    static SCROLLINFO verticalBar() {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(boardWindow, SB_VERT, &info);
        return info;
    }
    static int lastReachable() {
        SCROLLINFO bar = verticalBar();
        return bar.nMax - int(bar.nPage) + 1;
    }

    TemporaryFolder folder;
    char previousFolder[MAX_PATH] = "";
    HWND mainWindow = nullptr;
    // The built-in quiz rewards a right question with a message box: each is closed at once.
    MessageBoxCapture rewardBoxes;
};

// Tests that move the keyboard focus and read where it went. They run one at a time: two test
// processes on one display take the activation from each other.
class FocusedFields : public AnswerFields {};

TEST_F(AnswerFields, EnterJudgesAndIsSwallowed) {
    SetWindowTextA(field(3), "tset");
    EXPECT_EQ(verdict(3), "?");
    EXPECT_EQ(keyUp(field(3), VK_RETURN), 1);
    EXPECT_EQ(verdict(3), "Anagramme");
    // The carriage return and the tab never reach the text, and make no beep.
    EXPECT_EQ(SendMessageA(field(3), WM_CHAR, '\r', 0), 0);
    EXPECT_EQ(SendMessageA(field(3), WM_CHAR, '\t', 0), 0);
    EXPECT_EQ(textOfControl(boardWindow, answerFieldId(3)), "tset");
    // Other characters are typed as usual.
    SendMessageA(field(3), EM_SETSEL, 4, 4);
    SendMessageA(field(3), WM_CHAR, 'x', 0);
    EXPECT_EQ(textOfControl(boardWindow, answerFieldId(3)), "tsetx");
}

TEST_F(FocusedFields, LeavingAFieldJudgesItAndEnteringSelectsItsText) {
    SetFocus(field(1));
    SetWindowTextA(field(1), "test");
    SetFocus(field(2));
    EXPECT_EQ(verdict(1), "BRAVO");
    SetFocus(field(1));
    DWORD start = 0, end = 0;
    SendMessageA(field(1), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);
}

TEST_F(AnswerFields, F2SavesEveryField) {
    SetWindowTextA(field(2), "deux");
    SetWindowTextA(field(9), "neuf");
    keyUp(field(9), VK_F2);
    std::string expected;
    for (int f = 1; f <= 14; ++f)
        expected += (f == 2 ? "deux" : f == 9 ? "neuf" : "") + std::string("\r\n");
    EXPECT_EQ(readFileText(folder.file(progressFileName())), expected);
}

TEST_F(FocusedFields, F1TriesTheTextInEveryUnsolvedField) {
    SetWindowTextA(field(5), "ROME"); // typed, soon overwritten
    SetFocus(field(1));
    SetWindowTextA(field(1), "test");
    keyUp(field(1), VK_F1);
    pumpMessages();
    for (int f = 2; f <= 14; ++f)
        EXPECT_EQ(textOfControl(boardWindow, answerFieldId(f)), "test") << f;
    EXPECT_EQ(GetFocus(), field(1));
    // Each filled field was judged when the focus moved on; the first when it came back.
    for (int f = 1; f <= 13; ++f)
        EXPECT_EQ(verdict(f), "BRAVO") << f;
    SetFocus(field(2));
    EXPECT_EQ(textOfControl(headerPaneWindow, kScoreFieldId), " 7 / 7");
}

// Counts the texts written into one verdict field: one per judging of its answer field.
WNDPROC verdictProc = nullptr;
int verdictWrites = 0;

LRESULT CALLBACK countVerdictWrites(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT)
        ++verdictWrites;
    return CallWindowProcA(verdictProc, control, message, wParam, lParam);
}

TEST_F(FocusedFields, F1JudgesTheFieldItWasPressedInOnceAndLeavesItsTextAlone) {
    quizRecord->rewardKind = kRewardNone;
    // Question 1 expects "alpha": the filled text is wrong there, so field 1 stays unsolved.
    copyQuizText(questionAt(*quizRecord, 0)->answer1, "alpha");
    SetDlgItemTextA(boardWindow, answerFieldId(3), "test");
    judgeAnswer(*quizRecord, boardWindow, answerFieldId(3));
    verdictProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(GetDlgItem(boardWindow, verdictFieldId(4)), GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(countVerdictWrites)));
    // The right answer typed into field 4, without Enter.
    SetFocus(field(4));
    for (char letter : std::string("test"))
        SendMessageA(field(4), WM_CHAR, letter, 0);
    keyUp(field(4), VK_F1);
    pumpMessages();
    EXPECT_EQ(verdictWrites, 1);
    EXPECT_EQ(verdict(4), "BRAVO");
    EXPECT_EQ(textOfControl(boardWindow, answerFieldId(4)), "test");
    EXPECT_TRUE(SendMessageA(field(4), EM_CANUNDO, 0, 0)) << "the typed text was written over";
    EXPECT_EQ(verdict(1), "FAUX");
    EXPECT_EQ(verdict(2), "BRAVO");
}

TEST_F(AnswerFields, AQuestionMadeRightWhileABoxIsOpenShowsItsOwnBox) {
    copyQuizText(questionAt(*quizRecord, 0)->rewardText, "un");
    copyQuizText(questionAt(*quizRecord, 1)->rewardText, "deux");
    for (int f = 1; f <= 4; ++f)
        SetDlgItemTextA(boardWindow, answerFieldId(f), "test");
    // While question 2's box is open, question 1 is judged right (as F1 or a restore may do).
    rewardBoxes.onEachBox([](const CapturedBox& box) {
        if (box.text == "deux")
            judgeAnswer(*quizRecord, boardWindow, answerFieldId(1));
    });
    const size_t before = rewardBoxes.boxes().size();
    judgeAnswer(*quizRecord, boardWindow, answerFieldId(4));
    const auto& boxes = rewardBoxes.boxes();
    ASSERT_EQ(boxes.size(), before + 2);
    EXPECT_EQ(boxes[before].text, "deux");
    EXPECT_EQ(boxes[before + 1].text, "un");
    EXPECT_TRUE(boxes[before + 1].overAnotherBox);
}

TEST_F(FocusedFields, ClosingShowsNoRewardBox) {
    SetWindowTextA(field(2), "test");
    SetFocus(field(1));
    SetWindowTextA(field(1), "test");
    const size_t before = rewardBoxes.boxes().size();
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    // Ending the board moves the focus out of field 1, which judges it once more.
    shutDownPlayer(GetModuleHandleA(nullptr), mainWindow);
    mainWindow = nullptr;
    EXPECT_EQ(rewardBoxes.boxes().size(), before);
    EXPECT_EQ(readFileText(folder.file(progressFileName())).substr(0, 12), "test\r\ntest\r\n");
}

TEST_F(AnswerFields, TabScrollsTheNextFieldIntoView) {
    ASSERT_GT(contentHeight, 600);
    ASSERT_EQ(position(), 0);
    // Field 9 (question 5) lies below the visible part: Tab into it scrolls to it.
    keyUp(field(9), VK_TAB);
    EXPECT_GT(position(), 0);
    EXPECT_LE(position(), lastReachable());
    // A field already in view does not move the board.
    const int before = position();
    RECT board, visible;
    GetWindowRect(boardWindow, &board);
    GetWindowRect(field(9), &visible);
    ASSERT_GE(visible.top, board.top);
    ASSERT_LE(visible.bottom, board.bottom);
    keyUp(field(9), VK_TAB);
    EXPECT_EQ(position(), before);
    // From the last field the focus wraps round to the first: back to the top.
    keyUp(field(14), VK_TAB);
    EXPECT_EQ(position(), 0);
}

TEST_F(AnswerFields, ArrowAndPageKeysScrollTheBoard) {
    keyUp(field(1), VK_DOWN);
    EXPECT_EQ(position(), std::min(kVerticalLineStep, lastReachable()));
    keyUp(field(1), VK_UP);
    EXPECT_EQ(position(), 0);
    keyUp(field(1), VK_NEXT);
    EXPECT_EQ(position(), std::min(int(verticalBar().nPage), lastReachable()));
    keyUp(field(1), VK_PRIOR);
    EXPECT_EQ(position(), 0);
}

TEST_F(AnswerFields, ScrollRequestsStopAtTheLastReachablePosition) {
    SCROLLINFO bar = verticalBar();
    EXPECT_EQ(bar.nMin, 0);
    EXPECT_EQ(bar.nMax, contentHeight - 2);
    RECT client;
    GetClientRect(boardWindow, &client);
    EXPECT_EQ(int(bar.nPage), client.bottom - 1);

    SendMessageA(boardWindow, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(position(), lastReachable());
    // The content moved with the bar: the first answer field went up by that much.
    RECT fieldRect;
    GetWindowRect(field(1), &fieldRect);
    MapWindowPoints(nullptr, boardWindow, reinterpret_cast<POINT*>(&fieldRect), 2);
    RECT placed{};
    SendMessageA(boardWindow, WM_VSCROLL, SB_TOP, 0);
    GetWindowRect(field(1), &placed);
    MapWindowPoints(nullptr, boardWindow, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.top - fieldRect.top, lastReachable());

    scrollTarget = -360;
    SendMessageA(boardWindow, WM_VSCROLL, ScrollCodeToTarget, 0);
    EXPECT_EQ(position(), 0);
    SendMessageA(boardWindow, WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(GetScrollPos(boardWindow, SB_HORZ), 1);
}

TEST_F(AnswerFields, OneWheelNotchPostsOneRequest) {
    pumpMessages();
    struct Case {
        int delta;
        int request; // 0: nothing posted
    } cases[] = {{120, ScrollCodeWheelUp}, {-120, ScrollCodeWheelDown}, {240, 0}, {60, 0}};
    for (const Case& c : cases) {
        forwardWheel(boardWindow, MAKEWPARAM(0, c.delta));
        MSG posted;
        bool found = PeekMessageA(&posted, boardWindow, WM_VSCROLL, WM_VSCROLL, PM_REMOVE);
        EXPECT_EQ(found, c.request != 0) << c.delta;
        if (found) {
            EXPECT_EQ(int(posted.wParam), c.request) << c.delta;
        }
    }
    SendMessageA(boardWindow, WM_VSCROLL, ScrollCodeWheelDown, 0);
    EXPECT_EQ(position(), 50);
}

TEST_F(AnswerFields, OneNotchOverTheBoardScrollsItTwice) {
    // The board passes the wheel on to the main window, which forwards it once more.
    SendMessageA(boardWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
    pumpMessages();
    EXPECT_EQ(position(), 100);
}

TEST_F(AnswerFields, ABoardThatFitsGoesBackToItsOrigin) {
    SendMessageA(boardWindow, WM_VSCROLL, SB_LINEDOWN, 0);
    ASSERT_GT(position(), 0);
    // The board itself, as the main window would size it on a screen tall enough.
    SetWindowPos(boardWindow, nullptr, 0, 0, contentWidth + 100, contentHeight + 100,
                 SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    EXPECT_EQ(position(), 0);
    EXPECT_EQ(GetScrollPos(boardWindow, SB_HORZ), 0);
    SCROLLINFO bar = verticalBar();
    EXPECT_GT(int(bar.nPage), bar.nMax - bar.nMin) << "the bar shows disabled";
    RECT fieldRect;
    GetWindowRect(field(1), &fieldRect);
    MapWindowPoints(nullptr, boardWindow, reinterpret_cast<POINT*>(&fieldRect), 2);
    EXPECT_EQ(fieldRect.left, 106);
}

} // namespace
