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
    const char* answer1;
    const char* answer2 = "";
    const char* rewardText = "";
};

std::unique_ptr<QuizRecord> makeQuiz(int mediaKind, int fields, int reward,
                                     const std::vector<Question>& questions) {
    auto record = std::make_unique<QuizRecord>();
    record->mediaKind = mediaKind;
    record->answerFieldCount = fields;
    record->rewardKind = reward;
    record->questionCount = int(questions.size());
    for (const Question& question : questions) {
        addQuestion(*record, question.answer1, question.answer2, "Question");
        copyQuizText(questionAt(*record, record->questionCount - 1)->rewardText,
                     question.rewardText);
    }
    const char* codes[] = {"CODE1", "CODE2", "CODE3"};
    for (int level = 0; level < 3; ++level)
        copyQuizText(record->codes[level], codes[level]);
    return record;
}

// The header pane and the board of `record` in a window of their own, in an empty current folder.
class RealBoard {
  public:
    explicit RealBoard(QuizRecord& record) : record_(record) {
        quizRecord = &record;
        silenceRewardMessages(false);
        parent_ = createTestWindow(1000, 700);
        header_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_HEADER),
                                     parent_, headerPaneProc, 0);
        record.headerPane = header_;
        board_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BOARD), parent_,
                                    boardDialogProc, 0);
        EXPECT_NE(board_, nullptr);
    }
    ~RealBoard() {
        DestroyWindow(parent_);
        quizRecord = nullptr;
    }
    RealBoard(const RealBoard&) = delete;
    RealBoard& operator=(const RealBoard&) = delete;

    HWND board() const { return board_; }
    HWND header() const { return header_; }
    void answer(int field, const char* text) {
        SetDlgItemTextA(board_, answerFieldId(field), text);
        judgeAnswer(record_, board_, answerFieldId(field));
    }
    std::string verdict(int field) const { return textOfControl(board_, verdictFieldId(field)); }
    std::string score() const { return textOfControl(header_, kScoreFieldId); }
    std::string code() const { return textOfControl(header_, kCodeFieldId); }
    bool rewardShown(int question) const {
        HWND reward = GetDlgItem(board_, rewardFieldId(question));
        return reward && (GetWindowLongA(reward, GWL_STYLE) & WS_VISIBLE);
    }
    HBITMAP picture(int question) const {
        return reinterpret_cast<HBITMAP>(
            SendDlgItemMessageA(board_, pictureFieldId(question), STM_GETIMAGE, IMAGE_BITMAP, 0));
    }

  private:
    TemporaryFolder folder_{true};
    QuizRecord& record_;
    HWND parent_ = nullptr;
    HWND header_ = nullptr;
    HWND board_ = nullptr;
};

const std::vector<Question> kCapitals = {
    {"PARIS", "FRANCE", "Bravo pour Paris"}, {"ROME", "ITALIE", "Rome !"}, {"NOTRE DAME DE PARIS"}};

