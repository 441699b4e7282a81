#include "tests/maker/maker_test_support.h"

#include "content/quiz_record.h"

#include <gtest/gtest.h>

namespace {

using testing::HasSubstr;
using testing::StartsWith;

// A text list with every header field, message rewards and accents.
const char* const kCapitals = R"(title = "Les capitales"
creator = "Jeanne"
explanation = "Trouvez la capitale de chaque pays"
layout = "text list"
colour = "#10a0Ff"
reward = "message"
codes = ["CODE1", "CODE2"]

[[question]]
text = "Capitale de la France ?"
answer = "PARIS"
reward_text = "Bravo !"

[[question]]
text = "Capitale de l'Italie ?"
answer = "ROME"
reward_text = "Très bien"
)";

TEST(SourceReader, ReadsEveryValueOfATextList) {
    ParsedSource parsed = parseSource(kCapitals);
    ASSERT_TRUE(parsed.diagnostics.all().empty()) << testing::PrintToString(parsed.errors());
    const QuizSource& quiz = parsed.quiz;
    EXPECT_EQ(quiz.title.value, "Les capitales");
    EXPECT_EQ(quiz.title.line, 1);
    EXPECT_EQ(quiz.creator.value, "Jeanne");
    EXPECT_EQ(quiz.explanation.value, "Trouvez la capitale de chaque pays");
    EXPECT_EQ(quiz.layout.value, kMediaTextList);
    EXPECT_EQ(quiz.layout.line, 4);
    EXPECT_EQ(quiz.colour.value, (QuizColour{0x10, 0xA0, 0xFF}));
    EXPECT_EQ(quiz.reward.value, kRewardMessage);
    EXPECT_EQ(quiz.answerFieldCount, 1);
    ASSERT_EQ(quiz.codes.size(), 2u);
    EXPECT_EQ(quiz.codes[1].value, "CODE2");
    ASSERT_EQ(quiz.questions.size(), 2u);
    EXPECT_EQ(quiz.questions[0].line, 9);
    EXPECT_EQ(quiz.questions[0].text.value, "Capitale de la France ?");
    ASSERT_EQ(quiz.questions[1].answers.size(), 1u);
    EXPECT_EQ(quiz.questions[1].answers[0].value, "ROME");
    EXPECT_EQ(quiz.questions[1].answers[0].line, 16);
    EXPECT_EQ(quiz.questions[1].rewardText.value, "Tr\xE8s bien");
}

TEST(SourceReader, ReadsAPictureQuizWithTwoAnswersAndRewardPictures) {
    ParsedSource parsed = parseSource(R"(title = "Monuments"
layout = "pictures"
answer_labels = ["Ville", "Pays"]
reward = "picture"
codes = ["A", "B"]

[[question]]
answers = ["PARIS", "FRANCE"]
picture = "q1.jpg"
reward_picture = "r1.jpg"

[[question]]
answers = ["LONDRES", "ANGLETERRE"]
picture = "q2.bmp"
)");
    ASSERT_TRUE(parsed.diagnostics.all().empty()) << testing::PrintToString(parsed.errors());
    const QuizSource& quiz = parsed.quiz;
    EXPECT_EQ(quiz.layout.value, kMediaPictures);
    EXPECT_EQ(quiz.answerFieldCount, 2);
    EXPECT_EQ(quiz.answerLabels[0].value, "Ville");
    EXPECT_EQ(quiz.answerLabels[1].value, "Pays");
    EXPECT_EQ(quiz.reward.value, kRewardPicture);
    EXPECT_EQ(quiz.questions[0].answers[1].value, "FRANCE");
    EXPECT_EQ(quiz.questions[0].media.path, "q1.jpg");
    EXPECT_EQ(quiz.questions[0].media.line, 9);
    EXPECT_EQ(quiz.questions[0].rewardPicture.path, "r1.jpg");
    EXPECT_FALSE(quiz.questions[1].rewardPicture.present());
    // The colour that nobody chose is the player's own default.
    EXPECT_EQ(quiz.colour.value, (QuizColour{0x35, 0xCB, 0xA3}));
}

