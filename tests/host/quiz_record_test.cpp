#include "content/quiz_record.h"
#include "tests/support/platform_fake.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class QuizRecordTest : public testing::Test {
  protected:
    void SetUp() override { fakePlatform().reset(); }
};

void expectBrush(HBRUSH brush, uint8_t red, uint8_t green, uint8_t blue, const char* name) {
    FakeBrush colour{};
    ASSERT_TRUE(fakeBrushColour(brush, colour)) << name << " is not a live brush";
    EXPECT_EQ(colour.red, red) << name;
    EXPECT_EQ(colour.green, green) << name;
    EXPECT_EQ(colour.blue, blue) << name;
}

TEST_F(QuizRecordTest, ConstructionValues) {
    auto record = std::make_unique<QuizRecord>();
    EXPECT_EQ(record->mediaKind, kMediaTextList);
    EXPECT_STREQ(record->title, "nom du plimo");
    EXPECT_STREQ(record->creator, " createur");
    for (const char* empty : {record->explanation, record->answerLabel1, record->answerLabel2,
                              record->mediaDir, record->codes[0], record->codes[95]})
        EXPECT_STREQ(empty, "");
    EXPECT_EQ(record->questionCount, 2);
    EXPECT_EQ(record->answerFieldCount, 1);
    EXPECT_EQ(record->rewardKind, kRewardNone);
    EXPECT_EQ(record->finalRewardShown, 0);
    EXPECT_EQ(record->colourRed, 0x5A);
    EXPECT_EQ(record->colourGreen, 0x5F);
    EXPECT_EQ(record->colourBlue, 0x96);
    EXPECT_EQ(record->answerFont, nullptr);
    EXPECT_EQ(record->headerPane, nullptr);
    EXPECT_EQ(record->questions.firstQuestion, nullptr);
    EXPECT_EQ(record->questions.lastQuestion, nullptr);
    EXPECT_EQ(questionAt(*record, 0), nullptr);
}

TEST_F(QuizRecordTest, BrushesAndFonts) {
    auto record = std::make_unique<QuizRecord>();
    expectBrush(record->backgroundBrush, 0x5A, 0x5F, 0x96, "backgroundBrush");
    expectBrush(record->wrongBrush, 255, 0, 0, "wrongBrush");
    expectBrush(record->rightBrush, 0, 255, 0, "rightBrush");
    expectBrush(record->anagramBrush, 255, 100, 0, "anagramBrush");
    expectBrush(record->nearBrush, 255, 203, 38, "nearBrush");
    expectBrush(record->questionTextBrush, 255, 255, 192, "questionTextBrush");

    FontRequest score, title;
    ASSERT_TRUE(fakeFontRequest(record->scoreFont, score));
    EXPECT_EQ(score.height, 25);
    EXPECT_EQ(score.weight, 400);
    EXPECT_FALSE(score.italic);
    ASSERT_TRUE(fakeFontRequest(record->titleFont, title));
    EXPECT_EQ(title.height, -15);
    EXPECT_EQ(title.weight, 700);
    EXPECT_TRUE(title.italic);
    EXPECT_FALSE(title.underline);
}

TEST_F(QuizRecordTest, DestructionReleasesEveryObjectOnce) {
    {
        QuizRecord record;
        record.answerFont = createFont({.height = 15, .weight = 100});
        applyQuizColour(record, 1, 2, 3);
        addQuestion(record, "a", "b", "c");
        addQuestion(record, "d", "e", "f");
    }
    EXPECT_TRUE(fakePlatform().liveBrushes.empty());
    EXPECT_TRUE(fakePlatform().liveFonts.empty());
    EXPECT_EQ(fakePlatform().doubleDeletes, 0);
}

TEST_F(QuizRecordTest, ApplyQuizColourReplacesTheBackgroundBrush) {
    QuizRecord record;
    HBRUSH old = record.backgroundBrush;
    applyQuizColour(record, 0x10, 0x20, 0x30);
    EXPECT_EQ(record.colourRed, 0x10);
    EXPECT_EQ(record.colourGreen, 0x20);
    EXPECT_EQ(record.colourBlue, 0x30);
    FakeBrush colour{};
    EXPECT_FALSE(fakeBrushColour(old, colour)) << "the replaced brush must be deleted";
    expectBrush(record.backgroundBrush, 0x10, 0x20, 0x30, "backgroundBrush");
}

TEST_F(QuizRecordTest, AddQuestionAppendsLinkedNodes) {
    QuizRecord record;
    addQuestion(record, "PARIS", "", "Capitale ?");
    addQuestion(record, "ROME", "ITALIE", "Et celle-ci ?");
    QuestionNode* first = record.questions.firstQuestion;
    QuestionNode* second = record.questions.lastQuestion;
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first, second);
    EXPECT_EQ(first->prev, nullptr);
    EXPECT_EQ(first->next, second);
    EXPECT_EQ(second->prev, first);
    EXPECT_EQ(second->next, nullptr);
    EXPECT_STREQ(second->answer1, "ROME");
    EXPECT_STREQ(second->answer2, "ITALIE");
    EXPECT_STREQ(second->questionText, "Et celle-ci ?");
    EXPECT_STREQ(second->rewardText, "");
}

TEST_F(QuizRecordTest, AddQuestionCutsLongTexts) {
    QuizRecord record;
    std::string longText(400, 'x');
    addQuestion(record, longText.c_str(), longText.c_str(), longText.c_str());
    QuestionNode* node = questionAt(record, 0);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(std::string(node->answer1), std::string(kQuizTextMaxLength, 'x'));
    EXPECT_EQ(strlen(node->questionText), size_t(kQuizTextMaxLength));
}

TEST_F(QuizRecordTest, QuestionAtFallsBackToTheLastNode) {
    QuizRecord record;
    addQuestion(record, "one", "", "");
    addQuestion(record, "two", "", "");
    struct Case {
        int index;
        const char* answer;
    } cases[] = {{0, "one"}, {1, "two"}, {5, "two"}, {95, "two"}, {-1, "one"}};
    for (const Case& c : cases) {
        QuestionNode* node = questionAt(record, c.index);
        ASSERT_NE(node, nullptr) << c.index;
        EXPECT_STREQ(node->answer1, c.answer) << c.index;
    }
}

TEST_F(QuizRecordTest, ClearingTheListNullsBothEnds) {
    QuizRecord record;
    addQuestion(record, "one", "", "");
    addQuestion(record, "two", "", "");
    record.questions.clear();
    EXPECT_EQ(record.questions.firstQuestion, nullptr);
    EXPECT_EQ(record.questions.lastQuestion, nullptr);
    EXPECT_EQ(questionAt(record, 0), nullptr);
    addQuestion(record, "three", "", "");
    EXPECT_STREQ(questionAt(record, 0)->answer1, "three");
}

} // namespace
