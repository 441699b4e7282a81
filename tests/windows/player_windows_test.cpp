// The player's own windows built in this process, as start-up builds them: the test
// executable carries no quiz, so it shows the built-in quiz (a picture grid of 7 questions
// with two answer fields), whose pictures IMG 401..407 come from test_pictures.rc.
#include "board/board_dialog.h"
#include "board/board_layout.h"
#include "board/progress_file.h"
#include "judge/score.h"
#include "resources/resource_ids.h"
#include "shell/header_pane.h"
#include "shell/main_window.h"
#include "shell/pictures.h"
#include "tests/windows/board_harness.h"
#include "tests/windows/message_box_capture.h"
#include "tests/windows/test_files.h"

#include <gtest/gtest.h>

namespace {

RECT rectInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The size of question n's picture in the box, measured as the board measures it.
PictureSize testPictureSize(int question) {
    HBITMAP bitmap = loadPictureResource(nullptr, 400 + question, "IMG", 260, 260);
    BITMAP size{};
    if (bitmap)
        GetObjectA(bitmap, sizeof size, &size);
    DeleteObject(bitmap);
    return PictureSize{size.bmWidth, size.bmHeight};
}

// Runs each test in a folder of its own: the progress file lies in the current folder.
class PlayerWindows : public testing::Test {
  protected:
    void SetUp() override {
        GetCurrentDirectoryA(MAX_PATH, previousFolder);
        SetCurrentDirectoryA(folder.path().c_str());
    }
    void TearDown() override {
        if (mainWindow || quizRecord)
            shutDownPlayer(GetModuleHandleA(nullptr), mainWindow);
        SetCurrentDirectoryA(previousFolder);
    }

    void start() {
        mainWindow = startPlayer(GetModuleHandleA(nullptr));
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_NE(boardWindow, nullptr);
        ASSERT_NE(headerPaneWindow, nullptr);
        pumpMessages();
    }

    std::string progressPath() const { return folder.file(progressFileName()); }

