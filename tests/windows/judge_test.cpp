// The judge, the score and F1 on real controls.
#include "board/board_layout.h"
#include "judge/answer_judge.h"
#include "judge/score.h"
#include "tests/windows/board_harness.h"
#include "tests/windows/message_box_capture.h"

#include <gtest/gtest.h>

namespace {

const char* kIdea = "y a de l'id\xE9"
                    "e";

QuizSetup capitals(int rewardKind = kRewardNone) {
    QuizSetup setup;
    setup.rewardKind = rewardKind;
    setup.answers = {{"PARIS", ""}, {"ROME", ""}, {"NOTRE DAME DE PARIS", ""}};
    setup.codes = {"CODE1", "CODE2", "CODE3"};
    setup.rewardTexts = {"Bravo pour Paris", "Rome !",
                         "La cath\xE9"
                         "drale"};
    return setup;
}

TEST(Judge, VerdictsScoreAndCodesFollowEveryAnswer) {
    BoardHarness board(capitals());
    struct Step {
        int field;
        const char* typed;
        const char* verdict;
        const char* score;
        const char* code;
    } steps[] = {
        {1, "", "?", " 0 / 3", "      "},
        {1, "  paris ", "BRAVO", " 1 / 3", "CODE1"},
        {2, "RMOE", "Anagramme", " 1 / 3", "CODE1"},
        {2, "rome", "BRAVO", " 2 / 3", "CODE2"},
        {3, "NOTRA DOME DU PARIS", kIdea, " 2 / 3", "CODE2"},
        {3, "NOTRE DAME DE PARIS", "BRAVO", " 3 / 3", "CODE3"},
        {1, "PARS", "Quasiment", " 2 / 3", "CODE2"},
        {2, "ROMA", "Quasiment", " 1 / 3", "CODE1"},
        {3, "", "?", " 0 / 3", "      "},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string("field ") + std::to_string(step.field) + " '" + step.typed + "'");
        board.answer(step.field, step.typed);
        EXPECT_EQ(board.verdict(step.field), step.verdict);
        EXPECT_EQ(board.score(), step.score);
        EXPECT_EQ(board.code(), step.code);
    }
}

TEST(Judge, TwoFieldQuestionsCountOnlyWhenBothAreRight) {
    QuizSetup setup;
    setup.answerFieldCount = 2;
    setup.rewardKind = kRewardText;
    setup.answers = {{"PARIS", "FRANCE"}, {"ROME", "ITALIE"}};
    setup.codes = {"UN", "DEUX"};
    BoardHarness board(setup);

    board.answer(3, "ROME"); // question 2, first field
    EXPECT_EQ(board.verdict(3), "BRAVO");
    EXPECT_FALSE(board.rewardShown(2));
    EXPECT_EQ(board.score(), " 0 / 2");
    board.answer(4, "ITALI");
    EXPECT_EQ(board.verdict(4), "Quasiment");
    EXPECT_EQ(board.score(), " 0 / 2");
    board.answer(4, "italie");
    EXPECT_TRUE(board.rewardShown(2));
    EXPECT_FALSE(board.rewardShown(1));
    EXPECT_EQ(board.score(), " 1 / 2");
    EXPECT_EQ(board.code(), "UN");
    // Either field going wrong hides the reward and drops the score.
    board.answer(3, "ROMA");
    EXPECT_FALSE(board.rewardShown(2));
    EXPECT_EQ(board.score(), " 0 / 2");
    EXPECT_EQ(board.code(), "      ");
}

TEST(Judge, MessageRewardShowsTheQuestionsText) {
    BoardHarness board(capitals(kRewardMessage));
    MessageBoxCapture capture;
    board.answer(2, "ROME");
    ASSERT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(capture.boxes()[0].caption, "texte");
    EXPECT_EQ(capture.boxes()[0].text, "Rome !");
    EXPECT_EQ(capture.boxes()[0].buttonCount, 1);
    EXPECT_FALSE(capture.boxes()[0].hasOwner);
    EXPECT_TRUE(board.rewardShown(2));
    // Judged right again, the box comes again; a near miss shows none.
    board.answer(2, "rome");
    board.answer(1, "PARI");
    EXPECT_EQ(capture.boxes().size(), 2u);
}