TEST(Board, ControlsStandWhereTheyBelong) {
    struct Kind {
        int mediaKind, fields, reward, questions, contentWidth, contentHeight;
    } kinds[] = {
        {kMediaTextList, 1, kRewardNone, 5, 850, 130},
        {kMediaTextList, 2, kRewardNone, 5, 910, 130},
        {kMediaPictures, 1, kRewardText, 7, 910, 975},
        {kMediaPictures, 2, kRewardMessage, 3, 970, 415},
        {kMediaSound, 1, kRewardNone, 4, 910, 125},
        {kMediaVideo, 2, kRewardFinal, 4, 970, 705},
    };
    // Shared identifiers (153, 156) give the first control made with them. Width -1: absent.
    struct Place {
        int kind, id, x, y, width, height;
    } places[] = {
        {0, 153, 26, 7, 19, 17},      {0, 3000, 50, 5, 550, 20},     {0, 4001, 610, 5, 100, 20},
        {0, 5001, 720, 5, 100, 20},   {0, 4005, 610, 105, 100, 20},  {0, 8001, 0, 0, -1, 0},
        {1, 4005, 610, 105, 100, 20}, {1, 4006, 0, 0, -1, 0},        {2, 9901, 46, 37, 260, 195},
        {2, 9902, 401, 5, 130, 260},  {2, 9903, 626, 5, 260, 260},   {2, 153, 18, 277, 27, 17},
        {2, 4001, 46, 275, 260, 20},  {2, 5001, 46, 294, 260, 20},   {2, 8001, 46, 321, 260, 65},
        {2, 9904, 46, 532, 260, 26},  {2, 9905, 336, 415, 260, 260}, {2, 9906, 626, 447, 260, 195},
        {2, 4004, 46, 685, 260, 20},  {2, 9907, 46, 825, 260, 0},    {2, 4007, 46, 835, 260, 20},
        {2, 4008, 0, 0, -1, 0},       {3, 156, 3, 277, 95, 20},      {3, 153, 78, 277, 27, 17},
        {3, 4003, 396, 275, 201, 20}, {3, 5003, 596, 275, 60, 20},   {3, 4004, 396, 294, 201, 20},
        {3, 8002, 396, 321, 260, 65}, {4, 153, 18, 7, 27, 17},       {4, 6001, 46, 5, 20, 20},
        {4, 7001, 46, 25, 20, 19},    {4, 4001, 66, 5, 240, 20},     {4, 5001, 66, 24, 240, 20},
        {4, 6002, 336, 5, 20, 20},    {4, 4004, 66, 65, 240, 20},    {4, 9900, 0, 0, 0, 0},
        {4, 9901, 0, 0, -1, 0},       {5, 156, 3, 217, 95, 20},      {5, 6001, 106, 215, 20, 20},
        {5, 7001, 106, 235, 20, 19},  {5, 4001, 126, 215, 181, 20},  {5, 5001, 306, 215, 60, 20},
        {5, 4002, 126, 234, 181, 20}, {5, 8001, 106, 261, 260, 65},  {5, 4007, 126, 565, 181, 20},
    };
    auto record = makeQuiz(kMediaTextList, 1, kRewardNone, std::vector<Question>(7, {"A"}));
    allowProgressSaving(true);
    HFONT previousFont = nullptr;
    for (int k = 0; k < int(std::size(kinds)); ++k) {
        const Kind& kind = kinds[k];
        SCOPED_TRACE("kind " + std::to_string(k));
        record->mediaKind = kind.mediaKind;
        record->answerFieldCount = kind.fields;
        record->rewardKind = kind.reward;
        record->questionCount = kind.questions;
        RealBoard board(*record);
        for (const Place& place : places) {
            if (place.kind != k)
                continue;
            HWND control = GetDlgItem(board.board(), place.id);
            EXPECT_EQ(control != nullptr, place.width >= 0) << place.id;
            if (control && place.width >= 0) {
                EXPECT_EQ(placeOf(control),
                          std::vector<int>({place.x, place.y, place.width, place.height}))
                    << place.id;
            }
        }
        EXPECT_EQ(contentWidth, kind.contentWidth);
        EXPECT_EQ(contentHeight, kind.contentHeight);
        EXPECT_FALSE(board.rewardShown(1)) << "reward fields start hidden";
        // The header as created, before a resize moves its right-hand group.
        for (auto [id, place] : {std::pair{kLinkId, std::vector{736, 5, 115, 18}},
                                 {kByLabelId, {736, 25, 27, 18}},
                                 {kCreatorId, {763, 25, 85, 18}},
                                 {kSaveButtonId, {666, 25, 55, 18}},
                                 {kExplanationId, {110, 19, 490, 27}},
                                 {kRightRuleId, {730, 0, 1, 50}}})
            EXPECT_EQ(placeOf(GetDlgItem(board.header(), id)), place) << id;
        // One answer font per record: building the board again deletes the one before.
        auto font = reinterpret_cast<HFONT>(
            SendDlgItemMessageA(board.board(), answerFieldId(1), WM_GETFONT, 0, 0));
        LOGFONTA description{};
        GetObjectA(font, sizeof description, &description);
        EXPECT_EQ(description.lfHeight * 1000 + description.lfWeight, 15100);
        EXPECT_TRUE(!previousFont || GetObjectType(previousFont) == 0);
        previousFont = font;
        // A save writes questions x announced fields lines, also where a text list shows fewer.
        SetDlgItemTextA(board.board(), answerFieldId(2), "deux");
        ASSERT_TRUE(saveProgress(board.board()));
        std::string expected = "\r\ndeux\r\n";
        for (int line = 3; line <= kind.questions * kind.fields; ++line)
            expected += "\r\n";
        EXPECT_EQ(readFileText("plimo_windows_tests.txt"), expected);
    }
}

