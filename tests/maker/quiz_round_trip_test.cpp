#include "content/lzw_codec.h"
#include "content/quiz_text.h"
#include "maker/folder_writer.h"
#include "maker/quiz_reader.h"
#include "maker/quiz_starter.h"
#include "maker/quiz_writer.h"
#include "maker/toml_writer.h"
#include "tests/maker/maker_test_support.h"
#include "tests/support/quiz_text_builder.h"

#include <memory>

namespace {

QuizSource goodSource(const std::string& toml) {
    Diagnostics found;
    QuizSource quiz = parseQuizSource(toml, "quiz.toml", kData, found);
    EXPECT_FALSE(found.hasErrors()) << formatDiagnostic(found.all().at(0));
    return quiz;
}

QuizResources build(const QuizSource& quiz) {
    Diagnostics found;
    std::optional<QuizResources> resources = buildQuizResources(quiz, found);
    EXPECT_TRUE(resources) << formatDiagnostic(found.all().at(0));
    return resources.value_or(QuizResources{});
}

std::vector<uint8_t> decoded(const std::optional<std::vector<uint8_t>>& stream) {
    std::vector<uint8_t> text;
    EXPECT_EQ(lzwDecode(stream.value_or(std::vector<uint8_t>{}), text), kLzwOk);
    return text;
}

// A quiz of three questions in one layout, with one kind of reward and one or two answers, its
// texts in every kind of string, with letters beyond ASCII in them and in comments.
std::string sourceOf(const std::string& layout, const std::string& reward, bool twoAnswers) {
    std::string toml = "\xEF\xBB\xBF# R\xC3\xA9ponses \xC3\xA7\x61\n"
                       "title = \"Le \\\"quiz\\\"\\\\\\t\\n\\u0001\\u007f\\u0081 \\u20ac\"\n"
                       "creator = ''' L'\xC3\xA9quipe \"\\d\" '''\n"
                       "explanation = 'Tr\xC3\xA8s \"bien\"' # \xC3\xA7\x61\n"
                       "colour = \"#ff0080\"\ncodes = [\"UN\", \"DEUX\"]\nlayout = \"" +
                       layout + "\"\nreward = \"" + reward + "\"\n" +
                       (twoAnswers ? "answer_labels = [\"Gauche\", \"Droite\"]\n" : "");
    const char* rows[][3] = {{"PARIS", "FRANCE", "picture = \"q1.jpg\"\n"},
                             {"LONDRES", "ANGLETERRE", "picture = \"q2.bmp\"\n"},
                             {"\xC3\x89T\xC3\x89", "HIVER", "picture = \"q3.gif\"\n"}};
    const std::string clip = layout == "sound"   ? "sound = \"clip.mp3\"\n"
                             : layout == "video" ? "video = \"clip.avi\"\n"
                                                 : "";
    for (int i = 0; i < 3; ++i) {
        const std::string n = std::to_string(i + 1), answer = rows[i][0];
        toml += "[[question]]\ntext = \"\"\"Question \"" + n +
                "\" \\\n  \xC3\xA0 la ligne\"\"\"\n" +
                (twoAnswers ? "answers = [\"" + answer + "\", \"" + rows[i][1] + "\"]\n"
                            : "answer = \"" + answer + "\"\n") +
                (layout == "pictures" ? rows[i][2] : clip) +
                (reward == "none" || reward == "picture"
                     ? ""
                     : "reward_text = \"R\\u00e9ponse " + n + "\"\n") +
                (reward == "picture" && i != 1 ? "reward_picture = \"r1.jpg\"\n" : "") +
                // Turned by hand: a turn lost on the way back would store other pictures.
                (layout == "pictures" && i == 0 ? "turn = 90\n" : "") +
                (reward == "picture" && i == 2 ? "reward_turn = 270\n" : "");
    }
    return toml;
}

TEST(QuizWriter, EveryShapeOfQuizComesBackThroughThePlayerAndThroughTheSource) {
    const struct {
        const char *layout, *reward;
        bool twoAnswers;
        int mediaKind, rewardKind;
    } shapes[] = {{"text list", "none", false, 0, 0},
                  {"pictures", "picture", true, 1, 1},
                  {"pictures", "text", false, 1, 2},
                  {"video", "message", true, 3, 3},
                  {"sound", "final", false, 2, 4}};
    for (const auto& shape : shapes) {
        SCOPED_TRACE(std::string(shape.layout) + ", " + shape.reward);
        const QuizSource quiz = goodSource(sourceOf(shape.layout, shape.reward, shape.twoAnswers));
        const QuizResources resources = build(quiz);
        auto record = std::make_unique<QuizRecord>();
        ASSERT_EQ(parseQuizText(decoded(resources.quizText), *record), QuizTextStatus::kOk);
        parseQuizCodes(decoded(resources.quizCodes), *record);
        EXPECT_EQ(std::tuple(record->mediaKind, record->rewardKind, record->questionCount,
                             record->answerFieldCount, record->colourRed, record->colourGreen,
                             record->colourBlue),
                  std::tuple(shape.mediaKind, shape.rewardKind, 3, shape.twoAnswers ? 2 : 1, 0xFF,
                             0x00, 0x80));
        // The shorter code table is padded, so the player still finds one line per question.
        const QuestionNode *second = questionAt(*record, 1), *third = questionAt(*record, 2);
        ASSERT_TRUE(second && third);
        EXPECT_EQ(std::vector<std::string>({record->title, record->creator, record->explanation,
                                            record->answerLabel2, record->codes[1],
                                            record->codes[2], second->questionText,
                                            second->rewardText, second->answer2, third->answer1}),
                  std::vector<std::string>(
                      {"Le \"quiz\"\\\t\n\x01\x7F\x81 \x80", " L'\xE9quipe \"\\d\" ",
                       "Tr\xE8s \"bien\"", shape.twoAnswers ? "Droite" : "", "DEUX", "",
                       "Question \"2\" \xE0 la ligne", shape.rewardKind >= 2 ? "R\xE9ponse 2" : "",
                       shape.twoAnswers ? "ANGLETERRE" : "", "\xC9T\xC9"}));

        // What extract reads from an executable, and the source it writes, build the same quiz.
        Diagnostics found;
        std::optional<QuizSource> back = quizFromResources(resources, "quiz.exe", found);
        ASSERT_TRUE(back);
        EXPECT_TRUE(found.all().empty());
        EXPECT_EQ(quizTextBytes(*back), quizTextBytes(quiz));
        EXPECT_EQ(quizCodesBytes(*back), quizCodesBytes(quiz));
        // The comment names the executable, whose name may hold anything.
        EXPECT_EQ(build(goodSource(writeQuizToml(quiz, "from a\nb\x1B\xFF.exe"))), resources);
    }
}

// An undefined byte is shown as its escape rather than an invisible control character.
TEST(TomlWriter, ShowsUndefinedBytesAsEscapes) {
    EXPECT_EQ(tomlString("\xE9\x80x\x81y\x9D"), "\"\xC3\xA9\xE2\x82\xACx\\u0081y\\u009D\"");
}

TEST(QuizWriter, RefusesAQuizTooLongForThePlayersCodec) {
    // 96 questions of three 259-byte texts each and a message reward: over 65535 bytes.
    QuizSource quiz = goodSource(sourceOf("text list", "message", false));
    QuestionSource question = quiz.questions[0];
    question.text.value = question.rewardText.value = std::string(kQuizTextMaxLength, 'x');
    question.answers[0] = question.text;
    quiz.questions.assign(kMaxQuestions, question);
    Diagnostics found;
    EXPECT_FALSE(buildQuizResources(quiz, found));
    EXPECT_THAT(lines(found, Severity::kError),
                testing::ElementsAre(
                    testing::AllOf(StartsWith("quiz.toml:1: quiz text: "), HasSubstr("65535"))));
}

// A name that gives no answer a player can type leaves it to the author, and a link out of the
// folder is left out: the rest of the folder still makes a quiz, which builds once the answers
// are written.
TEST(QuizStarter, LeavesWhatNamesCannotGiveToTheAuthor) {
    TemporaryFolder scratch;
    for (const char* name : {"-.jpg", "a\x1B[2J.jpg", "Tour_Eiffel.jpg"})
        fs::copy_file(kData / "q1.jpg", scratch / name);
    fs::create_symlink(kData / "q2.bmp", scratch / "b.bmp");
    Diagnostics found;
    const StarterCounts counts = writeStarterSource(scratch.path(), false, found);
    EXPECT_EQ(std::pair(counts.questions, counts.answersToWrite), std::pair(3, 2));
    EXPECT_THAT(lines(found, Severity::kWarning),
                testing::ElementsAre(scratch.file("b.bmp") +
                                     ": file: warning: links outside the folder: left out"));
    // Each empty answer is refused on the line of the comment that asks for it.
    const std::string toml = readFileContent(scratch / "quiz.toml");
    auto refusal = [&](const std::string& name, const std::string& field) {
        const size_t at = toml.find("answer = \"\"   # " + name + ": write the answer here\n");
        return scratch.file("quiz.toml:") +
               std::to_string(
                   std::count(toml.begin(), toml.begin() + std::min(at, toml.size()), '\n') + 1) +
               ": " + field + ": empty: write the answer for \"" + name + "\"";
    };
    Diagnostics built;
    readQuizSource(scratch.file("quiz.toml"), built);
    EXPECT_THAT(lines(built, Severity::kError),
                testing::ElementsAre(refusal("-.jpg", "question[1].answer"),
                                     refusal("a\\u001b[2J.jpg", "question[2].answer")))
        << toml;
    // Codes are optional: a quiz as written, without them, is no doubt.
    EXPECT_THAT(lines(built, Severity::kWarning), testing::IsEmpty());
}

// Damaged resources give a message that names them, never a crash.
TEST(QuizReader, NamesTheExecutableAndTheResourceOfEachFault) {
    auto oneQuestion = [](uint8_t mediaByte, uint8_t rewardKind) {
        QuizTextBuilder text(mediaByte, 1, 1);
        text.field("T").field("").field("").field("").field("").field("A").field("Q");
        return encoded(text.byte(rewardKind).colour(1, 2, 3).bytes());
    };
    const std::pair<std::optional<std::vector<uint8_t>>, std::string> rows[] = {
        {std::nullopt, "quiz.exe: PATCH 104: missing"},
        {std::vector<uint8_t>{}, "built-in"},
        {std::vector<uint8_t>{0x30, 0xC0}, "decoded"},
        {encoded({0, 1, 1, 1, 'T', '|'}), "ends before"},
        {oneQuestion(5, 0), "quiz.exe: PATCH 104: unknown layout 5"},
        {oneQuestion(0, 0), "layout 0"},
        {oneQuestion(1, 7), "reward kind 7"},
        {oneQuestion(1, 0), "quiz.exe: PATCH 105: warning: missing: the player shows no codes"},
    };
    const std::optional<std::vector<uint8_t>> codes = encoded(codeLines({"C"}));
    for (const auto& [text, said] : rows) {
        Diagnostics found;
        const bool noCodes = said.starts_with("quiz.exe: PATCH 105");
        const std::optional<QuizSource> quiz =
            quizFromResources({text, noCodes ? std::nullopt : codes, {}}, "quiz.exe", found);
        ASSERT_EQ(found.all().size(), 1u) << said;
        EXPECT_THAT(formatDiagnostic(found.all()[0]), HasSubstr(said));
        EXPECT_EQ(quiz.has_value(), !found.hasErrors()) << said;
    }
}

// The resource folder holds the script and every file it names; what extract writes from the
// resources of an executable builds them again, byte for byte.
TEST(QuizFolders, HoldWhatTheBuildNeedsAndWarnOfMissingAndUnusedPictures) {
    QuizResources resources = build(goodSource(sourceOf("pictures", "picture", false)));
    TemporaryFolder scratch;
    Diagnostics found, again;
    ASSERT_TRUE(writeResourceFolder(resources, kMediaPictures, scratch / "out/rc", false, found));
    EXPECT_EQ(readFileContent(scratch / "out/rc/quiz.rc"),
              "// The resources of one quiz, made by plimo-maker. Compile this script with windres "
              "from\n// its own folder (or with --include-dir naming it) and link it into a copy "
              "of the\n// player.\nLANGUAGE 0, 0\n\n104 PATCH \"quiz_text.bin\"\n"
              "105 PATCH \"quiz_codes.bin\"\n401 IMG \"media_401.jpg\"\n402 IMG \"media_402.bmp\"\n"
              "403 IMG \"media_403.gif\"\n10401 IMG \"reward_10401.jpg\"\n"
              "10403 IMG \"reward_10403.jpg\"\n");
    EXPECT_EQ(readBytes(scratch / "out/rc/media_402.bmp"), readBytes(kData / "q2.bmp"));
    std::optional<QuizSource> stored = quizFromResources(resources, "quiz.exe", found);
    ASSERT_TRUE(stored && writeSourceFolder(*stored, resources, scratch / "quiz", false, found));
    EXPECT_TRUE(found.all().empty());
    EXPECT_EQ(build(readQuizSource((scratch / "quiz/quiz.toml").string(), again)), resources);
    EXPECT_FALSE(again.hasErrors());

    resources.images.erase(402);
    resources.images[10499] = resources.images.at(401);
    ASSERT_TRUE(writeSourceFolder(*stored, resources, scratch / "two", false, found));
    EXPECT_THAT(
        lines(found, Severity::kWarning),
        testing::ElementsAre(StartsWith("quiz.exe: question[2].picture: warning: no IMG 402"),
                             StartsWith("quiz.exe: IMG 10499: warning: ")));
    EXPECT_FALSE(fs::exists(scratch / "two/reward_10499.jpg"));
}

} // namespace