TEST(Judge, FinalRewardComesOnceTheWholeQuizIsRight) {
    for (int fields : {1, 2}) {
        SCOPED_TRACE(std::to_string(fields) + " answer field(s)");
        QuizSetup setup;
        setup.answerFieldCount = fields;
        setup.rewardKind = kRewardFinal;
        setup.answers = {{"A1", "B1"}, {"A2", "B2"}};
        BoardHarness board(setup);
        auto typeAll = [&] {
            board.answer(1, "A1");
            board.answer(fields == 2 ? 3 : 2, "A2");
            if (fields == 2) {
                board.answer(2, "B1");
                EXPECT_FALSE(board.rewardShown(1)) << "one answer still missing";
                board.answer(4, "B2");
            }
        };
        typeAll();
        EXPECT_TRUE(board.rewardShown(1));
        EXPECT_TRUE(board.rewardShown(2));
        EXPECT_EQ(board.record().finalRewardShown, 1);

        // A wrong answer hides its question's reward and re-arms the final reward.
        board.answer(1, "X");
        EXPECT_FALSE(board.rewardShown(1));
        EXPECT_TRUE(board.rewardShown(2));
        EXPECT_EQ(board.record().finalRewardShown, 0);
        board.answer(1, "A1");
        EXPECT_TRUE(board.rewardShown(1));
        EXPECT_EQ(board.record().finalRewardShown, 1);
    }
}

TEST(Judge, PictureRewardReplacesThePictureAndDeletesTheOldOne) {
    BoardHarness board(capitals(kRewardPicture));
    HBITMAP original = board.picture(1);
    ASSERT_NE(original, nullptr);
    board.answer(1, "PARIS");
    HBITMAP reward = board.picture(1);
    ASSERT_NE(reward, nullptr);
    EXPECT_NE(reward, original);
    EXPECT_EQ(GetObjectType(original), 0u) << "the replaced picture must be deleted";
    BITMAP size{};
    GetObjectA(reward, sizeof size, &size);
    EXPECT_EQ(size.bmWidth, 260); // 10401 is the 100 x 100 picture, enlarged into the box
    EXPECT_EQ(size.bmHeight, 260);

    board.answer(1, "LONDRES"); // a wrong answer leaves the reward picture in place
    EXPECT_EQ(board.picture(1), reward);
    // No reward picture for question 3: its picture stays as it was.
    HBITMAP third = board.picture(3);
    board.answer(3, "NOTRE DAME DE PARIS");
    EXPECT_EQ(board.picture(3), third);
    EXPECT_NE(GetObjectType(third), 0u);
}

TEST(Judge, MissingControlsAreSkipped) {
    QuizSetup setup = capitals(kRewardMessage);
    setup.mediaKind = kMediaTextList; // no reward or picture fields
    setup.withVerdictFields = false;
    BoardHarness board(setup);
    MessageBoxCapture capture;
    board.answer(1, "PARIS");
    EXPECT_EQ(capture.boxes().size(), 1u) << "the message still comes without a reward field";
    EXPECT_EQ(board.score(), " 0 / 3") << "no verdict field reads BRAVO";
}

TEST(Judge, TextListPairsEachFieldWithItsOwnQuestion) {
    // A text list shows one field per question even when the quiz announces two.
    QuizSetup setup;
    setup.mediaKind = kMediaTextList;
    setup.answerFieldCount = 2;
    setup.answers = {{"PARIS", "FRANCE"}, {"ROME", "ITALIE"}, {"BERLIN", "ALLEMAGNE"}};
    setup.codes = {"UN", "DEUX", "TROIS"};
    BoardHarness board(setup);
    ASSERT_EQ(board.answerField(4), nullptr);
    board.answer(2, "ROME");
    EXPECT_EQ(board.verdict(2), "BRAVO");
    EXPECT_EQ(board.score(), " 1 / 3");
    board.answer(3, "BERLIN");
    EXPECT_EQ(board.score(), " 2 / 3");
    EXPECT_EQ(board.code(), "DEUX");
}

