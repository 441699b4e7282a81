#include "content/quiz_text.h"
#include "tests/support/platform_fake.h"
#include "tests/support/quiz_text_builder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Bytes = std::vector<uint8_t>;

// Two questions with two answer fields each and message rewards.
QuizTextBuilder twoFieldQuiz() {
    QuizTextBuilder quiz(2, 2, 2);
    quiz.field("Monuments").field("Jeanne").field("Trouvez les noms").field("Ville").field("Pays");
    quiz.field("PARIS").field("FRANCE").field("");
    quiz.field("ROME").field("ITALIE").field("");
    quiz.byte(kRewardMessage);
    quiz.field("Bien vu").field("hidden one").field("Encore").field("hidden two");
    return quiz.colour(0x10, 0x20, 0x30);
}

class QuizTextTest : public testing::Test {
  protected:
    void SetUp() override {
        fakePlatform().reset();
        record = std::make_unique<QuizRecord>();
    }

    QuizTextStatus parse(const Bytes& text) { return parseQuizText(text, *record); }

    void expectUntouched() {
        EXPECT_EQ(record->mediaKind, kMediaTextList);
        EXPECT_EQ(record->questionCount, 2);
        EXPECT_EQ(record->answerFieldCount, 1);
        EXPECT_EQ(record->rewardKind, kRewardNone);
        EXPECT_STREQ(record->title, "nom du plimo");
        EXPECT_EQ(record->colourRed, 0x5A);
        EXPECT_EQ(record->questions.firstQuestion, nullptr);
    }

    std::unique_ptr<QuizRecord> record;
};

TEST_F(QuizTextTest, ReadsEveryPartOfATwoFieldQuiz) {
    ASSERT_EQ(parse(twoFieldQuiz().bytes()), QuizTextStatus::kOk);
    EXPECT_EQ(record->mediaKind, kMediaPictures);
    EXPECT_EQ(record->questionCount, 2);
    EXPECT_EQ(record->answerFieldCount, 2);
    EXPECT_STREQ(record->title, "Monuments");
    EXPECT_STREQ(record->creator, "Jeanne");
    EXPECT_STREQ(record->explanation, "Trouvez les noms");
    EXPECT_STREQ(record->answerLabel1, "Ville");
    EXPECT_STREQ(record->answerLabel2, "Pays");
    EXPECT_EQ(record->rewardKind, kRewardMessage);

    QuestionNode* first = questionAt(*record, 0);
    QuestionNode* second = questionAt(*record, 1);
    ASSERT_NE(first, second);
    EXPECT_STREQ(first->answer1, "PARIS");
    EXPECT_STREQ(first->answer2, "FRANCE");
    EXPECT_STREQ(first->questionText, "");
    EXPECT_STREQ(second->answer1, "ROME");
    EXPECT_STREQ(second->answer2, "ITALIE");
    // Only the first reward text of each question is kept.
    EXPECT_STREQ(first->rewardText, "Bien vu");
    EXPECT_STREQ(second->rewardText, "Encore");
    EXPECT_EQ(second->next, nullptr);

    EXPECT_EQ(record->colourRed, 0x10);
    EXPECT_EQ(record->colourGreen, 0x20);
    EXPECT_EQ(record->colourBlue, 0x30);
    FakeBrush brush{};
    ASSERT_TRUE(fakeBrushColour(record->backgroundBrush, brush));
    EXPECT_EQ(brush.red, 0x10);
    EXPECT_EQ(brush.green, 0x20);
    EXPECT_EQ(brush.blue, 0x30);
}

TEST_F(QuizTextTest, OneFieldQuestionsHoldTwoFields) {
    QuizTextBuilder quiz(1, 2, 1);
    quiz.field("T").field("C").field("E").field("").field("");
    quiz.field("PARIS").field("Capitale de la France ?");
    quiz.field("").field("Question sans r\xE9ponse");
    quiz.byte(kRewardPicture).colour(1, 2, 3);
    ASSERT_EQ(parse(quiz.bytes()), QuizTextStatus::kOk);
    EXPECT_EQ(record->mediaKind, kMediaTextList);
    EXPECT_STREQ(questionAt(*record, 0)->answer1, "PARIS");
    EXPECT_STREQ(questionAt(*record, 0)->answer2, "");
    EXPECT_STREQ(questionAt(*record, 0)->questionText, "Capitale de la France ?");
    EXPECT_STREQ(questionAt(*record, 1)->answer1, "");
    EXPECT_STREQ(questionAt(*record, 1)->questionText, "Question sans r\xE9ponse");
    // A picture reward has no texts: the colour follows the kind byte.
    EXPECT_EQ(record->colourRed, 1);
    EXPECT_EQ(record->colourGreen, 2);
    EXPECT_EQ(record->colourBlue, 3);
}

