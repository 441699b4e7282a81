#include "board/board_layout.h"
#include "tests/support/platform_fake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <ostream>

namespace {

TEST(BoardLayout, FieldIndexRoundTrip) {
    struct Case {
        int fieldsPerQuestion;
        int fieldIndex;
        AnswerSlot slot;
    } cases[] = {
        {1, 1, {1, 1}}, {1, 7, {7, 1}}, {1, 96, {96, 1}}, {2, 1, {1, 1}},
        {2, 2, {1, 2}}, {2, 3, {2, 1}}, {2, 4, {2, 2}},   {2, 192, {96, 2}},
    };
    for (const Case& c : cases) {
        AnswerSlot slot = answerSlotOf(c.fieldIndex, c.fieldsPerQuestion);
        EXPECT_EQ(slot.question, c.slot.question) << c.fieldsPerQuestion << "/" << c.fieldIndex;
        EXPECT_EQ(slot.answer, c.slot.answer) << c.fieldsPerQuestion << "/" << c.fieldIndex;
        EXPECT_EQ(fieldIndexOf(c.slot, c.fieldsPerQuestion), c.fieldIndex);
    }
}

TEST(BoardLayout, IdentifiersOfTheFieldsOfQuestionTwo) {
    // With two fields, question 2 owns answer fields 4003 and 4004, verdicts 5003 and 5004.
    EXPECT_EQ(answerFieldId(fieldIndexOf({2, 1}, 2)), 4003);
    EXPECT_EQ(answerFieldId(fieldIndexOf({2, 2}, 2)), 4004);
    EXPECT_EQ(verdictFieldId(fieldIndexOf({2, 2}, 2)), 5004);
    EXPECT_EQ(answerSlotOf(fieldIndexOfAnswerId(4003), 2).question, 2);
    EXPECT_EQ(rewardFieldId(2), 8002);
    EXPECT_EQ(pictureFieldId(2), 9902);
}

TEST(BoardLayout, TextListShowsOneFieldPerQuestion) {
    fakePlatform().reset();
    auto record = std::make_unique<QuizRecord>();
    record->questionCount = 5;
    struct Case {
        int mediaKind, answerFieldCount, perQuestion;
    } cases[] = {
        {kMediaTextList, 1, 1}, {kMediaTextList, 2, 1}, {kMediaPictures, 2, 2},
        {kMediaSound, 2, 2},    {kMediaVideo, 1, 1},    {kMediaPictures, 1, 1},
    };
    for (const Case& c : cases) {
        record->mediaKind = c.mediaKind;
        record->answerFieldCount = c.answerFieldCount;
        EXPECT_EQ(answerFieldsPerQuestion(*record), c.perQuestion) << c.mediaKind;
        EXPECT_EQ(answerFieldTotal(*record), 5 * c.perQuestion) << c.mediaKind;
    }
}

} // namespace

namespace {

struct Rect {
    int x, y, width, height;
    bool operator==(const Rect&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}

class BoardPlanTest : public testing::Test {
  protected:
    void SetUp() override {
        fakePlatform().reset();
        record = std::make_unique<QuizRecord>();
    }

    BoardPlan plan(int mediaKind, int questions, int fields, int rewardKind = kRewardNone) {
        record->mediaKind = mediaKind;
        record->questionCount = questions;
        record->answerFieldCount = fields;
        record->rewardKind = rewardKind;
        asked.clear();
        return planBoard(*record, [this](int question) {
            asked.push_back(question);
            auto found = pictures.find(question);
            return found == pictures.end() ? PictureSize{} : found->second;
        });
    }

    // The rectangle of the control with `id` (the first of a shared id at `question`).
    static Rect rectOf(const BoardPlan& plan, int id, int question = 0, int answer = 0) {
        for (const PlacedControl& c : plan.controls)
            if (c.id == id && (question == 0 || c.question == question) &&
                (answer == 0 || c.answer == answer))
                return {c.x, c.y, c.width, c.height};
        ADD_FAILURE() << "no control " << id << " for question " << question;
        return {};
    }