TEST(Judge, QuestionsWithoutNodesExpectEmptyAnswers) {
    QuizSetup setup;
    setup.answers = {{"PARIS", ""}, {"ROME", ""}};
    BoardHarness board(setup);
    board.record().questions.clear(); // as after a quiz that failed to decode
    board.answer(1, "X");
    EXPECT_EQ(board.verdict(1), "Quasiment");
    board.answer(2, "PARIS");
    EXPECT_EQ(board.verdict(2), "FAUX");
    board.answer(2, "   ");
    EXPECT_EQ(board.verdict(2), "?");
}

TEST(Judge, DefaultQuizQuestionsReadTheLastNode) {
    QuizSetup setup;
    setup.answerFieldCount = 2;
    setup.answers = {{"test", "test"}, {"test", "test"}};
    BoardHarness board(setup);
    board.record().questionCount = 7; // seven announced, two held
    for (int field = 1; field <= 14; ++field)
        ASSERT_EQ(board.answerField(field) != nullptr, field <= 4);
    board.answer(4, "TEST");
    EXPECT_EQ(board.verdict(4), "BRAVO");
}

TEST(Score, FormatAndCodes) {
    QuizSetup setup = capitals();
    setup.answers.resize(7, {"X", ""});
    BoardHarness board(setup);
    updateScore(board.record(), board.board());
    EXPECT_EQ(board.score(), " 0 / 7");
    EXPECT_EQ(board.code(), "      ");
    // Only the exact word counts.
    for (const char* almost : {"BRAVO ", "Bravo", "BRAVOS"}) {
        SetDlgItemTextA(board.board(), verdictFieldId(1), almost);
        updateScore(board.record(), board.board());
        EXPECT_EQ(board.score(), " 0 / 7") << almost;
    }
    SetDlgItemTextA(board.board(), verdictFieldId(1), "BRAVO");
    updateScore(board.record(), board.board());
    EXPECT_EQ(board.score(), " 1 / 7");
    EXPECT_EQ(board.code(), "CODE1");
}

// Moving the focus: run one at a time (see FocusedFields).
TEST(AnswerFillFocus, PutsTheTextIntoEveryUnsolvedField) {
    BoardHarness board(capitals());
    board.answer(2, "ROME");
    board.answer(3, "NOTRE");
    SetWindowTextA(board.answerField(1), "PARIS");
    SetFocus(board.answerField(1));
    tryAnswerEverywhere(board.answerField(1));
    EXPECT_EQ(textOfControl(board.board(), answerFieldId(2)), "ROME") << "solved: untouched";
    EXPECT_EQ(textOfControl(board.board(), answerFieldId(3)), "PARIS");
    EXPECT_EQ(textOfControl(board.board(), answerFieldId(1)), "PARIS");
    EXPECT_EQ(GetFocus(), board.answerField(1));
}

TEST(AnswerFillFocus, LeavesSolvedQuizAlone) {
    BoardHarness board(capitals());
    board.answer(1, "PARIS");
    board.answer(2, "ROME");
    board.answer(3, "NOTRE DAME DE PARIS");
    SetWindowTextA(board.answerField(2), "ROMA"); // typed, not judged yet
    SetFocus(board.answerField(2));
    tryAnswerEverywhere(board.answerField(2));
    for (int field : {1, 3})
        EXPECT_NE(textOfControl(board.board(), answerFieldId(field)), "ROMA");
    EXPECT_EQ(GetFocus(), board.answerField(2));
}

TEST(Judge, AnswerFontIsLightAndFifteenHigh) {
    QuizRecord record;
    createAnswerFont(record);
    HFONT first = record.answerFont;
    LOGFONTA font{};
    ASSERT_EQ(GetObjectA(first, sizeof font, &font), int(sizeof font));
    EXPECT_EQ(font.lfHeight, 15);
    EXPECT_EQ(font.lfWeight, 100);
    EXPECT_STREQ(font.lfFaceName, "");
    createAnswerFont(record); // building the board again must not leak the first font
    EXPECT_EQ(GetObjectType(first), 0u);
}

} // namespace
