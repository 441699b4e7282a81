#include "content/lzw_codec.h"
#include "content/quiz_text.h"
#include "maker/quiz_reader.h"
#include "maker/quiz_writer.h"
#include "maker/toml_writer.h"
#include "tests/maker/maker_test_support.h"
#include "tests/support/quiz_text_builder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using testing::HasSubstr;
using testing::StartsWith;

// Parses a source that must be free of errors.
QuizSource goodSource(const std::string& toml) {
    ParsedSource parsed = parseSource(toml);
    EXPECT_FALSE(parsed.diagnostics.hasErrors()) << testing::PrintToString(parsed.errors());
    return parsed.quiz;
}

QuizResources build(const QuizSource& quiz) {
    Diagnostics diagnostics;
    std::optional<QuizResources> resources = buildQuizResources(quiz, diagnostics);
    EXPECT_TRUE(resources) << formatDiagnostic(diagnostics.all().at(0));
    return resources.value_or(QuizResources{});
}

std::vector<uint8_t> decode(const std::optional<std::vector<uint8_t>>& stream) {
    std::vector<uint8_t> text;
    EXPECT_TRUE(stream.has_value());
    EXPECT_EQ(lzwDecode(stream.value_or(std::vector<uint8_t>{}), text), kLzwOk);
    return text;
}

const char* const kMonuments = R"(title = "Monuments de France"
creator = "Jeanne"
explanation = "Trouvez la ville et le pays"
layout = "pictures"
colour = "#102030"
answer_labels = ["Ville", "Pays"]
reward = "message"
codes = ["ABC", "D\u00c9F"]

[[question]]
answers = ["PARIS", "FRANCE"]
picture = "q1.jpg"
reward_text = "Bien vu"

[[question]]
answers = ["ROME", "ITALIE"]
text = "Le Colis\u00e9e"
picture = "q3.gif"
reward_text = "Encore"
)";

TEST(QuizWriter, LaysOutTheQuizTextAsThePlayerReadsIt) {
    QuizTextBuilder expected(2, 2, 2);
    expected.field("Monuments de France").field("Jeanne").field("Trouvez la ville et le pays");
    expected.field("Ville").field("Pays");
    expected.field("PARIS").field("FRANCE").field("");
    expected.field("ROME").field("ITALIE").field("Le Colis\xE9"
                                                 "e");
    // A message reward: each question's text, then a second field that is written empty.
    expected.byte(kRewardMessage).field("Bien vu").field("").field("Encore").field("");
    expected.colour(0x10, 0x20, 0x30);
    EXPECT_EQ(quizTextBytes(goodSource(kMonuments)), expected.bytes());
}

TEST(QuizWriter, WritesOneCodeLinePerQuestion) {
    QuizSource quiz = goodSource(kMonuments);
    EXPECT_EQ(quizCodesBytes(quiz), codeLines({"ABC", "D\xC9"
                                                      "F"}));
    // A shorter table is padded with empty lines, so the player still finds one per question.
    quiz.codes.pop_back();
    EXPECT_EQ(quizCodesBytes(quiz), codeLines({"ABC", ""}));
    quiz.codes.clear();
    EXPECT_EQ(quizCodesBytes(quiz), codeLines({"", ""}));
}

TEST(QuizWriter, StoresEveryPictureUnderItsQuestionsIdentifier) {
    const QuizResources resources = build(goodSource(kMonuments));
    ASSERT_EQ(resources.images.size(), 2u);
    EXPECT_EQ(resources.images.at(401), readBytes(testData() / "q1.jpg"));
    EXPECT_EQ(resources.images.at(402), readBytes(testData() / "q3.gif"));
}

TEST(QuizWriter, KeepPicturesStoresTheFilesAsTheyAre) {
    const QuizSource quiz =
        goodSource("title = \"T\"\nlayout = \"pictures\"\ncodes = [\"C\"]\n"
                   "[[question]]\nanswer = \"A\"\npicture = \"progressive.jpg\"\n");
    Diagnostics diagnostics;
    std::optional<QuizResources> kept =
        buildQuizResources(quiz, diagnostics, MediaHandling::kKeepPictures);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->images.at(401), readBytes(testData() / "progressive.jpg"));
}

struct BadPicture {
    const char* name;
    const char* picture;
    const char* rewardPicture;
    MediaHandling handling;
    std::string error;
};

void PrintTo(const BadPicture& row, std::ostream* out) {
    *out << row.name;
}

class PictureErrors : public testing::TestWithParam<BadPicture> {};