COLORREF colourOf(LRESULT brush) {
    LOGBRUSH description{};
    return GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof description, &description)
               ? description.lbColor
               : CLR_INVALID;
}

TEST(Board, ColoursFollowTheQuizColourAndTheVerdict) {
    auto record = makeQuiz(kMediaTextList, 1, kRewardNone, kCapitals);
    RealBoard board(*record);
    HDC dc = CreateCompatibleDC(nullptr);
    auto colourOfControl = [&](int id) {
        return colourOf(SendMessageA(board.board(), WM_CTLCOLORSTATIC, WPARAM(dc),
                                     LPARAM(GetDlgItem(board.board(), id))));
    };
    // Labels are written in white on a dark quiz colour, in black from 60 red or green up.
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    for (auto [red, green, text] : {std::tuple{59, 59, white}, {60, 59, black}, {59, 60, black}}) {
        HBRUSH before = record->backgroundBrush;
        applyQuizColour(*record, uint8_t(red), uint8_t(green), 255);
        EXPECT_EQ(GetObjectType(before), 0u) << "the replaced brush is deleted";
        EXPECT_EQ(colourOfControl(IDC_QUESTION_NUMBER), RGB(red, green, 255));
        EXPECT_EQ(GetTextColor(dc), text) << red << "/" << green;
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    }
    EXPECT_EQ(colourOf(SendMessageA(board.board(), WM_CTLCOLORDLG, WPARAM(dc), 0)),
              RGB(59, 60, 255));
    EXPECT_EQ(colourOfControl(IDC_QUESTION_TEXT), RGB(255, 255, 192));
    for (auto [word, brush] : {std::pair{"BRAVO", RGB(0, 255, 0)},
                               {"FAUX", RGB(255, 0, 0)},
                               {"Anagramme", RGB(255, 100, 0)},
                               {"Trop court", RGB(255, 203, 38)},
                               {"Quasiment", RGB(255, 203, 38)}}) {
        SetDlgItemTextA(board.board(), verdictFieldId(3), word);
        EXPECT_EQ(colourOfControl(verdictFieldId(3)), brush) << word;
    }
    SetDlgItemTextA(board.board(), verdictFieldId(3), "?"); // nothing judged: the dialog's own
    EXPECT_NE(colourOfControl(verdictFieldId(3)), RGB(255, 203, 38));
    DeleteDC(dc);
}

TEST(Judge, VerdictsScoreAndCodesFollowEveryAnswer) {
    auto record = makeQuiz(kMediaPictures, 1, kRewardNone, kCapitals);
    RealBoard board(*record);
    const char* kIdea = "y a de l'id\xE9"
                        "e";
    struct Step {
        int field;
        const char* typed;
        const char *verdict, *score, *code;
    } steps[] = {
        {1, "", "?", " 0 / 3", "      "},
        {1, "  paris ", "BRAVO", " 1 / 3", "CODE1"},
        {2, "RMOE", "Anagramme", " 1 / 3", "CODE1"},
        {2, "rome", "BRAVO", " 2 / 3", "CODE2"},
        {3, "NOTRA DOME DU PARIS", kIdea, " 2 / 3", "CODE2"},
        {3, "NOTRE DAME DE PARIS", "BRAVO", " 3 / 3", "CODE3"},
        {1, "PARS", "Quasiment", " 2 / 3", "CODE2"},
        {3, "", "?", " 1 / 3", "CODE1"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::to_string(step.field) + " '" + step.typed + "'");
        board.answer(step.field, step.typed);
        EXPECT_EQ(board.verdict(step.field), step.verdict);
        EXPECT_EQ(board.score(), step.score);
        EXPECT_EQ(board.code(), step.code);
    }
    // Only the exact word counts.
    for (const char* almost : {"BRAVO ", "Bravo", "BRAVOS"}) {
        SetDlgItemTextA(board.board(), verdictFieldId(1), almost);
        board.answer(2, "rome");
        EXPECT_EQ(board.score(), " 1 / 3") << almost;
    }
}