TEST(SourceReader, CountsTheLengthOfATextInWindows1252Bytes) {
    // 259 accented letters are 518 bytes of UTF-8 but 259 bytes in the player.
    std::string longest;
    for (int i = 0; i < kQuizTextMaxLength; ++i)
        longest += "\xC3\xA9";
    ParsedSource parsed =
        parseSource("title = \"" + longest +
                    "\"\nlayout = \"text list\"\n"
                    "codes = [\"C\"]\n[[question]]\ntext = \"\"\nanswer = \"A\"\n");
    EXPECT_TRUE(parsed.errors().empty()) << testing::PrintToString(parsed.errors());
    EXPECT_EQ(parsed.quiz.title.value.size(), static_cast<size_t>(kQuizTextMaxLength));
}

TEST(SourceReader, TakesLettersBeyondAsciiInEveryKindOfStringAndComment) {
    ParsedSource parsed = parseSource("\xEF\xBB\xBF# R\xC3\xA9ponses\n"
                                      "title = \"\"\"L'\"\xC3\xA9t\xC3\xA9\" \"\"\" # \xC3\xA7"
                                      "a\n"
                                      "creator = '''L'\xC3\xA9quipe'''\n"
                                      "explanation = 'Tr\xC3\xA8s \"bien\" \\d'\n"
                                      "layout = \"text list\"\n"
                                      "codes = [\"\\\"\xC3\x89\\\"\"]\n"
                                      "[[question]]\n"
                                      "text = \"\"\"Deux \\\n  \xC3\xA0 la ligne\"\"\"\"\"\n"
                                      "answer = \"\xC3\x89\"\n");
    EXPECT_TRUE(parsed.errors().empty()) << testing::PrintToString(parsed.errors());
    EXPECT_EQ(parsed.quiz.title.value, "L'\"\xE9t\xE9\" ");
    EXPECT_EQ(parsed.quiz.creator.value, "L'\xE9quipe");
    EXPECT_EQ(parsed.quiz.codes.at(0).value, "\"\xC9\"");
    EXPECT_EQ(parsed.quiz.explanation.value, "Tr\xE8s \"bien\" \\d");
    EXPECT_EQ(parsed.quiz.questions.at(0).text.value, "Deux \xE0 la ligne\"\"");
    EXPECT_EQ(parsed.quiz.questions.at(0).answers.at(0).line, 10);
}

TEST(SourceReader, FormatsDiagnosticsOnOneLine) {
    EXPECT_EQ(formatDiagnostic({Severity::kError, "quiz.toml", 12, "question[2].answer", "bad"}),
              "quiz.toml:12: question[2].answer: bad");
    EXPECT_EQ(formatDiagnostic({Severity::kWarning, "quiz.toml", 3, "codes", "short"}),
              "quiz.toml:3: codes: warning: short");
    EXPECT_EQ(formatDiagnostic({Severity::kError, "q.exe", 0, "PATCH 104", "missing"}),
              "q.exe: PATCH 104: missing");
}

// One source per row with exactly one fault; the error must name its line and field.
struct BadSource {
    const char* name;
    std::string toml;
    std::string prefix;  // "quiz.toml:LINE: field:"
    std::string mention; // a piece of the message
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const BadSource& row, std::ostream* out) {
    *out << row.name;
}

std::string textList(const std::string& header, const std::string& questions) {
    return "title = \"T\"\nlayout = \"text list\"\n" + header + questions;
}

std::string questions(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "[[question]]\ntext = \"Q\"\nanswer = \"ANSWER " + std::to_string(i) + "\"\n";
    return text;
}

const std::string kOneQuestion = "[[question]]\ntext = \"Q\"\nanswer = \"A\"\n";
const std::string kCode = "codes = [\"C\"]\n";

class SourceErrors : public testing::TestWithParam<BadSource> {};