TEST_P(PictureErrors, NameTheLineTheFieldAndTheFile) {
    const BadPicture& row = GetParam();
    const QuizSource quiz =
        goodSource(std::string("title = \"T\"\nlayout = \"pictures\"\nreward = \"picture\"\n"
                               "codes = [\"C\"]\n[[question]]\nanswer = \"A\"\npicture = \"") +
                   row.picture + "\"\nreward_picture = \"" + row.rewardPicture + "\"\n");
    Diagnostics diagnostics;
    EXPECT_FALSE(buildQuizResources(quiz, diagnostics, row.handling));
    ASSERT_EQ(diagnostics.all().size(), 1u);
    EXPECT_THAT(formatDiagnostic(diagnostics.all()[0]), StartsWith(row.error));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PictureErrors,
    testing::Values(
        BadPicture{"text_as_picture", "not_a_picture.jpg", "r1.jpg",
                   MediaHandling::kPreparePictures,
                   "quiz.toml:7: question[1].picture: \"not_a_picture.jpg\" is not a picture "
                   "that the maker reads"},
        BadPicture{"clip_as_reward_picture", "q1.jpg", "clip.mp3", MediaHandling::kPreparePictures,
                   "quiz.toml:8: question[1].reward_picture: \"clip.mp3\" is not a picture"},
        BadPicture{"png_kept", "q4.png", "r1.jpg", MediaHandling::kKeepPictures,
                   "quiz.toml:7: question[1].picture: \"q4.png\" is not a JPEG, BMP or GIF "
                   "picture, which --keep-pictures stores as it is"}),
    [](const testing::TestParamInfo<BadPicture>& info) { return info.param.name; });

// One quiz per layout and reward kind, with one or two answers per question.
struct Shape {
    const char* layout;
    const char* reward;
    bool twoAnswers;
};

void PrintTo(const Shape& shape, std::ostream* out) {
    *out << shape.layout << ", reward " << shape.reward
         << (shape.twoAnswers ? ", two answers" : "");
}

std::string sourceOf(const Shape& shape) {
    const std::string layout = shape.layout;
    const std::string reward = shape.reward;
    std::string toml = "title = \"Le quiz \\u20ac\"\ncreator = \" Moi \"\nexplanation = \"\"\n"
                       "layout = \"" +
                       layout + "\"\ncolour = \"#FF0080\"\nreward = \"" + reward +
                       "\"\ncodes = [\"UN\", \"\", \"TROIS\"]\n";
    if (shape.twoAnswers)
        toml += "answer_labels = [\"Gauche\", \"Droite\"]\n";
    const char* media[] = {"q1.jpg", "q2.bmp", "q3.gif"};
    const char* answers[][2] = {{"PARIS", "FRANCE"}, {"LONDRES", "ANGLETERRE"}, {"ÉTÉ", "HIVER"}};
    for (int i = 0; i < 3; ++i) {
        toml += "\n[[question]]\n";
        if (shape.twoAnswers)
            toml +=
                "answers = [\"" + std::string(answers[i][0]) + "\", \"" + answers[i][1] + "\"]\n";
        else
            toml += "answer = \"" + std::string(answers[i][0]) + "\"\n";
        toml += "text = \"Question \\\"" + std::to_string(i + 1) + "\\\"\"\n";
        if (layout == "pictures")
            toml += "picture = \"" + std::string(media[i]) + "\"\n";
        else if (layout == "sound")
            toml += "sound = \"clip.mp3\"\n";
        else if (layout == "video")
            toml += "video = \"clip.avi\"\n";
        if (reward == "text" || reward == "message" || reward == "final")
            toml += "reward_text = \"R\\u00e9compense " + std::to_string(i + 1) + "\"\n";
        if (reward == "picture" && i != 1)
            toml += "reward_picture = \"r1.jpg\"\n";
    }
    return toml;
}

class RoundTrip : public testing::TestWithParam<Shape> {};