TEST_F(QuizTextTest, RewardBlocksByKind) {
    struct Case {
        uint8_t kind;
        int textsPerQuestion;
        const char* keptText;
    } cases[] = {
        {0, 0, ""}, {1, 0, ""}, {2, 1, "R1"}, {3, 2, "R1"}, {4, 1, "R1"}, {5, 0, ""}, {255, 0, ""},
    };
    for (const Case& c : cases) {
        SetUp();
        QuizTextBuilder quiz(2, 1, 1);
        quiz.field("T").field("C").field("E").field("L1").field("L2");
        quiz.field("A").field("Q").byte(c.kind);
        for (int i = 0; i < c.textsPerQuestion; ++i)
            quiz.field("R" + std::to_string(i + 1));
        quiz.colour(0xAA, 0xBB, 0xCC);
        ASSERT_EQ(parse(quiz.bytes()), QuizTextStatus::kOk) << int(c.kind);
        EXPECT_EQ(record->rewardKind, c.kind);
        EXPECT_STREQ(questionAt(*record, 0)->rewardText, c.keptText) << int(c.kind);
        EXPECT_EQ(record->colourRed, 0xAA) << int(c.kind);
        EXPECT_EQ(record->colourBlue, 0xCC) << int(c.kind);
    }
}

TEST_F(QuizTextTest, MediaKindIsTheByteLessOne) {
    for (int byte : {0, 1, 2, 3, 4, 5, 255}) {
        SetUp();
        QuizTextBuilder quiz(static_cast<uint8_t>(byte), 0, 1);
        quiz.field("").field("").field("").field("").field("").byte(0).colour(0, 0, 0);
        ASSERT_EQ(parse(quiz.bytes()), QuizTextStatus::kOk);
        EXPECT_EQ(record->mediaKind, byte - 1);
        EXPECT_EQ(record->questionCount, 0);
    }
}

TEST_F(QuizTextTest, EveryShortenedTextIsRefusedAndLeavesTheRecordAlone) {
    const Bytes whole = twoFieldQuiz().bytes();
    for (size_t length = 0; length < whole.size(); ++length) {
        SetUp();
        Bytes cut(whole.begin(), whole.begin() + length);
        EXPECT_EQ(parse(cut), QuizTextStatus::kTruncated) << length << " bytes";
        expectUntouched();
    }
}

TEST_F(QuizTextTest, BytesAfterTheColourAreIgnored) {
    Bytes text = twoFieldQuiz().bytes();
    text.insert(text.end(), {'|', 0, 0xFF, 'x'});
    EXPECT_EQ(parse(text), QuizTextStatus::kOk);
    EXPECT_EQ(record->colourBlue, 0x30);
}

TEST_F(QuizTextTest, LongFieldsAreCutAtTheTextSize) {
    const std::string longTitle(1000, 'T');
    QuizTextBuilder quiz(2, 1, 1);
    quiz.field(longTitle).field("C").field("E").field("").field("");
    quiz.field(std::string(300, 'A')).field("Q").byte(kRewardText).field(std::string(260, 'R'));
    quiz.colour(7, 8, 9);
    ASSERT_EQ(parse(quiz.bytes()), QuizTextStatus::kOk);
    EXPECT_EQ(std::string(record->title), std::string(kQuizTextMaxLength, 'T'));
    EXPECT_STREQ(record->creator, "C");
    EXPECT_EQ(std::string(questionAt(*record, 0)->answer1), std::string(259, 'A'));
    EXPECT_EQ(std::string(questionAt(*record, 0)->rewardText), std::string(259, 'R'));
    EXPECT_EQ(record->colourRed, 7);
}