TEST_P(SourceErrors, NameTheFileTheLineAndTheField) {
    ParsedSource parsed = parseSource(GetParam().toml);
    const std::vector<std::string> errors = parsed.errors();
    ASSERT_EQ(errors.size(), 1u) << testing::PrintToString(errors);
    EXPECT_THAT(errors[0], StartsWith(GetParam().prefix + " "));
    EXPECT_THAT(errors[0], HasSubstr(GetParam().mention));
    EXPECT_TRUE(parsed.diagnostics.hasErrors());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SourceErrors,
    testing::Values(
        BadSource{"character_without_cp1252_byte",
                  textList("creator = \"\xE4\xB8\xAD\"\n" + kCode, kOneQuestion),
                  "quiz.toml:3: creator:", "U+4E2D"},
        BadSource{"bar_in_title",
                  "title = \"A|B\"\nlayout = \"text list\"\n" + kCode + kOneQuestion,
                  "quiz.toml:1: title:", "'|'"},
        BadSource{"bar_in_answer",
                  textList(kCode, "[[question]]\ntext = \"Q\"\nanswer = \"A|B\"\n"),
                  "quiz.toml:6: question[1].answer:", "'|'"},
        BadSource{"bar_in_question_text",
                  textList(kCode, "[[question]]\ntext = \"|\"\nanswer = \"A\"\n"),
                  "quiz.toml:5: question[1].text:", "'|'"},
        BadSource{"bar_in_answer_label",
                  "title = \"T\"\nlayout = \"pictures\"\nanswer_labels = [\"A\", \"|\"]\n" + kCode +
                      "[[question]]\nanswers = [\"A\", \"B\"]\npicture = \"q1.jpg\"\n",
                  "quiz.toml:3: answer_labels[2]:", "'|'"},
        BadSource{"bar_in_reward_text",
                  textList("reward = \"text\"\n" + kCode,
                           "[[question]]\ntext = \"Q\"\nanswer = \"A\"\nreward_text = \"a|b\"\n"),
                  "quiz.toml:8: question[1].reward_text:", "'|'"},
        BadSource{"carriage_return_in_code", textList("codes = [\"A\\rB\"]\n", kOneQuestion),
                  "quiz.toml:3: codes[1]:", "carriage return"},
        BadSource{"nul_in_text",
                  textList(kCode, "[[question]]\ntext = \"a\\u0000b\"\nanswer = \"A\"\n"),
                  "quiz.toml:5: question[1].text:", "NUL"},
        BadSource{"text_over_259_bytes",
                  "title = \"" + std::string(260, 'x') + "\"\nlayout = \"text list\"\n" + kCode +
                      kOneQuestion,
                  "quiz.toml:1: title:", "260 bytes"},
        BadSource{"code_over_259_bytes",
                  textList("codes = [\"" + std::string(260, 'x') + "\"]\n", kOneQuestion),
                  "quiz.toml:3: codes[1]:", "260 bytes"},
        BadSource{"more_than_96_questions",
                  textList("codes = [" + std::string(96 * 4, ' ') + "]\n", questions(97)),
                  // Each question takes three lines after the four of the header.
                  "quiz.toml:" + std::to_string(4 + 96 * 3) + ": question[97]:", "at most 96"},
        BadSource{"question_without_its_picture",
                  "title = \"T\"\nlayout = \"pictures\"\n" + kCode +
                      "\n[[question]]\nanswer = \"A\"\n",
                  "quiz.toml:5: question[1].picture:", "missing"},
        BadSource{"question_without_its_sound",
                  "title = \"T\"\nlayout = \"sound\"\n" + kCode + "[[question]]\nanswer = \"A\"\n",
                  "quiz.toml:4: question[1].sound:", "missing"},
        BadSource{"missing_media_file",
                  "title = \"T\"\nlayout = \"pictures\"\n" + kCode +
                      "[[question]]\nanswer = \"A\"\npicture = \"nowhere/q9.jpg\"\n",
                  "quiz.toml:6: question[1].picture:", "\"nowhere/q9.jpg\" not found"},
        BadSource{"missing_reward_picture_file",
                  "title = \"T\"\nlayout = \"pictures\"\nreward = \"picture\"\n" + kCode +
                      "[[question]]\nanswer = \"A\"\npicture = \"q1.jpg\"\n"
                      "reward_picture = \"r9.jpg\"\n",
                  "quiz.toml:8: question[1].reward_picture:", "not found"},
        BadSource{"empty_media_file",
                  "title = \"T\"\nlayout = \"sound\"\n" + kCode +
                      "[[question]]\nanswer = \"A\"\nsound = \"empty.jpg\"\n",
                  "quiz.toml:6: question[1].sound:", "is empty"},
        BadSource{"unknown_layout", "title = \"T\"\nlayout = \"picture\"\n" + kCode + kOneQuestion,
                  "quiz.toml:2: layout:", "unknown layout \"picture\""},
        BadSource{"unknown_reward", textList("reward = \"texte\"\n" + kCode, kOneQuestion),
                  "quiz.toml:3: reward:", "unknown reward \"texte\""},
        BadSource{"colour_without_hash", textList("colour = \"35CBA3\"\n" + kCode, kOneQuestion),
                  "quiz.toml:3: colour:", "#RRGGBB"},
        BadSource{"colour_not_hexadecimal",
                  textList("colour = \"#35CBG3\"\n" + kCode, kOneQuestion),
                  "quiz.toml:3: colour:", "#RRGGBB"},
        BadSource{"colour_too_short", textList("colour = \"#35CBA\"\n" + kCode, kOneQuestion),
                  "quiz.toml:3: colour:", "#RRGGBB"},
        BadSource{"one_and_two_answers_mixed",
                  "title = \"T\"\nlayout = \"pictures\"\ncodes = [\"A\", \"B\"]\n"
                  "[[question]]\nanswers = [\"A\", \"B\"]\npicture = \"q1.jpg\"\n"
                  "[[question]]\nanswer = \"C\"\npicture = \"q2.bmp\"\n",
                  "quiz.toml:8: question[2].answer:", "same number"},
        BadSource{"unknown_root_key", textList("color = \"#000000\"\n" + kCode, kOneQuestion),
                  "quiz.toml:3: color:", "did you mean \"colour\""},
        BadSource{"unknown_question_key",
                  textList(kCode, "[[question]]\ntext = \"Q\"\nanswer = \"A\"\nanwser = \"B\"\n"),
                  "quiz.toml:7: question[1].anwser:", "did you mean \"answer\""},
        BadSource{"unknown_table", textList(kCode, kOneQuestion + "[extra]\nx = 1\n"),
                  "quiz.toml:7: extra:", "unknown key"},
        BadSource{"toml_syntax", textList(kCode, "[[question]]\ntext = \"Q\nanswer = \"A\"\n"),
                  "quiz.toml:5: syntax:", ""},
        BadSource{"toml_duplicate_key",
                  textList(kCode, "[[question]]\ntext = \"Q\"\ntext = \"R\"\nanswer = \"A\"\n"),
                  "quiz.toml:6: syntax:", ""},
        BadSource{"invalid_utf8",
                  textList(kCode, "[[question]]\ntext = \"caf\xE9\"\nanswer = \"A\"\n"),
                  "quiz.toml:5: syntax:", ""},
        // Letters beyond ASCII outside quotes: toml++ 3.3 must never see them.
        BadSource{"accented_letter_in_a_key",
                  textList(kCode + "r\xC3\xA9ponse = \"x\"\n", kOneQuestion),
                  "quiz.toml:4: syntax:", "\"\xC3\xA9\" outside quotes"},
        BadSource{"accented_letter_in_a_table_name", textList(kCode, kOneQuestion + "[\xC3\xA0]\n"),
                  "quiz.toml:7: syntax:", "outside quotes"},
        BadSource{"accented_letter_after_a_text",
                  textList(kCode + "a = \"x\"\xC3\x89\n", kOneQuestion),
                  "quiz.toml:4: syntax:", "outside quotes"},
        BadSource{"accented_letter_after_a_multi_line_text",
                  textList(kCode + "explanation = \"\"\"x\n\"y\"\"\"\"\xC3\xA9\n", kOneQuestion),
                  "quiz.toml:5: syntax:", "outside quotes"},
        BadSource{"accented_letter_in_a_number",
                  textList(kCode + "a =4\"..rr\xC3\xA9 : 1\n", kOneQuestion),
                  "quiz.toml:4: syntax:", ""},
        BadSource{"accented_letter_escaped",
                  textList(kCode, "[[question]]\ntext = \"\"\"\\\xC3\xA9\"\"\"\nanswer = \"A\"\n"),
                  "quiz.toml:5: syntax:", "no escape sequence"},
        BadSource{"accented_letter_after_a_comment_line",
                  textList(kCode + "# \xC3\xA9\n\xC3\xA9 = 1\n", kOneQuestion),
                  "quiz.toml:5: syntax:", "outside quotes"},
        BadSource{"title_missing", "layout = \"text list\"\n" + kCode + kOneQuestion,
                  "quiz.toml:1: title:", "missing"},
        BadSource{"title_not_text", "title = 3\nlayout = \"text list\"\n" + kCode + kOneQuestion,
                  "quiz.toml:1: title:", "double quotes"},
        BadSource{"layout_missing", "title = \"T\"\n" + kCode + kOneQuestion,
                  "quiz.toml:1: layout:", "missing"},
        BadSource{"no_question", textList(kCode, ""),
                  "quiz.toml:1: question:", "at least one question"},
        BadSource{"answer_missing", textList(kCode, "[[question]]\ntext = \"Q\"\n"),
                  "quiz.toml:4: question[1].answer:", "missing"},
        BadSource{"answer_and_answers",
                  textList(kCode, "[[question]]\ntext = \"Q\"\nanswer = \"A\"\n"
                                  "answers = [\"A\", \"B\"]\n"),
                  "quiz.toml:7: question[1].answers:", "not both"},
        BadSource{"three_answers",
                  textList(kCode, "[[question]]\ntext = \"Q\"\nanswers = [\"A\", \"B\", \"C\"]\n"),
                  "quiz.toml:6: question[1].answers:", "two answers"},
        BadSource{"text_list_question_without_text",
                  textList(kCode, "[[question]]\nanswer = \"A\"\n"),
                  "quiz.toml:4: question[1].text:", "missing"},
        BadSource{"picture_in_a_text_list",
                  textList(kCode, kOneQuestion + "picture = \"q1.jpg\"\n"),
                  "quiz.toml:7: question[1].picture:", "no pictures"},
        BadSource{"picture_in_a_sound_quiz",
                  "title = \"T\"\nlayout = \"sound\"\n" + kCode +
                      "[[question]]\nanswer = \"A\"\nsound = \"clip.mp3\"\npicture = \"q1.jpg\"\n",
                  "quiz.toml:7: question[1].picture:", "sound = "},
        BadSource{"reward_text_without_text_reward",
                  textList(kCode, kOneQuestion + "reward_text = \"Bravo\"\n"),
                  "quiz.toml:7: question[1].reward_text:", "\"none\""},
        BadSource{"reward_text_missing", textList("reward = \"final\"\n" + kCode, kOneQuestion),
                  "quiz.toml:5: question[1].reward_text:", "missing"},
        BadSource{"reward_picture_without_picture_reward",
                  textList("reward = \"message\"\n" + kCode,
                           kOneQuestion + "reward_text = \"\"\nreward_picture = \"r1.jpg\"\n"),
                  "quiz.toml:9: question[1].reward_picture:", "only reward = \"picture\""},
        BadSource{"more_codes_than_questions", textList("codes = [\"A\",\n\"B\"]\n", kOneQuestion),
                  "quiz.toml:4: codes[2]:", "never be shown"},
        BadSource{"question_not_a_table", textList(kCode, "question = 3\n"),
                  "quiz.toml:4: question:", "[[question]]"}),
    [](const testing::TestParamInfo<BadSource>& info) { return info.param.name; });