TEST_P(RoundTrip, ThePlayersParserGetsBackEveryValue) {
    const QuizSource quiz = goodSource(sourceOf(GetParam()));
    const QuizResources resources = build(quiz);

    auto record = std::make_unique<QuizRecord>();
    ASSERT_EQ(parseQuizText(decode(resources.quizText), *record), QuizTextStatus::kOk);
    parseQuizCodes(decode(resources.quizCodes), *record);

    EXPECT_EQ(record->mediaKind, quiz.layout.value);
    EXPECT_EQ(record->rewardKind, quiz.reward.value);
    EXPECT_EQ(record->questionCount, 3);
    EXPECT_EQ(record->answerFieldCount, GetParam().twoAnswers ? 2 : 1);
    EXPECT_STREQ(record->title, "Le quiz \x80");
    EXPECT_STREQ(record->creator, " Moi ");
    EXPECT_STREQ(record->explanation, "");
    EXPECT_STREQ(record->answerLabel1, GetParam().twoAnswers ? "Gauche" : "");
    EXPECT_STREQ(record->answerLabel2, GetParam().twoAnswers ? "Droite" : "");
    EXPECT_EQ(record->colourRed, 0xFF);
    EXPECT_EQ(record->colourGreen, 0x00);
    EXPECT_EQ(record->colourBlue, 0x80);
    EXPECT_STREQ(record->codes[0], "UN");
    EXPECT_STREQ(record->codes[1], "");
    EXPECT_STREQ(record->codes[2], "TROIS");
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("question " + std::to_string(i + 1));
        const QuestionNode* node = questionAt(*record, i);
        ASSERT_NE(node, nullptr);
        const QuestionSource& question = quiz.questions[i];
        EXPECT_EQ(node->answer1, question.answers[0].value);
        EXPECT_EQ(node->answer2, GetParam().twoAnswers ? question.answers[1].value : "");
        EXPECT_EQ(node->questionText, "Question \"" + std::to_string(i + 1) + "\"");
        EXPECT_EQ(node->rewardText, rewardHasText(quiz.reward.value) ? "R\xE9"
                                                                       "compense " +
                                                                           std::to_string(i + 1)
                                                                     : std::string());
    }
    EXPECT_STREQ(questionAt(*record, 2)->answer1, "\xC9T\xC9");
}

TEST_P(RoundTrip, ReadingTheResourcesBackGivesTheSameQuiz) {
    QuizSource quiz = goodSource(sourceOf(GetParam()));
    const QuizResources resources = build(quiz);
    Diagnostics diagnostics;
    std::optional<QuizSource> back = quizFromResources(resources, "quiz.exe", diagnostics);
    ASSERT_TRUE(back);
    EXPECT_TRUE(diagnostics.all().empty());
    // Resources name no files: the pictures and clips stay in the resources.
    for (QuestionSource& question : quiz.questions)
        question.media = question.rewardPicture = {};
    expectSameQuiz(quiz, *back);
}

TEST_P(RoundTrip, TheWrittenSourceBuildsTheSameStoredQuiz) {
    const QuizSource quiz = goodSource(sourceOf(GetParam()));
    const std::string toml = writeQuizToml(quiz, "written by a test");
    const QuizSource again = goodSource(toml);
    expectSameQuiz(quiz, again);
    EXPECT_EQ(build(again), build(quiz)) << toml;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, RoundTrip,
    testing::Values(Shape{"text list", "none", false}, Shape{"text list", "message", true},
                    Shape{"pictures", "picture", true}, Shape{"pictures", "text", false},
                    Shape{"sound", "final", false}, Shape{"video", "message", true},
                    Shape{"video", "none", true}),
    [](const testing::TestParamInfo<Shape>& info) {
        std::string name = std::string(info.param.layout) + "_" + info.param.reward +
                           (info.param.twoAnswers ? "_two_answers" : "_one_answer");
        for (char& c : name) {
            if (c == ' ')
                c = '_';
        }
        return name;
    });

TEST(TomlWriter, EscapesWhatATomlStringCannotHoldAsItIs) {
    EXPECT_EQ(tomlString("plain"), "\"plain\"");
    EXPECT_EQ(tomlString("say \"hi\"\\"), "\"say \\\"hi\\\"\\\\\"");
    EXPECT_EQ(tomlString("a\tb\nc\rd\x01\x7F"), "\"a\\tb\\nc\\rd\\u0001\\u007F\"");
    EXPECT_EQ(tomlString("\xE9\x80"), "\"\xC3\xA9\xE2\x82\xAC\"");
    // An undefined byte is shown as its escape rather than an invisible control character.
    EXPECT_EQ(tomlString("x\x81y\x9D"), "\"x\\u0081y\\u009D\"");
}

TEST(TomlWriter, KeepsEveryByteOfEveryTextThroughTheSource) {
    // Every byte the stored quiz can hold in a text: all but NUL, CR in codes, and '|'.
    std::string bytes;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '|' && byte != '\r')
            bytes.push_back(static_cast<char>(byte));
    }
    QuizSource quiz = goodSource(kMonuments);
    quiz.title.value = bytes.substr(0, 128);
    quiz.creator.value = bytes.substr(128);
    quiz.questions[0].answers[1].value = " \t trailing ";
    quiz.codes[0].value = bytes.substr(60, 100);
    quiz.questions[1].rewardText.value = "line\nbreak";

    ParsedSource again = parseSource(writeQuizToml(quiz));
    EXPECT_FALSE(again.diagnostics.hasErrors()) << testing::PrintToString(again.errors());
    expectSameQuiz(quiz, again.quiz);
    EXPECT_EQ(quizTextBytes(again.quiz), quizTextBytes(quiz));
    EXPECT_EQ(quizCodesBytes(again.quiz), quizCodesBytes(quiz));
}

