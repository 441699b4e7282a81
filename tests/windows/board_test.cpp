// The judge, the score, the rewards, the layout and the colours on the real board and header
// pane, built by their own dialog procedures for quizzes made here.
#include "board/board_dialog.h"
#include "board/board_layout.h"
#include "board/progress_file.h"
#include "judge/answer_judge.h"
#include "resources/resource_ids.h"
#include "shell/header_pane.h"
#include "tests/windows/support.h"
#include "win/player_state.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace {

struct Question {
    const char *answer1, *answer2 = "", *rewardText = "";
};

std::unique_ptr<QuizRecord> makeQuiz(int mediaKind, int fields, int reward,
                                     const std::vector<Question>& questions) {
    auto record = std::make_unique<QuizRecord>();
    std::tie(record->mediaKind, record->answerFieldCount, record->rewardKind) =
        std::tie(mediaKind, fields, reward);
    record->questionCount = int(questions.size());
    for (const Question& question : questions) {
        addQuestion(*record, question.answer1, question.answer2, "Question");
        copyQuizText(record->questions.lastQuestion->rewardText, question.rewardText);
    }
    for (int level = 0; level < 3; ++level)
        copyQuizText(record->codes[level], ("CODE" + std::to_string(level + 1)).c_str());
    return record;
}

// The header pane and the board of `record` in a window of their own, in an empty current folder.
class RealBoard {
  public:
    explicit RealBoard(QuizRecord& quiz) : record(quiz) {
        quizRecord = &quiz;
        silenceRewardMessages(false);
        parent = createTestWindow(1000, 700);
        header =
            CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_HEADER), parent, headerPaneProc, 0);
        quiz.headerPane = header;
        dialog =
            CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_BOARD), parent, boardDialogProc, 0);
        EXPECT_NE(dialog, nullptr);
    }
    ~RealBoard() {
        DestroyWindow(parent);
        quizRecord = nullptr;
    }

    void answer(int field, const char* text) {
        SetDlgItemTextA(dialog, answerFieldId(field), text);
        judgeAnswer(record, dialog, answerFieldId(field));
    }
    std::string score() const { return textOfControl(header, kScoreFieldId); }
    bool rewardShown(int q) const {
        return GetWindowLongA(GetDlgItem(dialog, rewardFieldId(q)), GWL_STYLE) & WS_VISIBLE;
    }
    HBITMAP picture(int q) const {
        return HBITMAP(
            SendDlgItemMessageA(dialog, pictureFieldId(q), STM_GETIMAGE, IMAGE_BITMAP, 0));
    }

    TemporaryFolder folder{true};
    QuizRecord& record;
    HWND parent = nullptr, header = nullptr, dialog = nullptr;
};