// One source per row that is made with exactly one warning.
struct DoubtfulSource {
    const char* name;
    std::string toml;
    std::string prefix;
    std::string mention;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const DoubtfulSource& row, std::ostream* out) {
    *out << row.name;
}

class SourceWarnings : public testing::TestWithParam<DoubtfulSource> {};

TEST_P(SourceWarnings, NameTheLineAndTheFieldAndStillMakeTheQuiz) {
    ParsedSource parsed = parseSource(GetParam().toml);
    EXPECT_FALSE(parsed.diagnostics.hasErrors()) << testing::PrintToString(parsed.errors());
    const std::vector<std::string> warnings = parsed.warnings();
    ASSERT_EQ(warnings.size(), 1u) << testing::PrintToString(warnings);
    EXPECT_THAT(warnings[0], StartsWith(GetParam().prefix + " warning: "));
    EXPECT_THAT(warnings[0], HasSubstr(GetParam().mention));
}

std::string twoAnswers(const std::string& first, const std::string& second) {
    return textList("codes = [\"A\", \"B\"]\n", "[[question]]\ntext = \"Q\"\nanswer = \"" + first +
                                                    "\"\n[[question]]\ntext = \"R\"\nanswer = \"" +
                                                    second + "\"\n");
}

INSTANTIATE_TEST_SUITE_P(
    Doubts, SourceWarnings,
    testing::Values(
        DoubtfulSource{"one_edit_apart", twoAnswers("PARIS", "paros"),
                       "quiz.toml:9: question[2].answer:", "\"Quasiment\""},
        DoubtfulSource{"anagrams", twoAnswers("ROME", "MORE"),
                       "quiz.toml:9: question[2].answer:", "\"Anagramme\""},
        DoubtfulSource{"two_edits_apart", twoAnswers("MADRID", "MADRAS"),
                       "quiz.toml:9: question[2].answer:", "\"Presque\""},
        DoubtfulSource{"near_across_answer_columns",
                       "title = \"T\"\nlayout = \"pictures\"\ncodes = [\"A\", \"B\"]\n"
                       "[[question]]\nanswers = [\"LYON\", \"ITALIE\"]\npicture = \"q1.jpg\"\n"
                       "[[question]]\nanswers = [\"ITALIA\", \"ESPAGNE\"]\npicture = \"q2.bmp\"\n",
                       "quiz.toml:8: question[2].answers[1]:", "question[1].answers[2]"},
        DoubtfulSource{"trailing_space",
                       textList(kCode, "[[question]]\ntext = \"Q\"\nanswer = \"A \"\n"),
                       "quiz.toml:6: question[1].answer:", "space"},
        DoubtfulSource{"leading_space",
                       textList(kCode, "[[question]]\ntext = \"Q\"\nanswer = \" A\"\n"),
                       "quiz.toml:6: question[1].answer:", "space"},
        DoubtfulSource{"empty_answer",
                       textList(kCode, "[[question]]\ntext = \"Q\"\nanswer = \"\"\n"),
                       "quiz.toml:6: question[1].answer:", "empty"},
        DoubtfulSource{"code_table_shorter",
                       textList("codes = [\"A\"]\n",
                                "[[question]]\ntext = \"Q\"\nanswer = \"PARIS\"\n"
                                "[[question]]\ntext = \"Q\"\nanswer = \"LONDRES\"\n"
                                "[[question]]\ntext = \"Q\"\nanswer = \"BERLIN\"\n"),
                       "quiz.toml:3: codes:", "scores 2 to 3 show no code"},
        DoubtfulSource{"no_code_table", textList("", kOneQuestion),
                       "quiz.toml:1: codes:", "scores 1 to 1"},
        DoubtfulSource{"labels_with_one_answer",
                       "title = \"T\"\nlayout = \"pictures\"\nanswer_labels = [\"Ville\", \"\"]\n" +
                           kCode + "[[question]]\nanswer = \"A\"\npicture = \"q1.jpg\"\n",
                       "quiz.toml:3: answer_labels:", "only on picture"},
        DoubtfulSource{"sound_that_is_not_mp3",
                       "title = \"T\"\nlayout = \"sound\"\n" + kCode +
                           "[[question]]\nanswer = \"A\"\nsound = \"clip.avi\"\n",
                       "quiz.toml:6: question[1].sound:", "MP3"},
        DoubtfulSource{"video_that_is_not_avi",
                       "title = \"T\"\nlayout = \"video\"\n" + kCode +
                           "[[question]]\nanswer = \"A\"\nvideo = \"clip.mp3\"\n",
                       "quiz.toml:6: question[1].video:", "AVI"}),
    [](const testing::TestParamInfo<DoubtfulSource>& info) { return info.param.name; });

