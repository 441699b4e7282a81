// The player's own windows, started in this process as start-up builds them, and the built
// player in a process of its own. The test executable carries no quiz: it shows the built-in
// quiz, a picture grid of 7 questions with two answer fields each, every expected answer
// "test", a message box for each right question, its pictures from test_pictures.rc.
#include "board/board_dialog.h"
#include "board/board_layout.h"
#include "board/progress_file.h"
#include "resources/quiz_resource_ids.h"
#include "shell/header_pane.h"
#include "shell/main_window.h"
#include "tests/windows/support.h"
#include "win/player_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <process.h>

namespace {

const char* kProgressFile = "plimo_windows_tests.txt";

// The progress file of the built-in quiz's 14 fields with these filled.
std::string lines(std::map<int, std::string> filled) {
    std::string text;
    for (int field = 1; field <= 14; ++field)
        text += filled[field] + "\r\n";
    return text;
}

class Player : public testing::Test {
  protected:
    void TearDown() override {
        if (quizRecord)
            shutdownPlayer(GetModuleHandleA(nullptr), mainWindow);
    }
    void start() {
        mainWindow = startPlayer(GetModuleHandleA(nullptr));
        ASSERT_NE(mainWindow, nullptr);
        pumpMessages();
    }
    static HWND field(int index) { return GetDlgItem(boardWindow, answerFieldId(index)); }
    static std::string answer(int i) { return textOfControl(boardWindow, answerFieldId(i)); }
    static std::string verdict(int i) { return textOfControl(boardWindow, verdictFieldId(i)); }
    static LRESULT keyUp(HWND c, WPARAM key) { return SendMessageA(c, WM_KEYUP, key, 0xC0000001); }
    static int position() { return GetScrollPos(boardWindow, SB_VERT); }