TEST(Board, ControlsStandWhereTheyBelong) {
    struct Kind {
        int mediaKind, fields, reward, questions, contentWidth, contentHeight, savedBytes;
    } kinds[] = {
        {kMediaTextList, 2, kRewardNone, 5, 910, 130, 24},
        {kMediaPictures, 1, kRewardText, 7, 910, 975, 18},
        {kMediaVideo, 2, kRewardFinal, 4, 970, 705, 20},
    };
    // Shared identifiers (153, 156) give the first control made with them. Width -1: absent.
    // Questions 1 to 7 show the pictures of test_pictures.rc, 7 one that cannot be read.
    struct Place {
        int kind, id, x, y, width, height;
    } places[] = {
        {0, 153, 26, 7, 19, 17},     {0, 3000, 50, 5, 550, 20},    {0, 5005, 720, 105, 100, 20},
        {0, 4006, 0, 0, -1, 0},      {1, 9901, 46, 37, 260, 195},  {1, 9902, 401, 5, 130, 260},
        {1, 9904, 46, 532, 260, 26}, {1, 9907, 46, 825, 260, 0},   {1, 4007, 46, 835, 260, 20},
        {1, 8001, 46, 321, 260, 65}, {1, 4008, 0, 0, -1, 0},       {2, 156, 3, 217, 95, 20},
        {2, 6001, 106, 215, 20, 20}, {2, 8001, 106, 261, 260, 65},
    };
    auto record = makeQuiz(kMediaTextList, 1, kRewardNone, std::vector<Question>(7, {"A"}));
    allowProgressSaving(true);
    HFONT previousFont = nullptr;
    for (int k = 0; k < int(std::size(kinds)); ++k) {
        const Kind& kind = kinds[k];
        SCOPED_TRACE("kind " + std::to_string(k));
        std::tie(record->mediaKind, record->answerFieldCount, record->rewardKind,
                 record->questionCount) =
            std::tie(kind.mediaKind, kind.fields, kind.reward, kind.questions);
        RealBoard board(*record);
        for (const Place& p : places) {
            const auto place =
                p.width < 0 ? std::vector<int>() : std::vector{p.x, p.y, p.width, p.height};
            EXPECT_TRUE(p.kind != k || placeOf(GetDlgItem(board.dialog, p.id)) == place) << p.id;
        }
        EXPECT_EQ(std::pair(contentWidth, contentHeight),
                  std::pair(kind.contentWidth, kind.contentHeight));
        // The header as created, before a resize moves its right-hand group.
        for (auto [id, place] : {std::pair{kLinkId, std::vector{736, 5, 115, 18}},
                                 {kByLabelId, {736, 25, 27, 18}},
                                 {kCreatorId, {763, 25, 85, 18}},
                                 {kSaveButtonId, {666, 25, 55, 18}},
                                 {kExplanationId, {110, 19, 490, 27}},
                                 {kRightRuleId, {730, 0, 1, 50}}})
            EXPECT_EQ(placeOf(GetDlgItem(board.header, id)), place) << id;
        // One answer font per record: building the board again deletes the one before.
        auto font = HFONT(SendDlgItemMessageA(board.dialog, answerFieldId(1), WM_GETFONT, 0, 0));
        LOGFONTA description{};
        GetObjectA(font, sizeof description, &description);
        EXPECT_EQ(description.lfHeight * 1000 + description.lfWeight, 15100);
        EXPECT_TRUE(!previousFont || GetObjectType(previousFont) == 0);
        previousFont = font;
        // A save writes a line for every announced field of every question, also where a text
        // list shows fewer: 10, 7 and 8 line ends, and the word.
        SetDlgItemTextA(board.dialog, answerFieldId(2), "deux");
        ASSERT_TRUE(saveProgress(board.dialog));
        const std::string saved = readFileContent("plimo_windows_tests.txt");
        EXPECT_EQ(std::pair(saved.substr(0, 8), int(saved.size())),
                  std::pair(std::string("\r\ndeux\r\n"), kind.savedBytes));
    }
}