TEST(SourceReader, SameOrFarAnswersInTwoQuestionsAreNoNearMiss) {
    for (auto [first, second] : {std::pair{"PARIS", "paris"}, std::pair{"PARIS", "PARISIENS"},
                                 std::pair{"ROME", "ROMAINES"}}) {
        ParsedSource parsed = parseSource(twoAnswers(first, second));
        EXPECT_TRUE(parsed.diagnostics.all().empty())
            << first << " / " << second << testing::PrintToString(parsed.warnings());
    }
}

TEST(SourceReader, AnswersOfOneQuestionAreNotComparedWithEachOther) {
    ParsedSource parsed = parseSource(R"(title = "T"
layout = "pictures"
codes = ["A"]
[[question]]
answers = ["ROME", "ROMA"]
picture = "q1.jpg"
)");
    EXPECT_TRUE(parsed.diagnostics.all().empty()) << testing::PrintToString(parsed.warnings());
}

TEST(SourceReader, ReportsEveryFaultAtOnceInLineOrder) {
    ParsedSource parsed = parseSource(R"(title = "A|B"
layout = "pictures"
colour = "red"
codes = ["A"]
[[question]]
answer = "X"
picture = "missing.jpg"
)");
    const std::vector<std::string> errors = parsed.errors();
    ASSERT_EQ(errors.size(), 3u) << testing::PrintToString(errors);
    EXPECT_THAT(errors[0], StartsWith("quiz.toml:1: title: "));
    EXPECT_THAT(errors[1], StartsWith("quiz.toml:3: colour: "));
    EXPECT_THAT(errors[2], StartsWith("quiz.toml:7: question[1].picture: "));
}