TEST(Judge, RewardsNeedTheWholeQuestionOrTheWholeQuiz) {
    {
        SCOPED_TRACE("text reward, two fields");
        auto record = makeQuiz(kMediaPictures, 2, kRewardText, kCapitals);
        RealBoard board(*record);
        board.answer(3, "ROME");
        EXPECT_FALSE(board.rewardShown(2));
        EXPECT_EQ(board.score(), " 0 / 3");
        board.answer(4, "italie");
        EXPECT_TRUE(board.rewardShown(2));
        EXPECT_FALSE(board.rewardShown(1));
        EXPECT_EQ(board.score(), " 1 / 3");
        board.answer(3, "ROMA"); // either field going wrong hides it again
        EXPECT_FALSE(board.rewardShown(2));
        EXPECT_EQ(board.code(), "      ");
    }
    for (int fields : {1, 2}) {
        SCOPED_TRACE("final reward, fields " + std::to_string(fields));
        auto record = makeQuiz(kMediaPictures, fields, kRewardFinal, {{"A1", "B1"}, {"A2", "B2"}});
        RealBoard board(*record);
        const int second = fields == 2 ? 3 : 2;
        board.answer(1, "A1");
        board.answer(second, "A2");
        if (fields == 2) {
            board.answer(2, "B1");
            EXPECT_FALSE(board.rewardShown(1)) << "one answer still missing";
            board.answer(4, "B2");
        }
        EXPECT_TRUE(board.rewardShown(1) && board.rewardShown(2));
        EXPECT_EQ(record->finalRewardShown, 1);
        board.answer(1, "X"); // hides its question's reward and re-arms the final one
        EXPECT_FALSE(board.rewardShown(1));
        EXPECT_TRUE(board.rewardShown(2));
        EXPECT_EQ(record->finalRewardShown, 0);
        board.answer(1, "A1");
        EXPECT_TRUE(board.rewardShown(1));
        EXPECT_EQ(record->finalRewardShown, 1);
    }
}

// A text list shows one field per question even when the quiz announces two, and has no
// reward field: the message comes all the same.
TEST(Judge, MessageRewardComesOncePerRightAnswer) {
    auto record = makeQuiz(kMediaTextList, 2, kRewardMessage, kCapitals);
    RealBoard board(*record);
    MessageBoxCapture capture;
    board.answer(2, "ROME");
    board.answer(1, "PARI");
    board.answer(1, "paris");
    board.answer(2, "rome");
    EXPECT_EQ(board.score(), " 2 / 3");
    ASSERT_EQ(capture.boxes().size(), 3u);
    const char* texts[] = {"Rome !", "Bravo pour Paris", "Rome !"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(capture.boxes()[i].caption, "texte");
        EXPECT_EQ(capture.boxes()[i].text, texts[i]);
        EXPECT_EQ(capture.boxes()[i].buttonCount, 1);
        EXPECT_FALSE(capture.boxes()[i].hasOwner);
    }
}

TEST(Judge, PictureRewardReplacesThePictureAndDeletesTheOldOne) {
    auto record = makeQuiz(kMediaPictures, 1, kRewardPicture, kCapitals);
    RealBoard board(*record);
    HBITMAP original = board.picture(1);
    ASSERT_NE(original, nullptr);
    board.answer(1, "PARIS");
    HBITMAP reward = board.picture(1);
    EXPECT_NE(reward, original);
    EXPECT_EQ(GetObjectType(original), 0u);
    BITMAP size{};
    GetObjectA(reward, sizeof size, &size);
    EXPECT_EQ(size.bmWidth, 260); // 10401 is the 100 x 100 picture, enlarged into the box
    EXPECT_EQ(size.bmHeight, 260);
    board.answer(1, "LONDRES");
    EXPECT_EQ(board.picture(1), reward);
    // Question 3 has no reward picture: its own stays.
    HBITMAP third = board.picture(3);
    board.answer(3, "NOTRE DAME DE PARIS");
    EXPECT_EQ(board.picture(3), third);
    EXPECT_NE(GetObjectType(third), 0u);
}

} // namespace