    TemporaryFolder folder{true};
    MessageBoxCapture rewardBoxes;
    HWND mainWindow = nullptr;
};

// The keys reach the field's handler, and what they scroll moves the whole content.
TEST_F(Player, KeysInAnAnswerFieldAndScrolling) {
    start();
    SetWindowTextA(field(3), "tset");
    EXPECT_EQ(keyUp(field(3), VK_RETURN), 1);
    EXPECT_EQ(verdict(3), "Anagramme");
    // Carriage return and tab never reach the text, and make no beep; other characters do.
    EXPECT_EQ(SendMessageA(field(3), WM_CHAR, '\r', 0) + SendMessageA(field(3), WM_CHAR, '\t', 0),
              0);
    SendMessageA(field(3), EM_SETSEL, 4, 4);
    SendMessageA(field(3), WM_CHAR, 'x', 0);
    EXPECT_EQ(answer(3), "tsetx");
    // F2 in any field, or the header's button, saves every field.
    SetWindowTextA(field(9), "neuf");
    keyUp(field(9), VK_F2);
    EXPECT_EQ(readFileContent(kProgressFile), lines({{3, "tsetx"}, {9, "neuf"}}));
    SetWindowTextA(field(14), "fin");
    SendMessageA(headerPaneWindow, WM_COMMAND, kSaveButtonId, 0);
    EXPECT_EQ(readFileContent(kProgressFile), lines({{3, "tsetx"}, {9, "neuf"}, {14, "fin"}}));
    for (auto [key, down] :
         {std::pair{VK_DOWN, true}, {VK_UP, false}, {VK_NEXT, true}, {VK_PRIOR, false}}) {
        keyUp(field(1), key);
        EXPECT_EQ(position() > 0, down) << key;
    }
    // Field 9 (question 5) lies below the visible part: Tab into it scrolls to it.
    keyUp(field(9), VK_TAB);
    EXPECT_GT(position(), 0);
    keyUp(field(14), VK_TAB); // the focus wraps round to the first field: back to the top
    EXPECT_EQ(position(), 0);

    const std::vector<int> top = placeOf(field(1));
    SendMessageA(boardWindow, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_GT(position(), 0);
    EXPECT_EQ(top[1] - placeOf(field(1))[1], position()) << "the content moved as much";
    SendMessageA(boardWindow, WM_VSCROLL, SB_TOP, 0);
    // The board passes the wheel on to the main window, which forwards it once more.
    SendMessageA(boardWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
    pumpMessages();
    EXPECT_EQ(position(), 100);
    // Sized so that everything fits: back to the origin, both bars disabled.
    SetWindowPos(boardWindow, nullptr, 0, 0, contentWidth + 100, contentHeight + 100,
                 SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(GetScrollPos(boardWindow, SB_VERT) + GetScrollPos(boardWindow, SB_HORZ), 0);
    EXPECT_EQ(placeOf(field(1)), top);
}

// Restored answers are judged as the board is built; a resize lays out the panes.
TEST_F(Player, RestoredAnswersAndThePanesLaidOut) {
    writeFileContent(kProgressFile, "test\r\nTSET\r\nnope\r\n\r\n  test \r\ntest\r\n");
    start();
    const char* verdicts[] = {"BRAVO", "Anagramme", "FAUX", "?", "BRAVO", "BRAVO", "?"};
    for (int f = 1; f <= 7; ++f)
        EXPECT_EQ(verdict(f), verdicts[f - 1]) << f;
    // The board opens at its top although the focus went down to the last field.
    EXPECT_EQ(position(), 0);
    for (auto [id, text] : {std::pair{kLinkId, kMakerWebAddress},
                            {kCreatorId, "Createur plimo"},
                            {kTitleId, "Nom du plimo"},
                            {kExplanationId, "Explications du plimo"},
                            {kScoreFieldId, " 1 / 7"}})
        EXPECT_EQ(textOfControl(headerPaneWindow, id), text) << id;
    // A client area of 900 x 600, then minimising, which moves nothing. The header pane's border
    // leaves it 887 pixels inside.
    SendMessageA(mainWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(900, 600));
    SendMessageA(mainWindow, WM_SIZE, SIZE_MINIMIZED, 0);
    const std::pair<HWND, std::vector<int>> places[] = {
        {boardWindow, {5, 50, 889, 532}},
        {headerPaneWindow, {5, 2, 889, 49}},
        {GetDlgItem(mainWindow, kStatusLineId), {755, 584, 140, 15}},
        {GetDlgItem(headerPaneWindow, kLinkId), {753, 0, 115, 18}},
        {GetDlgItem(headerPaneWindow, kByLabelId), {753, 25, 26, 18}},
        {GetDlgItem(headerPaneWindow, kCreatorId), {780, 25, 105, 18}},
        {GetDlgItem(headerPaneWindow, kSaveButtonId), {683, 25, 55, 18}},
        {GetDlgItem(headerPaneWindow, kExplanationId), {110, 19, 563, 28}},
        {GetDlgItem(headerPaneWindow, kRightRuleId), {742, 0, 1, 50}},
    };
    for (const auto& [control, place] : places)
        EXPECT_EQ(placeOf(control), place) << GetDlgCtrlID(control);
}

TEST_F(Player, SaveNeverReplacesAFileItCouldNotHaveWritten) {
    start();
    SetDlgItemTextA(boardWindow, answerFieldId(1), "nouveau");
    // A file of the name that a temporary file of the save could have is someone else's.
    const std::string theirs = std::string(kProgressFile) + ".new";
    writeFileContent(theirs, "someone else's");
    const std::string fourteen = lines({{1, "ancien"}, {14, "ligne 14"}});
    struct Case {
        const char* name;
        std::string content;
        bool held, replaced;
    } cases[] = {
        {"as many lines as answer fields", fourteen, false, true},
        {"a file that another program holds", "ancien\r\n", true, false},
        {"more lines than answer fields", fourteen + "ligne 15\r\n", false, false},
        {"a large file", std::string(100000, 'x'), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFileContent(kProgressFile, c.content);
        // Open without delete sharing, the file cannot be replaced.
        const UniqueFile held(c.held ? CreateFileA(kProgressFile, GENERIC_READ, FILE_SHARE_READ,
                                                   nullptr, OPEN_EXISTING, 0, nullptr)
                                     : INVALID_HANDLE_VALUE);
        ASSERT_EQ(bool(held), c.held);
        MessageBoxCapture capture;
        EXPECT_EQ(saveProgress(boardWindow), c.replaced);
        EXPECT_EQ(readFileContent(kProgressFile), c.replaced ? lines({{1, "nouveau"}}) : c.content);
        EXPECT_EQ(filesIn("."), std::set<std::string>({kProgressFile, theirs}));
        EXPECT_EQ(readFileContent(theirs), "someone else's");
        ASSERT_EQ(capture.boxes().size(), c.replaced ? 0u : 1u);
        for (const CapturedBox& box : capture.boxes())
            EXPECT_TRUE(box.caption == "Plimo" &&
                        box.text.find(kProgressFile) != std::string::npos);
    }
}

TEST_F(Player, StartsAndShutDownsLeaveNoObjectBehind) {
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        start();
        std::vector<HGDIOBJ> owned = {
            appBackgroundBrush.get(),      quizRecord->backgroundBrush, quizRecord->wrongBrush,
            quizRecord->rightBrush,        quizRecord->anagramBrush,    quizRecord->nearBrush,
            quizRecord->questionTextBrush, quizRecord->answerFont,      quizRecord->scoreFont,
            quizRecord->titleFont,
        };
        HDC dc = CreateCompatibleDC(nullptr);
        owned.push_back(HGDIOBJ(SendMessageA(headerPaneWindow, WM_CTLCOLORDLG, WPARAM(dc), 0)));
        DeleteDC(dc);
        owned.push_back(HGDIOBJ(SendDlgItemMessageA(headerPaneWindow, kLinkId, WM_GETFONT, 0, 0)));
        for (int question = 1; question <= 6; ++question)
            owned.push_back(HGDIOBJ(SendDlgItemMessageA(boardWindow, pictureFieldId(question),
                                                        STM_GETIMAGE, IMAGE_BITMAP, 0)));
        for (HGDIOBJ object : owned)
            ASSERT_NE(GetObjectType(object), 0u);
        HWND windows[] = {mainWindow, headerPaneWindow, boardWindow};
        shutdownPlayer(GetModuleHandleA(nullptr), mainWindow);
        for (size_t i = 0; i < owned.size(); ++i)
            EXPECT_EQ(GetObjectType(owned[i]), 0u) << "object " << i << " left behind";
        EXPECT_FALSE(IsWindow(windows[0]) || IsWindow(windows[1]) || IsWindow(windows[2]));
    }
}

// Tests that move the keyboard focus and read where it went run one at a time: two test
// processes on one display take the activation from each other.
class FocusedFields : public Player {};

TEST_F(FocusedFields, LeavingJudgesEnteringSelectsF1FillsAndClosingShowsNoRewardBox) {
    start();
    quizRecord->rewardKind = kRewardNone; // a box would take the focus
    SetFocus(field(2));
    SetWindowTextA(field(2), "test");
    SetFocus(field(1));
    EXPECT_EQ(verdict(2), "BRAVO") << "judged on leaving";
    SetFocus(field(2));
    EXPECT_EQ(SendMessageA(field(2), EM_GETSEL, 0, 0), MAKELRESULT(0, 4)) << "all selected";

    // Question 1 expects "alpha" now: the filled text is wrong there.
    copyQuizText(questionAt(*quizRecord, 0)->answer1, "alpha");
    SetWindowTextA(field(5), "ROME");
    SetFocus(field(4));
    for (char letter : std::string("test"))
        SendMessageA(field(4), WM_CHAR, letter, 0);
    keyUp(field(4), VK_F1);
    pumpMessages();
    EXPECT_TRUE(SendMessageA(field(4), EM_CANUNDO, 0, 0)) << "its typed text is not written over";
    EXPECT_EQ(GetFocus(), field(4));
    for (int f = 1; f <= 14; ++f)
        EXPECT_EQ(answer(f) + "|" + verdict(f), f == 1 ? "test|FAUX" : "test|BRAVO") << f;
    EXPECT_EQ(textOfControl(headerPaneWindow, kScoreFieldId), " 6 / 7");

    quizRecord->rewardKind = kRewardMessage;
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    // Ending the board moves the focus out of field 4, which judges it once more.
    shutdownPlayer(GetModuleHandleA(nullptr), mainWindow);
    EXPECT_TRUE(rewardBoxes.boxes().empty());
    EXPECT_EQ(readFileContent(kProgressFile).substr(0, 12), "test\r\ntest\r\n");
}

// The first visible window of `processId` with that class, or null.
HWND windowOf(DWORD processId, const char* windowClass) {
    for (HWND window = FindWindowExA(nullptr, nullptr, windowClass, nullptr); window;
         window = FindWindowExA(nullptr, window, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

// The same, waiting up to 15 seconds for it.
HWND waitForWindow(DWORD processId, const char* windowClass) {
    for (int attempt = 0; attempt < 150; ++attempt, Sleep(100))
        if (HWND window = windowOf(processId, windowClass))
            return window;
    return nullptr;
}

// Closes the player's main window and waits for the process to end, closing with OK every
// message box it shows meanwhile. Returns the texts of the boxes and the exit status.
std::pair<std::vector<std::string>, int> closePlayer(HANDLE player, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    std::vector<std::string> texts;
    std::set<HWND> answered;
    while (WaitForSingleObject(player, 100) == WAIT_TIMEOUT) {
        HWND box = windowOf(GetProcessId(player), "#32770");
        if (box && answered.insert(box).second) {
            texts.push_back(textOfControl(box, 0xFFFF));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    DWORD status = 0;
    GetExitCodeProcess(player, &status);
    CloseHandle(player);
    return {texts, int(status)};
}

TEST(BuiltPlayer, AQuizThatCannotBeReadNeverSavesOverTheAnswers) {
    TemporaryFolder folder{true};
    const std::string quiz = folder.file("quiz.exe");
    ASSERT_TRUE(CopyFileA((executableFolder() + "plimo.exe").c_str(), quiz.c_str(), FALSE));
    // A quiz text that stops before its end code.
    HANDLE update = BeginUpdateResourceA(quiz.c_str(), FALSE);
    char damaged[] = {0x30, char(0xC0)};
    ASSERT_TRUE(UpdateResourceA(update, kQuizResourceType, MAKEINTRESOURCEA(IDR_QUIZ_TEXT),
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), damaged, 2));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
    const std::string answers = "Paris\r\nRome\r\nBerlin\r\nMadrid\r\n";
    writeFileContent(folder.file("quiz.txt"), answers);

    // Started in the folder, where it looks for its answers.
    const auto player =
        HANDLE(_spawnl(_P_NOWAIT, quiz.c_str(), ("\"" + quiz + "\"").c_str(), nullptr));
    ASSERT_NE(player, INVALID_HANDLE_VALUE);
    HWND box = waitForWindow(GetProcessId(player), "#32770");
    ASSERT_NE(box, nullptr) << "the loader told nothing";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND window = waitForWindow(GetProcessId(player), kMainWindowClass);
    ASSERT_NE(window, nullptr);
    WaitForInputIdle(player, 10000);
    RECT frame, desktop;
    GetWindowRect(window, &frame);
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(std::pair(frame.right - frame.left, frame.bottom - frame.top), std::pair(544L, 375L));
    // Centred on the desktop.
    EXPECT_NEAR(frame.left + frame.right, desktop.left + desktop.right, 1);
    EXPECT_NEAR(frame.top + frame.bottom, desktop.top + desktop.bottom, 1);
    EXPECT_EQ(textOfControl(window, kStatusLineId), "R\xE9"
                                                    "alis\xE9 avec la version 2.1.3  ");
    // Closing saves the answers of a quiz that could be read; this one may not.
    EXPECT_EQ(closePlayer(player, window), std::pair(std::vector<std::string>(), 0));
    EXPECT_EQ(filesIn(folder.path()), std::set<std::string>({"quiz.exe", "quiz.txt"}));
    EXPECT_EQ(readFileContent(folder.file("quiz.txt")), answers);
}

// A quiz renamed with letters outside the ANSI code page restores and saves its answers in the
// file of its own name.
TEST(BuiltPlayer, ANameOutsideTheCodePageKeepsItsAnswers) {
    TemporaryFolder folder{true};
    const std::filesystem::path quiz = std::filesystem::path(folder.path()) / L"\u6E2C\u9A57.exe";
    const std::filesystem::path answers = std::filesystem::path(quiz).replace_extension(L".txt");
    ASSERT_TRUE(CopyFileW(std::filesystem::path(executableFolder() + "plimo.exe").c_str(),
                          quiz.c_str(), FALSE));
    writeFileContent(answers, lines({{1, "Paris"}}));
    const auto player = HANDLE(
        _wspawnl(_P_NOWAIT, quiz.c_str(), (L"\"" + quiz.wstring() + L"\"").c_str(), nullptr));
    ASSERT_NE(player, INVALID_HANDLE_VALUE);
    HWND window = waitForWindow(GetProcessId(player), kMainWindowClass);
    ASSERT_NE(window, nullptr);
    WaitForInputIdle(player, 10000);
    // The board is the main window's dialog that holds the answer fields.
    HWND board = FindWindowExA(window, nullptr, "#32770", nullptr);
    while (board && !GetDlgItem(board, answerFieldId(1)))
        board = FindWindowExA(window, board, "#32770", nullptr);
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(textOfControl(board, answerFieldId(1)), "Paris");
    SetDlgItemTextA(board, answerFieldId(2), "Rome");
    EXPECT_EQ(closePlayer(player, window), std::pair(std::vector<std::string>(), 0));
    EXPECT_EQ(readFileContent(answers), lines({{1, "Paris"}, {2, "Rome"}}));
}

} // namespace