    static int countOf(const BoardPlan& plan, BoardControl kind) {
        return int(std::count_if(plan.controls.begin(), plan.controls.end(),
                                 [kind](const PlacedControl& c) { return c.kind == kind; }));
    }

    std::unique_ptr<QuizRecord> record;
    std::map<int, PictureSize> pictures;
    std::vector<int> asked;
};

TEST_F(BoardPlanTest, TextListRowsAndExtent) {
    BoardPlan board = plan(kMediaTextList, 3, 1);
    EXPECT_EQ(rectOf(board, IDC_QUESTION_NUMBER, 2), (Rect{26, 32, 19, 17}));
    EXPECT_EQ(rectOf(board, IDC_QUESTION_TEXT, 2), (Rect{50, 30, 550, 20}));
    EXPECT_EQ(rectOf(board, 4002), (Rect{610, 30, 100, 20}));
    EXPECT_EQ(rectOf(board, 5002), (Rect{720, 30, 100, 20}));
    EXPECT_EQ(board.contentWidth, 850);
    EXPECT_EQ(board.contentHeight, 80);
    EXPECT_TRUE(asked.empty()) << "a text list has no pictures";

    // Two answers announced: still one field per question, numbered by question.
    board = plan(kMediaTextList, 3, 2);
    EXPECT_EQ(countOf(board, BoardControl::kAnswerField), 3);
    EXPECT_EQ(rectOf(board, 4003), (Rect{610, 55, 100, 20}));
    EXPECT_EQ(board.contentWidth, 910);
}

TEST_F(BoardPlanTest, PictureGridBandsFollowTheTallestPicture) {
    pictures = {{1, {260, 195}}, {2, {130, 260}}, {3, {260, 26}}, {4, {260, 195}}};
    BoardPlan board = plan(kMediaPictures, 4, 1);
    // Row one: band 260 high (question 2); pictures centred in their 260-wide column.
    EXPECT_EQ(rectOf(board, 9901), (Rect{46, 5 + (260 - 195) / 2, 260, 195}));
    EXPECT_EQ(rectOf(board, 9902), (Rect{336 + 65, 5, 130, 260}));
    EXPECT_EQ(rectOf(board, 9903), (Rect{626, 5 + 117, 260, 26}));
    EXPECT_EQ(rectOf(board, 4002), (Rect{336, 275, 260, 20}));
    EXPECT_EQ(rectOf(board, 5002), (Rect{336, 294, 260, 20}));
    EXPECT_EQ(rectOf(board, IDC_QUESTION_NUMBER, 3), (Rect{598, 277, 27, 17}));
    // Row two starts 60 below row one's fields and holds question 4 alone.
    EXPECT_EQ(rectOf(board, 9904), (Rect{46, 335, 260, 195}));
    EXPECT_EQ(rectOf(board, 4004), (Rect{46, 540, 260, 20}));
    EXPECT_EQ(board.contentHeight, 600);
    EXPECT_EQ(board.contentWidth, 910);
    EXPECT_EQ(asked, (std::vector<int>{1, 2, 3, 4})) << "each picture measured once";
    EXPECT_EQ(countOf(board, BoardControl::kRewardField), 0);
}

TEST_F(BoardPlanTest, MissingPictureLeavesAnEmptyFieldOfTheBand) {
    pictures = {{1, {260, 195}}};
    BoardPlan board = plan(kMediaPictures, 2, 1);
    EXPECT_EQ(rectOf(board, 9902), (Rect{336, 5, 260, 195}));
    // A row with no picture at all has a band of zero.
    pictures.clear();
    board = plan(kMediaPictures, 1, 1);
    EXPECT_EQ(rectOf(board, 9901), (Rect{46, 5, 260, 0}));
    EXPECT_EQ(rectOf(board, 4001), (Rect{46, 15, 260, 20}));
}

TEST_F(BoardPlanTest, TwoFieldGridCaptionsAndRewards) {
    pictures = {{1, {260, 195}}, {4, {100, 100}}};
    BoardPlan board = plan(kMediaPictures, 4, 2, kRewardMessage);
    // Captions beside the first question of each row only.
    EXPECT_EQ(countOf(board, BoardControl::kAnswerCaption), 4);
    EXPECT_EQ(rectOf(board, IDC_ANSWER_CAPTION, 1, 1), (Rect{3, 212, 95, 20}));
    EXPECT_EQ(rectOf(board, IDC_ANSWER_CAPTION, 1, 2), (Rect{3, 232, 95, 20}));
    EXPECT_EQ(rectOf(board, IDC_ANSWER_CAPTION, 4, 1).y, 350 + 100 + 10 + 2);
    // Question 2 owns fields 4003 and 4004, with their verdicts beside them.
    EXPECT_EQ(rectOf(board, 4003), (Rect{396, 210, 201, 20}));
    EXPECT_EQ(rectOf(board, 5003), (Rect{596, 210, 60, 20}));
    EXPECT_EQ(rectOf(board, 4004), (Rect{396, 229, 201, 20}));
    EXPECT_EQ(rectOf(board, 5004), (Rect{596, 229, 60, 20}));
    EXPECT_EQ(rectOf(board, 8002), (Rect{396, 256, 260, 65}));
    EXPECT_EQ(board.contentHeight, 460 + 140);
    EXPECT_EQ(board.contentWidth, 970);
}

TEST_F(BoardPlanTest, SoundAndVideoGridsHaveButtonsAndNoPictures) {
    BoardPlan sound = plan(kMediaSound, 4, 1);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(countOf(sound, BoardControl::kPictureField), 0);
    EXPECT_EQ(rectOf(sound, 6002), (Rect{336, 5, 20, 20}));
    EXPECT_EQ(rectOf(sound, 7002), (Rect{336, 25, 20, 19}));
    EXPECT_EQ(rectOf(sound, 4002), (Rect{356, 5, 240, 20}));
    EXPECT_EQ(rectOf(sound, 5002), (Rect{356, 24, 240, 20}));
    EXPECT_EQ(rectOf(sound, 6004), (Rect{46, 65, 20, 20}));
    EXPECT_EQ(sound.contentHeight, 125);

    BoardPlan video = plan(kMediaVideo, 4, 2, kRewardText);
    EXPECT_EQ(rectOf(video, 6001), (Rect{106, 215, 20, 20}));
    EXPECT_EQ(rectOf(video, 4001), (Rect{126, 215, 181, 20}));
    EXPECT_EQ(rectOf(video, 5001), (Rect{306, 215, 60, 20}));
    EXPECT_EQ(rectOf(video, 6004), (Rect{106, 355 + 210, 20, 20}));
    EXPECT_EQ(video.contentHeight, 565 + 140);
    EXPECT_EQ(video.contentWidth, 970);
}

TEST_F(BoardPlanTest, CreationOrderOfOneQuestion) {
    BoardPlan board = plan(kMediaSound, 1, 2, kRewardText);
    std::vector<BoardControl> order;
    for (const PlacedControl& c : board.controls)
        order.push_back(c.kind);
    EXPECT_EQ(order,
              (std::vector<BoardControl>{BoardControl::kAnswerCaption, BoardControl::kAnswerCaption,
                                         BoardControl::kQuestionNumber, BoardControl::kPlayButton,
                                         BoardControl::kStopButton, BoardControl::kAnswerField,
                                         BoardControl::kVerdictField, BoardControl::kAnswerField,
                                         BoardControl::kVerdictField, BoardControl::kRewardField}));
}

TEST_F(BoardPlanTest, UnknownBoardKindShowsNothing) {
    BoardPlan board = plan(7, 5, 1);
    EXPECT_TRUE(board.controls.empty());
    EXPECT_EQ(board.contentWidth, 20);
}

} // namespace