TEST(QuizWriter, RefusesAQuizTooLongForThePlayersCodec) {
    // 96 questions of three 259-byte texts each and a message reward: over 65535 bytes.
    QuizSource quiz;
    quiz.file = "big.toml";
    quiz.reward.value = kRewardMessage;
    const std::string longest(kQuizTextMaxLength, 'x');
    for (int i = 0; i < kMaxQuestions; ++i) {
        QuestionSource question;
        question.answers = {{longest, 0}};
        question.text.value = question.rewardText.value = longest;
        quiz.questions.push_back(question);
    }
    Diagnostics diagnostics;
    EXPECT_FALSE(buildQuizResources(quiz, diagnostics));
    ASSERT_EQ(diagnostics.all().size(), 1u);
    EXPECT_THAT(formatDiagnostic(diagnostics.all()[0]), StartsWith("big.toml:1: quiz text: "));
    EXPECT_THAT(diagnostics.all()[0].message, HasSubstr("65535"));
}

// Resources that are not a quiz the maker could have made.
struct BadResources {
    const char* name;
    std::optional<std::vector<uint8_t>> quizText;
    std::string mention;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const BadResources& row, std::ostream* out) {
    *out << row.name;
}

std::vector<uint8_t> encoded(const std::vector<uint8_t>& text) {
    std::vector<uint8_t> stream;
    EXPECT_EQ(lzwEncode(text, stream), kLzwOk);
    return stream;
}

std::vector<uint8_t> oneQuestionText(uint8_t mediaByte, uint8_t rewardKind) {
    QuizTextBuilder text(mediaByte, 1, 1);
    text.field("T").field("").field("").field("").field("").field("A").field("Q");
    return text.byte(rewardKind).colour(1, 2, 3).bytes();
}

class ResourceErrors : public testing::TestWithParam<BadResources> {};

TEST_P(ResourceErrors, NameTheExecutableAndTheResource) {
    QuizResources resources;
    resources.quizText = GetParam().quizText;
    resources.quizCodes = encoded(codeLines({"C"}));
    Diagnostics diagnostics;
    EXPECT_FALSE(quizFromResources(resources, "quiz.exe", diagnostics));
    ASSERT_EQ(diagnostics.all().size(), 1u);
    const std::string line = formatDiagnostic(diagnostics.all()[0]);
    EXPECT_THAT(line, StartsWith("quiz.exe: PATCH 104: "));
    EXPECT_THAT(line, HasSubstr(GetParam().mention));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ResourceErrors,
    testing::Values(BadResources{"missing", std::nullopt, "built-in"},
                    BadResources{"empty", std::vector<uint8_t>{}, "built-in"},
                    BadResources{"not_a_stream", std::vector<uint8_t>{0x30, 0xC0}, "decoded"},
                    BadResources{"truncated", encoded({0, 1, 1, 1, 'T', '|'}), "ends before"},
                    BadResources{"layout_byte_5", encoded(oneQuestionText(5, 0)), "layout 5"},
                    BadResources{"layout_byte_0", encoded(oneQuestionText(0, 0)), "layout 0"},
                    BadResources{"reward_kind_7", encoded(oneQuestionText(1, 7)), "reward kind 7"}),
    [](const testing::TestParamInfo<BadResources>& info) { return info.param.name; });

TEST(QuizReader, AQuizWithoutCodesIsReadWithAWarning) {
    QuizResources resources;
    resources.quizText = encoded(oneQuestionText(1, 0));
    Diagnostics diagnostics;
    std::optional<QuizSource> quiz = quizFromResources(resources, "quiz.exe", diagnostics);
    ASSERT_TRUE(quiz);
    ASSERT_EQ(diagnostics.all().size(), 1u);
    EXPECT_EQ(formatDiagnostic(diagnostics.all()[0]),
              "quiz.exe: PATCH 105: warning: missing: the player shows no codes");
    EXPECT_EQ(quiz->title.value, "T");
    EXPECT_EQ(quiz->colour.value, (QuizColour{1, 2, 3}));
    ASSERT_EQ(quiz->codes.size(), 1u);
    EXPECT_EQ(quiz->codes[0].value, "");
}

} // namespace