TEST(SourceReader, TakesMediaOnlyFromTheFolderOfTheQuiz) {
    ScratchFolder scratch;
    const std::filesystem::path folder = scratch / "quiz";
    std::filesystem::create_directories(folder / "sub");
    std::filesystem::copy_file(testData() / "q1.jpg", scratch / "outside.jpg");
    std::filesystem::copy_file(testData() / "q1.jpg", folder / "inside.jpg");
    std::filesystem::create_symlink("../outside.jpg", folder / "link_out.jpg");
    std::filesystem::create_symlink("inside.jpg", folder / "link_in.jpg");
    std::filesystem::create_directory_symlink("..", folder / "up");
    const struct {
        std::string path;
        std::string error; // empty: the picture is taken
    } cases[] = {
        {"inside.jpg", ""},
        {"sub/../inside.jpg", ""},
        {"link_in.jpg", ""},
        {(scratch / "outside.jpg").string(), "is an absolute path"},
        {"../outside.jpg", "lies outside the folder"},
        {"sub/../../outside.jpg", "lies outside the folder"},
        {"link_out.jpg", "lies outside the folder"},
        {"up/outside.jpg", "lies outside the folder"},
        {"up/quiz/inside.jpg", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        writeText(folder / "quiz.toml", "title = \"T\"\nlayout = \"pictures\"\ncodes = [\"C\"]\n"
                                        "[[question]]\nanswer = \"A\"\npicture = \"" +
                                            c.path + "\"\n");
        Diagnostics diagnostics;
        readQuizSource((folder / "quiz.toml").string(), diagnostics);
        if (c.error.empty()) {
            EXPECT_FALSE(diagnostics.hasErrors()) << formatDiagnostic(diagnostics.all().at(0));
            continue;
        }
        ASSERT_EQ(diagnostics.errorCount(), 1);
        EXPECT_THAT(formatDiagnostic(diagnostics.all()[0]),
                    HasSubstr("quiz.toml:6: question[1].picture: \"" + c.path + "\" " + c.error));
    }
}

TEST(SourceReader, ReadsAFileWithMediaBesideIt) {
    Diagnostics diagnostics;
    const std::string file = (testData() / "no_such_quiz.toml").string();
    readQuizSource(file, diagnostics);
    ASSERT_EQ(diagnostics.all().size(), 1u);
    EXPECT_THAT(formatDiagnostic(diagnostics.all()[0]), StartsWith(file + ": file: cannot read"));

    ScratchFolder folder;
    std::filesystem::copy_file(testData() / "q3.gif", folder / "q.gif");
    writeText(folder / "quiz.toml", "title = \"T\"\nlayout = \"pictures\"\ncodes = [\"C\"]\n"
                                    "[[question]]\nanswer = \"A\"\npicture = \"q.gif\"\n");
    Diagnostics found;
    QuizSource quiz = readQuizSource((folder / "quiz.toml").string(), found);
    EXPECT_TRUE(found.all().empty()) << formatDiagnostic(found.all()[0]);
    EXPECT_EQ(quiz.folder, folder.path());
}

} // namespace