// A text list shows one field per question even when the quiz announces two, and has no
// reward field: the message comes all the same, once per right answer. Labels and verdicts are
// coloured as the quiz and the verdict say.
TEST(Judge, VerdictsScoreCodesMessagesAndColoursFollowEveryAnswer) {
    auto record =
        makeQuiz(kMediaTextList, 2, kRewardMessage,
                 {{"PARIS", "", "Paris !"}, {"ROME", "", "Rome !"}, {"NOTRE DAME DE PARIS"}});
    RealBoard board(*record);
    MessageBoxCapture capture;
    struct Step {
        int field;
        const char *typed, *verdict, *score, *code;
    } steps[] = {
        {1, "", "?", " 0 / 3", "      "},
        {1, "  paris ", "BRAVO", " 1 / 3", "CODE1"},
        {2, "rome", "BRAVO", " 2 / 3", "CODE2"},
        {3, "NOTRE DAME DE PARIS", "BRAVO", " 3 / 3", "CODE3"},
        {1, "PARS", "Quasiment", " 2 / 3", "CODE2"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::to_string(step.field) + " '" + step.typed + "'");
        board.answer(step.field, step.typed);
        EXPECT_EQ(textOfControl(board.dialog, verdictFieldId(step.field)) + board.score() +
                      textOfControl(board.header, kCodeFieldId),
                  std::string(step.verdict) + step.score + step.code);
    }
    SetDlgItemTextA(board.dialog, verdictFieldId(1), "Bravo");
    board.answer(2, "rome");
    EXPECT_EQ(board.score(), " 2 / 3") << "only the exact word counts";
    std::string texts;
    for (const CapturedBox& box : capture.boxes())
        texts += box.text + "|";
    EXPECT_EQ(texts, "Paris !|Rome !||Rome !|");
    const CapturedBox& box = capture.boxes().at(0);
    EXPECT_TRUE(box.caption == "texte" && box.buttonCount == 1 && !box.hasOwner);

    HDC dc = CreateCompatibleDC(nullptr);
    auto colourOf = [&](UINT message, int id) {
        LOGBRUSH brush{};
        GetObjectA(HBRUSH(SendMessageA(board.dialog, message, WPARAM(dc),
                                       LPARAM(GetDlgItem(board.dialog, id)))),
                   sizeof brush, &brush);
        return brush.lbColor;
    };
    // Labels are written in white on a dark quiz colour, in black from 60 red or green up.
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    for (auto [red, green, text] : {std::tuple{59, 59, white}, {60, 59, black}, {59, 60, black}}) {
        HBRUSH before = record->backgroundBrush;
        applyQuizColour(*record, uint8_t(red), uint8_t(green), 255);
        EXPECT_EQ(GetObjectType(before), 0u) << "the replaced brush is deleted";
        EXPECT_EQ(colourOf(WM_CTLCOLORSTATIC, IDC_QUESTION_NUMBER), RGB(red, green, 255));
        EXPECT_EQ(std::pair(GetTextColor(dc), GetBkMode(dc)), std::pair(text, TRANSPARENT));
    }
    EXPECT_EQ(colourOf(WM_CTLCOLORDLG, 0), RGB(59, 60, 255));
    EXPECT_EQ(colourOf(WM_CTLCOLORSTATIC, IDC_QUESTION_TEXT), RGB(255, 255, 192));
    for (auto [word, brush] : {std::pair{"BRAVO", RGB(0, 255, 0)},
                               {"FAUX", RGB(255, 0, 0)},
                               {"Anagramme", RGB(255, 100, 0)},
                               {"Trop court", RGB(255, 203, 38)}}) {
        SetDlgItemTextA(board.dialog, verdictFieldId(3), word);
        EXPECT_EQ(colourOf(WM_CTLCOLORSTATIC, verdictFieldId(3)), brush) << word;
    }
    SetDlgItemTextA(board.dialog, verdictFieldId(3), "?"); // nothing judged: the dialog's own
    EXPECT_NE(colourOf(WM_CTLCOLORSTATIC, verdictFieldId(3)), RGB(255, 203, 38));
    DeleteDC(dc);
}

// One picture board with two fields, its reward kind changed between the steps.
TEST(Judge, RewardsNeedTheWholeQuestionOrTheWholeQuiz) {
    auto record = makeQuiz(kMediaPictures, 2, kRewardText,
                           {{"PARIS", "FRANCE"}, {"ROME", "ITALIE"}, {"BERLIN", "ALLEMAGNE"}});
    RealBoard board(*record);
    board.answer(3, "ROME");
    EXPECT_FALSE(board.rewardShown(2)) << "hidden until the whole question is right";
    board.answer(4, "italie");
    EXPECT_TRUE(board.rewardShown(2) && !board.rewardShown(1));
    board.answer(3, "ROMA"); // either field going wrong hides it again
    EXPECT_FALSE(board.rewardShown(2));

    record->rewardKind = kRewardFinal;
    for (auto [field, typed] : {std::pair{1, "PARIS"}, {2, "FRANCE"}, {3, "ROME"}, {5, "BERLIN"}})
        board.answer(field, typed);
    EXPECT_FALSE(board.rewardShown(1)) << "one answer still missing";
    board.answer(6, "ALLEMAGNE");
    EXPECT_TRUE(board.rewardShown(1) && board.rewardShown(3) && record->finalRewardShown);
    board.answer(1, "X"); // hides its question's reward and re-arms the final one
    EXPECT_TRUE(!board.rewardShown(1) && board.rewardShown(2) && !record->finalRewardShown);

    record->rewardKind = kRewardPicture;
    HBITMAP original = board.picture(1), third = board.picture(3);
    ASSERT_NE(original, nullptr);
    board.answer(1, "PARIS");
    HBITMAP reward = board.picture(1);
    EXPECT_EQ(GetObjectType(original), 0u) << "the replaced picture is deleted";
    BITMAP size{};
    GetObjectA(reward, sizeof size, &size);
    // 10401 is the 100 x 100 picture, enlarged into the box.
    EXPECT_EQ(std::pair(size.bmWidth, size.bmHeight), std::pair(260L, 260L));
    board.answer(5, "BERLIN"); // no reward picture: its own stays
    EXPECT_TRUE(board.picture(3) == third && GetObjectType(third));
}

} // namespace
