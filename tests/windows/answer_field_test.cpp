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

#include <algorithm>

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

TEST_F(AnswerFields, LeavingAFieldJudgesItAndEnteringSelectsItsText) {
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

TEST_F(AnswerFields, F1TriesTheTextInEveryUnsolvedField) {
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

// The built-in quiz gives every question the same answers and reward text. Here question 1
// expects "alpha" and says "un", question 2 says "deux", questions 3 to 7 expect "autre", so
// that each box tells whose it is.
void giveQuestionsTheirOwnAnswers(QuizRecord& record) {
    QuestionNode* first = questionAt(record, 0);
    copyQuizText(first->answer1, "alpha");
    copyQuizText(first->answer2, "alpha");
    copyQuizText(first->rewardText, "un");
    copyQuizText(questionAt(record, 1)->rewardText, "deux");
    for (int question = 3; question <= record.questionCount; ++question)
        addQuestion(record, "autre", "autre", "");
}

int boxesSaying(const MessageBoxCapture& capture, const std::string& text) {
    return int(std::count_if(capture.boxes().begin(), capture.boxes().end(),
                             [&](const CapturedBox& box) { return box.text == text; }));
}

TEST_F(AnswerFields, F1JudgesTheFieldItWasPressedInOnce) {
    giveQuestionsTheirOwnAnswers(*quizRecord);
    SetWindowTextA(field(3), "test");
    judgeAnswer(*quizRecord, boardWindow, answerFieldId(3));
    // The right answer typed into field 4, without Enter; field 1 before it is unsolved.
    SetFocus(field(4));
    SetWindowTextA(field(4), "test");
    keyUp(field(4), VK_F1);
    pumpMessages();
    EXPECT_EQ(boxesSaying(rewardBoxes, "deux"), 1);
    EXPECT_EQ(textOfControl(boardWindow, answerFieldId(4)), "test");
    EXPECT_EQ(verdict(4), "BRAVO");
    EXPECT_EQ(GetFocus(), field(4));
    for (int f : {1, 2, 5, 14}) {
        EXPECT_EQ(textOfControl(boardWindow, answerFieldId(f)), "test") << f;
        EXPECT_EQ(verdict(f), "FAUX") << f;
    }
}

TEST_F(AnswerFields, AQuestionMadeRightWhileABoxIsOpenShowsItsOwnBox) {
    giveQuestionsTheirOwnAnswers(*quizRecord);
    copyQuizText(questionAt(*quizRecord, 0)->answer1, "test");
    copyQuizText(questionAt(*quizRecord, 0)->answer2, "test");
    SetWindowTextA(field(2), "test");
    SetWindowTextA(field(3), "test");
    // F1 in field 4 fills field 1 and moves the focus there: field 4 is judged and question 2's
    // box opens, which takes the focus from field 1, judged in turn while that box is open.
    SetFocus(field(4));
    SetWindowTextA(field(4), "test");
    keyUp(field(4), VK_F1);
    pumpMessages();
    const auto& boxes = rewardBoxes.boxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0].text, "deux");
    EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(), [](const CapturedBox& box) {
        return box.text == "un" && box.overAnotherBox;
    })) << "question 1's box was dropped while question 2's was open";
}

TEST_F(AnswerFields, ClosingShowsNoRewardBox) {
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