    TemporaryFolder folder;
    char previousFolder[MAX_PATH] = "";
    HWND mainWindow = nullptr;
};

TEST_F(PlayerWindows, ProgressFileIsNamedAfterTheExecutable) {
    EXPECT_EQ(progressFileName(), "plimo_windows_tests.txt");
}

TEST_F(PlayerWindows, BoardControlsStandWhereTheLayoutPutsThem) {
    start();
    const BoardPlan plan = planBoard(*quizRecord, testPictureSize);
    ASSERT_FALSE(plan.controls.empty());
    int checked = 0;
    for (const PlacedControl& placed : plan.controls) {
        if (placed.id == IDC_QUESTION_NUMBER || placed.id == IDC_ANSWER_CAPTION)
            continue; // shared identifiers: GetDlgItem finds only the first
        HWND control = GetDlgItem(boardWindow, placed.id);
        ASSERT_NE(control, nullptr) << placed.id;
        RECT rect = rectInParent(control);
        EXPECT_EQ(rect.left, placed.x) << placed.id;
        EXPECT_EQ(rect.top, placed.y) << placed.id;
        EXPECT_EQ(rect.right - rect.left, placed.width) << placed.id;
        EXPECT_EQ(rect.bottom - rect.top, placed.height) << placed.id;
        ++checked;
    }
    EXPECT_GT(checked, 7 * 4);
    EXPECT_EQ(contentWidth, plan.contentWidth);
    EXPECT_EQ(contentHeight, plan.contentHeight);
}

TEST_F(PlayerWindows, BoardControlsHaveTheirClassesStylesAndTexts) {
    start();
    struct Case {
        int id;
        const char* className;
        DWORD style;
        const char* text;
    } cases[] = {
        // An edit control takes WS_BORDER off its style and draws the border itself.
        {4003, "Edit", WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL, ""},
        {9901, "Static", SS_BITMAP | SS_CENTERIMAGE, ""},
        {IDC_ANSWER_CAPTION, "Static", SS_LEFT, "TEST"},
        {IDC_QUESTION_NUMBER, "Static", SS_RIGHT, "1."},
    };
    for (const Case& c : cases) {
        HWND control = GetDlgItem(boardWindow, c.id);
        ASSERT_NE(control, nullptr) << c.id;
        char name[32];
        GetClassNameA(control, name, sizeof name);
        EXPECT_STRCASEEQ(name, c.className) << c.id;
        DWORD style = GetWindowLongA(control, GWL_STYLE);
        EXPECT_EQ(style & c.style, c.style) << c.id;
        EXPECT_TRUE(style & WS_CHILD) << c.id;
        EXPECT_EQ(textOfControl(boardWindow, c.id), c.text) << c.id;
    }
    // Pictures decoded into their fields; the clip that is no picture leaves its field empty.
    EXPECT_NE(SendDlgItemMessageA(boardWindow, 9902, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(SendDlgItemMessageA(boardWindow, 9907, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    // The answer fields take the answer font.
    EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(boardWindow, 4001, WM_GETFONT, 0, 0)),
              quizRecord->answerFont);
}

TEST_F(PlayerWindows, RestoredAnswersAreJudgedAsTheBoardIsBuilt) {
    writeFileText(progressPath(), "test\r\nTSET\r\nnope\r\n\r\n  test \r\n");
    start();
    EXPECT_EQ(textOfControl(boardWindow, 4001), "test");
    EXPECT_EQ(textOfControl(boardWindow, 5001), "BRAVO");
    EXPECT_EQ(textOfControl(boardWindow, 5002), "Anagramme");
    EXPECT_EQ(textOfControl(boardWindow, 5003), "FAUX");
    EXPECT_EQ(textOfControl(boardWindow, 5005), "BRAVO");
    EXPECT_EQ(textOfControl(headerPaneWindow, kScoreFieldId), " 0 / 7");
    // The board opens at its top although the focus went down to the last field.
    EXPECT_EQ(GetScrollPos(boardWindow, SB_VERT), 0);
}

TEST_F(PlayerWindows, ClosingSavesEveryFieldAndSaveTwiceIsIdentical) {
    start();
    SetDlgItemTextA(boardWindow, 4001, "premier");
    SetDlgItemTextA(boardWindow, 4014, "dernier");
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    const std::string expected = "premier\r\n" + std::string(12 * 2, '\0') + "dernier\r\n";
    std::string saved = readFileText(progressPath());
    std::string lines;
    for (int field = 1; field <= 14; ++field)
        lines += (field == 1 ? "premier" : field == 14 ? "dernier" : "") + std::string("\r\n");
    EXPECT_EQ(saved, lines);
    ASSERT_TRUE(saveProgress(boardWindow));
    EXPECT_EQ(readFileText(progressPath()), saved);
    (void)expected;
}

TEST_F(PlayerWindows, FailedSaveKeepsTheOldFileAndTellsThePlayer) {
    start();
    writeFileText(progressPath(), "ancien\r\n");
    // A folder in the way of the new file makes the save fail before the old file is touched.
    ASSERT_TRUE(CreateDirectoryA(folder.file(progressFileName() + ".new").c_str(), nullptr));
    SetDlgItemTextA(boardWindow, 4001, "nouveau");
    MessageBoxCapture capture;
    EXPECT_FALSE(saveProgress(boardWindow));
    RemoveDirectoryA(folder.file(progressFileName() + ".new").c_str());
    EXPECT_EQ(readFileText(progressPath()), "ancien\r\n");
    ASSERT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(capture.boxes()[0].caption, "Plimo");
    EXPECT_NE(capture.boxes()[0].text.find("plimo_windows_tests.txt"), std::string::npos);
}

TEST_F(PlayerWindows, SaveLeavesAFileItCannotHaveWrittenAlone) {
    start();
    SetDlgItemTextA(boardWindow, 4001, "nouveau");
    const std::string fourteenLines = [] {
        std::string lines;
        for (int line = 1; line <= 14; ++line)
            lines += "ligne " + std::to_string(line) + "\r\n";
        return lines;
    }();
    struct Case {
        const char* name;
        std::string content;
        bool replaced;
    } cases[] = {
        {"as many lines as answer fields", fourteenLines, true},
        {"a line longer than a field holds", std::string(260, 'n') + "\r\n", false},
        {"a zero byte", std::string("mes notes\0", 10), false},
        {"more lines than answer fields", fourteenLines + "ligne 15\r\n", false},
        {"a large file", std::string(100000, 'x'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFileText(progressPath(), c.content);
        MessageBoxCapture capture;
        EXPECT_EQ(saveProgress(boardWindow), c.replaced);
        const std::string after = readFileText(progressPath());
        if (c.replaced) {
            EXPECT_EQ(after.substr(0, 9), "nouveau\r\n");
            EXPECT_TRUE(capture.boxes().empty());
            continue;
        }
        EXPECT_EQ(after, c.content);
        ASSERT_EQ(capture.boxes().size(), 1u);
        EXPECT_EQ(capture.boxes()[0].caption, "Plimo");
        EXPECT_NE(capture.boxes()[0].text.find("plimo_windows_tests.txt"), std::string::npos);
    }
}

TEST_F(PlayerWindows, SaveButtonSavesLikeF2) {
    start();
    SetDlgItemTextA(boardWindow, 4002, "sauve");
    SendMessageA(headerPaneWindow, WM_COMMAND, kSaveButtonId, 0);
    EXPECT_EQ(readFileText(progressPath()).substr(0, 9), "\r\nsauve\r\n");
}

TEST_F(PlayerWindows, HeaderControls) {
    start();
    struct Case {
        int id;
        const char* className;
        const char* text;
    } cases[] = {
        {kLinkId, "Static", kMakerWebAddress},
        {kByLabelId, "Static", "Par :"},
        {kCreatorId, "Static", "Createur plimo"},
        {kSaveButtonId, "Button", "Sauver"},
        {kExplanationId, "Static", "Explications du plimo"},
        {kTitleId, "Static", "Nom du plimo"},
        {kCodeLabelId, "Static", " Code :"},
        {kCodeFieldId, "Edit", "      "},
        {kScoreFieldId, "Static", " 0 / 7"},
        {kScoreRuleId, "Static", ""},
    };
    for (const Case& c : cases) {
        HWND control = GetDlgItem(headerPaneWindow, c.id);
        ASSERT_NE(control, nullptr) << c.id;
        char name[32];
        GetClassNameA(control, name, sizeof name);
        EXPECT_STRCASEEQ(name, c.className) << c.id;
        EXPECT_EQ(textOfControl(headerPaneWindow, c.id), c.text) << c.id;
    }
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(headerPaneWindow, kCodeFieldId), GWL_STYLE) &
                ES_READONLY);
    // The link's font: three quarters of its 18-pixel height, underlined.
    auto linkFont =
        reinterpret_cast<HFONT>(SendDlgItemMessageA(headerPaneWindow, kLinkId, WM_GETFONT, 0, 0));
    LOGFONTA font{};
    ASSERT_TRUE(GetObjectA(linkFont, sizeof font, &font));
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_TRUE(font.lfUnderline);
}

TEST_F(PlayerWindows, ResizingLaysOutBothPanesAndTheRightHandGroup) {
    start();
    SetWindowPos(mainWindow, nullptr, 0, 0, 900, 600, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(mainWindow, &client);
    const int W = client.right, H = client.bottom;
    RECT header = rectInParent(headerPaneWindow);
    RECT board = rectInParent(boardWindow);
    EXPECT_EQ(header.left, 5);
    EXPECT_EQ(header.top, 2);
    EXPECT_EQ(header.right - header.left, W - 11);
    EXPECT_EQ(header.bottom - header.top, 49);
    EXPECT_EQ(board.top, 50);
    EXPECT_EQ(board.right - board.left, W - 11);
    EXPECT_EQ(board.bottom - board.top, H - 68);
    RECT status = rectInParent(GetDlgItem(mainWindow, kStatusLineId));
    EXPECT_EQ(status.left, W - 145);
    EXPECT_EQ(status.top, H - 16);

    RECT pane;
    GetClientRect(headerPaneWindow, &pane);
    const int paneWidth = pane.right;
    EXPECT_EQ(rectInParent(GetDlgItem(headerPaneWindow, kLinkId)).left, paneWidth - 134);
    EXPECT_EQ(rectInParent(GetDlgItem(headerPaneWindow, kCreatorId)).left, paneWidth - 107);
    EXPECT_EQ(rectInParent(GetDlgItem(headerPaneWindow, kSaveButtonId)).left, paneWidth - 204);
    EXPECT_EQ(rectInParent(GetDlgItem(headerPaneWindow, kRightRuleId)).left, paneWidth - 145);
    RECT explanation = rectInParent(GetDlgItem(headerPaneWindow, kExplanationId));
    EXPECT_EQ(explanation.right - explanation.left, paneWidth - 324);
    EXPECT_EQ(rectInParent(GetDlgItem(headerPaneWindow, kTitleId)).left, 110);

    // Minimising moves nothing.
    ShowWindow(mainWindow, SW_MINIMIZE);
    pumpMessages();
    RECT after = rectInParent(boardWindow);
    EXPECT_EQ(after.right - after.left, board.right - board.left);
    EXPECT_EQ(after.bottom - after.top, board.bottom - board.top);
}

TEST_F(PlayerWindows, LabelColoursFollowTheQuizColour) {
    start();
    HDC dc = CreateCompatibleDC(nullptr);
    HWND number = GetDlgItem(boardWindow, IDC_QUESTION_NUMBER);
    struct Case {
        uint8_t red, green, blue;
        COLORREF text;
    } cases[] = {{59, 59, 255, RGB(255, 255, 255)},
                 {60, 59, 0, RGB(0, 0, 0)},
                 {59, 60, 0, RGB(0, 0, 0)},
                 {0x35, 0xCB, 0xA3, RGB(0, 0, 0)}};
    for (const Case& c : cases) {
        applyQuizColour(*quizRecord, c.red, c.green, c.blue);
        auto brush = reinterpret_cast<HBRUSH>(SendMessageA(boardWindow, WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(number)));
        EXPECT_EQ(brush, quizRecord->backgroundBrush);
        EXPECT_EQ(GetTextColor(dc), c.text) << int(c.red) << "/" << int(c.green);
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    }
    DeleteDC(dc);
}

TEST_F(PlayerWindows, VerdictFieldsAreColouredByTheirWord) {
    start();
    HDC dc = CreateCompatibleDC(nullptr);
    HWND verdict = GetDlgItem(boardWindow, 5003);
    struct Case {
        const char* word;
        HBRUSH brush;
    } cases[] = {
        {"BRAVO", quizRecord->rightBrush},       {"FAUX", quizRecord->wrongBrush},
        {"Anagramme", quizRecord->anagramBrush}, {"Trop court", quizRecord->nearBrush},
        {"Quasiment", quizRecord->nearBrush},
    };
    auto colourOf = [&](const char* word) {
        SetWindowTextA(verdict, word);
        return reinterpret_cast<HBRUSH>(SendMessageA(boardWindow, WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(verdict)));
    };
    for (const Case& c : cases)
        EXPECT_EQ(colourOf(c.word), c.brush) << c.word;
    // Nothing judged yet: the dialog's default colours, none of the verdict brushes.
    HBRUSH unjudged = colourOf("?");
    for (const Case& c : cases)
        EXPECT_NE(unjudged, c.brush);
    EXPECT_EQ(SendMessageA(boardWindow, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0),
              reinterpret_cast<LRESULT>(quizRecord->backgroundBrush));
    DeleteDC(dc);
}

TEST_F(PlayerWindows, PictureBoardIgnoresMediaButtonCommands) {
    start();
    // Nothing to observe but that the board survives and answers FALSE.
    EXPECT_EQ(SendMessageA(boardWindow, WM_COMMAND, 6003, 0), 0);
}

TEST_F(PlayerWindows, TwentyStartsAndShutDownsLeaveNoObjectBehind) {
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        start();
        std::vector<HGDIOBJ> owned = {
            appBackgroundBrush.get(),      quizRecord->backgroundBrush, quizRecord->wrongBrush,
            quizRecord->rightBrush,        quizRecord->anagramBrush,    quizRecord->nearBrush,
            quizRecord->questionTextBrush, quizRecord->answerFont,      quizRecord->scoreFont,
            quizRecord->titleFont,
        };
        HDC dc = CreateCompatibleDC(nullptr);
        owned.push_back(reinterpret_cast<HGDIOBJ>(
            SendMessageA(headerPaneWindow, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0)));
        DeleteDC(dc);
        owned.push_back(reinterpret_cast<HGDIOBJ>(
            SendDlgItemMessageA(headerPaneWindow, kLinkId, WM_GETFONT, 0, 0)));
        for (int question = 1; question <= 6; ++question)
            owned.push_back(reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(
                boardWindow, pictureFieldId(question), STM_GETIMAGE, IMAGE_BITMAP, 0)));
        for (HGDIOBJ object : owned)
            ASSERT_NE(GetObjectType(object), 0u);
        HWND windows[] = {mainWindow, headerPaneWindow, boardWindow};

        shutDownPlayer(GetModuleHandleA(nullptr), mainWindow);
        mainWindow = nullptr;
        for (size_t i = 0; i < owned.size(); ++i)
            EXPECT_EQ(GetObjectType(owned[i]), 0u) << "object " << i << " left behind";
        for (HWND window : windows)
            EXPECT_FALSE(IsWindow(window));
    }
}

} // namespace

namespace {

struct BoardKind {
    const char* name;
    int mediaKind;
    int answerFieldCount;
    int rewardKind;
    int questions;
};

// Every kind of board, built by the board's own procedure from a quiz set up here.
class BoardKinds : public testing::TestWithParam<BoardKind> {
  protected:
    void SetUp() override {
        GetCurrentDirectoryA(MAX_PATH, previousFolder);
        SetCurrentDirectoryA(folder.path().c_str());
        const BoardKind& kind = GetParam();
        record = std::make_unique<QuizRecord>();
        record->mediaKind = kind.mediaKind;
        record->answerFieldCount = kind.answerFieldCount;
        record->rewardKind = kind.rewardKind;
        record->questionCount = kind.questions;
        for (int question = 0; question < kind.questions; ++question)
            addQuestion(*record, "A", "B", "Question");
        quizRecord = record.get();
        parent = createTestWindow("board", 0, 0, 1000, 700);
        board = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BOARD), parent,
                                   boardDialogProc, 0);
        ASSERT_NE(board, nullptr);
    }
    void TearDown() override {
        DestroyWindow(parent);
        quizRecord = nullptr;
        SetCurrentDirectoryA(previousFolder);
    }