TEST_F(QuizTextTest, RefusesCountsTheRecordCannotHold) {
    auto quizWith = [](int questions, int fields) {
        QuizTextBuilder quiz(2, static_cast<uint8_t>(questions), static_cast<uint8_t>(fields));
        quiz.field("T").field("C").field("E").field("").field("");
        for (int i = 0; i < questions; ++i) {
            quiz.field("A");
            if (fields == 2)
                quiz.field("B");
            quiz.field("Q");
        }
        return quiz.byte(0).colour(0, 0, 0).bytes();
    };
    struct Case {
        int questions, fields;
        QuizTextStatus expected;
    } cases[] = {
        {96, 1, QuizTextStatus::kOk},
        {96, 2, QuizTextStatus::kOk},
        {97, 1, QuizTextStatus::kTooManyQuestions},
        {255, 2, QuizTextStatus::kTooManyQuestions},
        {3, 0, QuizTextStatus::kBadAnswerFieldCount},
        {3, 3, QuizTextStatus::kBadAnswerFieldCount},
    };
    for (const Case& c : cases) {
        SetUp();
        EXPECT_EQ(parse(quizWith(c.questions, c.fields)), c.expected)
            << c.questions << " x " << c.fields;
        if (c.expected != QuizTextStatus::kOk)
            expectUntouched();
        else
            EXPECT_EQ(record->questionCount, c.questions);
    }
}

TEST_F(QuizTextTest, CodesFillOneEntryPerQuestion) {
    record->questionCount = 3;
    parseQuizCodes(codeLines({"UN", "DEUX", "TROIS", "QUATRE"}), *record);
    EXPECT_STREQ(record->codes[0], "UN");
    EXPECT_STREQ(record->codes[1], "DEUX");
    EXPECT_STREQ(record->codes[2], "TROIS");
    EXPECT_STREQ(record->codes[3], "");
}

TEST_F(QuizTextTest, CodeLinesAreCutAtTheirCarriageReturn) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> codes;
    } cases[] = {
        {"CR then any byte", "ab\rXcd\r\n", {"ab", "cd", ""}},
        {"bare LF is part of the code", "ab\ncd\r\nef\r\n", {"ab\ncd", "ef", ""}},
        {"last code without CR", "ab\r\ncd", {"ab", "cd", ""}},
        {"last code cut after CR", "ab\r\ncd\r", {"ab", "cd", ""}},
        {"fewer lines", "ab\r\n", {"ab", "", ""}},
        {"empty text", "", {"", "", ""}},
        {"empty lines", "\r\n\r\nc\r\n", {"", "", "c"}},
        {"long code", std::string(300, 'z') + "\r\nnext\r\n", {std::string(259, 'z'), "next", ""}},
    };
    for (const Case& c : cases) {
        SetUp();
        record->questionCount = 3;
        parseQuizCodes(Bytes(c.text.begin(), c.text.end()), *record);
        for (size_t s = 0; s < c.codes.size(); ++s)
            EXPECT_EQ(std::string(record->codes[s]), c.codes[s]) << c.name << ", code " << s;
    }
}

TEST_F(QuizTextTest, CodesNeverPassTheTable) {
    record->questionCount = 200; // only a hand-made record can say so
    std::vector<std::string> codes(200, "C");
    parseQuizCodes(codeLines(codes), *record);
    EXPECT_STREQ(record->codes[kMaxQuestions - 1], "C");
}

TEST_F(QuizTextTest, DefaultQuiz) {
    loadDefaultQuiz(*record);
    EXPECT_STREQ(record->title, "Nom du plimo");
    EXPECT_STREQ(record->creator, "Createur plimo");
    EXPECT_STREQ(record->explanation, "Explications du plimo");
    EXPECT_STREQ(record->answerLabel1, "TEST");
    EXPECT_STREQ(record->answerLabel2, "TEST");
    EXPECT_EQ(record->questionCount, 7);
    EXPECT_EQ(record->answerFieldCount, 2);
    EXPECT_EQ(record->rewardKind, kRewardMessage);
    EXPECT_EQ(record->mediaKind, kMediaPictures);
    EXPECT_EQ(record->colourRed, 0x35);
    EXPECT_EQ(record->colourGreen, 0xCB);
    EXPECT_EQ(record->colourBlue, 0xA3);
    FakeBrush brush{};
    ASSERT_TRUE(fakeBrushColour(record->backgroundBrush, brush));
    EXPECT_EQ(brush.green, 0xCB);
    EXPECT_STREQ(record->codes[0], "");

    // Seven questions announced, two nodes held: questions 2 to 7 read the second node.
    QuestionNode* first = questionAt(*record, 0);
    QuestionNode* second = questionAt(*record, 1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first, second);
    EXPECT_EQ(second, record->questions.lastQuestion);
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(questionAt(*record, i), second);
    for (QuestionNode* node : {first, second}) {
        EXPECT_STREQ(node->answer1, "test");
        EXPECT_STREQ(node->answer2, "test");
        EXPECT_STREQ(node->questionText, "emplacement");
        EXPECT_STREQ(node->rewardText, "");
    }
}

} // namespace