    TemporaryFolder folder;
    char previousFolder[MAX_PATH] = "";
    std::unique_ptr<QuizRecord> record;
    HWND parent = nullptr;
    HWND board = nullptr;
};

TEST_P(BoardKinds, EveryControlStandsWhereTheLayoutPutsIt) {
    const BoardPlan plan = planBoard(*record, testPictureSize);
    // Controls in creation order, shared identifiers included.
    std::vector<HWND> created;
    for (HWND child = GetWindow(board, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) != IDC_PLAYER_HOST)
            created.push_back(child);
    ASSERT_EQ(created.size(), plan.controls.size());
    for (size_t i = 0; i < created.size(); ++i) {
        const PlacedControl& placed = plan.controls[i];
        SCOPED_TRACE(placed.id);
        EXPECT_EQ(GetDlgCtrlID(created[i]), placed.id);
        RECT rect = rectInParent(created[i]);
        EXPECT_EQ(rect.left, placed.x);
        EXPECT_EQ(rect.top, placed.y);
        EXPECT_EQ(rect.right - rect.left, placed.width);
        EXPECT_EQ(rect.bottom - rect.top, placed.height);
    }
    EXPECT_EQ(contentWidth, plan.contentWidth);
    EXPECT_EQ(contentHeight, plan.contentHeight);
    // Reward fields are made hidden; media boards carry the player's host window.
    for (int question = 1; question <= record->questionCount; ++question) {
        if (HWND reward = GetDlgItem(board, rewardFieldId(question))) {
            EXPECT_FALSE(GetWindowLongA(reward, GWL_STYLE) & WS_VISIBLE);
        }
    }
    const bool media = record->mediaKind == kMediaSound || record->mediaKind == kMediaVideo;
    EXPECT_EQ(GetDlgItem(board, IDC_PLAYER_HOST) != nullptr, media);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, BoardKinds,
    testing::Values(BoardKind{"TextList", kMediaTextList, 1, kRewardNone, 5},
                    BoardKind{"TextListTwoAnnounced", kMediaTextList, 2, kRewardNone, 5},
                    BoardKind{"PicturesOneField", kMediaPictures, 1, kRewardText, 7},
                    BoardKind{"PicturesTwoFields", kMediaPictures, 2, kRewardMessage, 4},
                    BoardKind{"Sound", kMediaSound, 1, kRewardNone, 4},
                    BoardKind{"VideoTwoFields", kMediaVideo, 2, kRewardFinal, 4}),
    [](const testing::TestParamInfo<BoardKind>& info) { return std::string(info.param.name); });

} // namespace

namespace {

TEST_P(BoardKinds, SavesQuestionsTimesAnnouncedFieldsLines) {
    SetDlgItemTextA(board, answerFieldId(1), "un");
    SetDlgItemTextA(board, answerFieldId(2), "deux");
    ASSERT_TRUE(saveProgress(board));
    // Files keep questionCount x answerFieldCount lines, even where a text list shows fewer
    // fields: the lines past the last field it shows are empty.
    std::string expected = "un\r\ndeux\r\n";
    for (int line = 3; line <= record->questionCount * record->answerFieldCount; ++line)
        expected += "\r\n";
    EXPECT_EQ(readFileText(folder.file(progressFileName())), expected);
}

} // namespace
