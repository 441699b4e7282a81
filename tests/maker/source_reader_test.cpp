#include "maker/cp1252.h"
#include "maker/media_format.h"
#include "maker/quiz_resources.h"
#include "tests/maker/maker_test_support.h"

namespace {

// Title on line 1, layout on line 2, then `rest`.
std::string quiz(const std::string& layout, const std::string& rest) {
    return "title = \"T\"\nlayout = \"" + layout + "\"\n" + rest;
}
std::string textList(const std::string& rest) {
    return quiz("text list", rest);
}
const std::string kQ = "[[question]]\ntext = \"Q\"\nanswer = \"A\"\n"; // three lines
const std::string kC = "codes = [\"C\"]\n";

std::string two(const std::string& first, const std::string& second) {
    return textList("codes = [\"A\", \"B\"]\n[[question]]\ntext = \"Q\"\nanswer = \"" + first +
                    "\"\n[[question]]\ntext = \"R\"\nanswer = \"" + second + "\"\n");
}

std::string repeated(const std::string& text, int count) {
    std::string result;
    while (count-- > 0)
        result += text;
    return result;
}

TEST(SourceReader, NamesTheLineAndFieldOfEachFaultOrDoubt) {
    const std::string x260(260, 'x'), pictureQ = "[[question]]\nanswer = \"A\"\npicture = ";
    // One fault (or doubt, "warning:") per source; `where` empty: nothing to say at all.
    const struct {
        std::string toml, where, mention;
    } rows[] = {
        {textList("creator = \"\xE4\xB8\xAD\"\n" + kQ), "3: creator:", "U+4E2D"},
        {"title = \"A|B\"\nlayout = \"text list\"\n" + kQ, "1: title:", "'|'"},
        {textList("[[question]]\ntext = \"Q\"\nanswer = \"A|B\"\n"),
         "5: question[1].answer:", "'|'"},
        {textList("[[question]]\ntext = \"|\"\nanswer = \"A\"\n"), "4: question[1].text:", "'|'"},
        {quiz("pictures", "answer_labels = [\"A\", \"|\"]\n[[question]]\nanswers = [\"A\", \"B\"]\n"
                          "picture = \"q1.jpg\"\n"),
         "3: answer_labels[2]:", "'|'"},
        {textList("reward = \"text\"\n" + kQ + "reward_text = \"a|b\"\n"),
         "7: question[1].reward_text:", "'|'"},
        {textList("codes = [\"A\\rB\"]\n" + kQ), "3: codes[1]:", "carriage return"},
        {textList("[[question]]\ntext = \"a\\u0000b\"\nanswer = \"A\"\n"),
         "4: question[1].text:", "NUL"},
        {"title = \"" + x260 + "\"\nlayout = \"text list\"\n" + kQ, "1: title:", "260 bytes"},
        {textList("codes = [\"" + x260 + "\"]\n" + kQ), "3: codes[1]:", "260 bytes"},
        {textList(repeated(kQ, 97)), "291: question[97]:", "at most 96"},
        {quiz("pictures", "[[question]]\nanswer = \"A\"\n"), "3: question[1].picture:", "missing"},
        {quiz("sound", "[[question]]\nanswer = \"A\"\n"), "3: question[1].sound:", "missing"},
        {quiz("pictures", pictureQ + "\"nowhere/q9.jpg\"\n"),
         "5: question[1].picture:", "\"nowhere/q9.jpg\" not found"},
        {quiz("pictures",
              "reward = \"picture\"\n" + pictureQ + "\"q1.jpg\"\nreward_picture = \"r9\"\n"),
         "7: question[1].reward_picture:", "not found"},
        {quiz("sound", "[[question]]\nanswer = \"A\"\nsound = \"empty.jpg\"\n"),
         "5: question[1].sound:", "is empty"},
        {quiz("picture", kQ), "2: layout:", "unknown layout \"picture\""},
        {textList("reward = \"texte\"\n" + kQ), "3: reward:", "unknown reward \"texte\""},
        {textList("colour = \"35CBA3\"\n" + kQ), "3: colour:", "#RRGGBB"},
        {textList("colour = \"#35CBG3\"\n" + kQ), "3: colour:", "#RRGGBB"},
        {textList("colour = \"#35CBA\"\n" + kQ), "3: colour:", "#RRGGBB"},
        {quiz("pictures", "[[question]]\nanswers = [\"A\", \"B\"]\npicture = \"q1.jpg\"\n" +
                              pictureQ + "\"q2.bmp\"\n"),
         "7: question[2].answer:", "same number"},
        {textList("color = \"#000000\"\n" + kQ), "3: color:", "did you mean \"colour\""},
        {textList(kQ + "anwser = \"B\"\n"), "6: question[1].anwser:", "did you mean \"answer\""},
        {textList(kQ + "[extra]\nx = 1\n"), "6: extra:", "unknown key"},
        {textList("[[question]]\ntext = \"Q\nanswer = \"A\"\n"), "4: syntax:", ""},
        {textList("[[question]]\ntext = \"Q\"\ntext = \"R\"\nanswer = \"A\"\n"), "5: syntax:", ""},
        {textList("[[question]]\ntext = \"caf\xE9\"\nanswer = \"A\"\n"), "4: syntax:", ""},
        // Letters beyond ASCII outside quotes: toml++ must never see them.
        {textList("r\xC3\xA9ponse = \"x\"\n" + kQ), "3: syntax:", "\"\xC3\xA9\" outside quotes"},
        {textList(kQ + "[\xC3\xA0]\n"), "6: syntax:", "outside quotes"},
        {textList("a = \"x\"\xC3\x89\n" + kQ), "3: syntax:", "outside quotes"},
        {textList("explanation = \"\"\"x\n\"y\"\"\"\"\xC3\xA9\n" + kQ),
         "4: syntax:", "outside quotes"},
        {textList("a =4\"..rr\xC3\xA9 : 1\n" + kQ), "3: syntax:", ""},
        {textList("[[question]]\ntext = \"\"\"\\\xC3\xA9\"\"\"\nanswer = \"A\"\n"),
         "4: syntax:", "no escape sequence"},
        {textList("# \xC3\xA9\n\xC3\xA9 = 1\n" + kQ), "4: syntax:", "outside quotes"},
        {"layout = \"text list\"\n" + kQ, "1: title:", "missing"},
        {"title = 3\nlayout = \"text list\"\n" + kQ, "1: title:", "double quotes"},
        {"title = \"T\"\n" + kQ, "1: layout:", "missing"},
        {textList(""), "1: question:", "at least one question"},
        {textList("[[question]]\ntext = \"Q\"\n"), "3: question[1].answer:", "missing"},
        {textList(kQ + "answers = [\"A\", \"B\"]\n"), "6: question[1].answers:", "not both"},
        {textList("[[question]]\ntext = \"Q\"\nanswers = [\"A\", \"B\", \"C\"]\n"),
         "5: question[1].answers:", "two answers"},
        {textList("[[question]]\nanswer = \"A\"\n"), "3: question[1].text:", "missing"},
        {textList(kQ + "picture = \"q1.jpg\"\n"), "6: question[1].picture:", "no pictures"},
        {quiz("sound",
              "[[question]]\nanswer = \"A\"\nsound = \"clip.mp3\"\npicture = \"q1.jpg\"\n"),
         "6: question[1].picture:", "sound = "},
        {textList(kQ + "reward_text = \"Bravo\"\n"), "6: question[1].reward_text:", "\"none\""},
        {textList("reward = \"final\"\n" + kQ), "4: question[1].reward_text:", "missing"},
        {textList("reward = \"message\"\n" + kQ +
                  "reward_text = \"\"\nreward_picture = \"r1.jpg\"\n"),
         "8: question[1].reward_picture:", "only reward = \"picture\""},
        {textList("codes = [\"A\",\n\"B\"]\n" + kQ), "4: codes[2]:", "never be shown"},
        {textList("question = 3\n"), "3: question:", "[[question]]"},
        {two("PARIS", "paros"), "9: question[2].answer: warning:", "\"Quasiment\""},
        {two("ROME", "MORE"), "9: question[2].answer: warning:", "\"Anagramme\""},
        {two("MADRID", "MADRAS"), "9: question[2].answer: warning:", "\"Presque\""},
        {quiz("pictures",
              "codes = [\"A\", \"B\"]\n[[question]]\nanswers = [\"LYON\", \"ITALIE\"]\n"
              "picture = \"q1.jpg\"\n[[question]]\nanswers = [\"ITALIA\", \"ESPAGNE\"]\n"
              "picture = \"q2.bmp\"\n"),
         "8: question[2].answers[1]: warning:", "question[1].answers[2]"},
        {textList(kC + "[[question]]\ntext = \"Q\"\nanswer = \"A \"\n"),
         "6: question[1].answer: warning:", "space"},
        {textList(kC + "[[question]]\ntext = \"Q\"\nanswer = \" A\"\n"),
         "6: question[1].answer: warning:", "space"},
        {textList(kC + "[[question]]\ntext = \"Q\"\nanswer = \"\"\n"),
         "6: question[1].answer: warning:", "empty"},
        {textList(kC + kQ + "[[question]]\ntext = \"Q\"\nanswer = \"LONDRES\"\n" +
                  "[[question]]\ntext = \"Q\"\nanswer = \"BERLIN\"\n"),
         "3: codes: warning:", "scores 2 to 3 show no code"},
        {textList(kQ), "1: codes: warning:", "scores 1 to 1"},
        {quiz("pictures", "answer_labels = [\"Ville\", \"\"]\n" + kC + pictureQ + "\"q1.jpg\"\n"),
         "3: answer_labels: warning:", "only on picture"},
        {quiz("sound", kC + "[[question]]\nanswer = \"A\"\nsound = \"clip.avi\"\n"),
         "6: question[1].sound: warning:", "MP3"},
        {quiz("video", kC + "[[question]]\nanswer = \"A\"\nvideo = \"clip.mp3\"\n"),
         "6: question[1].video: warning:", "AVI"},
        {two("PARIS", "paris"), "", ""},
        {two("PARIS", "PARISIENS"), "", ""},
        {two("ROME", "ROMAINES"), "", ""},
        // The answers of one question are not compared with each other.
        {quiz("pictures",
              kC + "[[question]]\nanswers = [\"ROME\", \"ROMA\"]\npicture = \"q1.jpg\"\n"),
         "", ""},
        // 259 accented letters: 518 bytes of UTF-8, but 259 in Windows-1252.
        {"title = \"" + repeated("\xC3\xA9", 259) + "\"\nlayout = \"text list\"\n" + kC + kQ, "",
         ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.toml.substr(0, 300));
        Diagnostics found;
        parseSource(row.toml, found);
        const bool warning = row.where.find("warning:") != std::string::npos;
        const std::vector<std::string> said =
            lines(found, warning ? Severity::kWarning : Severity::kError);
        if (row.where.empty()) {
            EXPECT_TRUE(found.all().empty()) << formatDiagnostic(found.all().at(0));
        } else if (said.size() != 1) {
            ADD_FAILURE() << testing::PrintToString(said);
        } else {
            EXPECT_THAT(said[0], StartsWith("quiz.toml:" + row.where + " "));
            EXPECT_THAT(said[0], HasSubstr(row.mention));
            EXPECT_EQ(found.hasErrors(), !warning);
        }
    }
}

TEST(SourceReader, TakesLettersBeyondAsciiInEveryKindOfStringAndComment) {
    Diagnostics found;
    const QuizSource quiz = parseSource("\xEF\xBB\xBF# R\xC3\xA9ponses\n"
                                        "title = \"\"\"L'\"\xC3\xA9t\xC3\xA9\" \"\"\" # \xC3\xA7"
                                        "a\ncreator = '''L'\xC3\xA9quipe'''\n"
                                        "explanation = 'Tr\xC3\xA8s \"bien\" \\d'\n"
                                        "layout = \"text list\"\ncodes = [\"\\\"\xC3\x89\\\"\"]\n"
                                        "[[question]]\n"
                                        "text = \"\"\"Deux \\\n  \xC3\xA0 la ligne\"\"\"\"\"\n"
                                        "answer = \"\xC3\x89\"\n",
                                        found);
    EXPECT_TRUE(found.all().empty()) << formatDiagnostic(found.all().at(0));
    EXPECT_EQ(quiz.title.value, "L'\"\xE9t\xE9\" ");
    EXPECT_EQ(quiz.creator.value, "L'\xE9quipe");
    EXPECT_EQ(quiz.explanation.value, "Tr\xE8s \"bien\" \\d");
    EXPECT_EQ(quiz.codes.at(0).value, "\"\xC9\"");
    EXPECT_EQ(quiz.questions.at(0).text.value, "Deux \xE0 la ligne\"\"");
    EXPECT_EQ(quiz.questions.at(0).answers.at(0).line, 10);
}

// A source received from someone else cannot take the builder's own files into a quiz.
TEST(SourceReader, TakesMediaOnlyFromTheFolderOfTheQuiz) {
    ScratchFolder scratch;
    const fs::path folder = scratch / "quiz";
    fs::create_directories(folder / "sub");
    fs::copy_file(kData / "q1.jpg", scratch / "outside.jpg");
    fs::copy_file(kData / "q1.jpg", folder / "inside.jpg");
    fs::create_symlink("../outside.jpg", folder / "link_out.jpg");
    fs::create_symlink("inside.jpg", folder / "link_in.jpg");
    fs::create_directory_symlink("..", folder / "up");
    const std::pair<std::string, std::string> cases[] = {
        {"inside.jpg", ""},
        {"sub/../inside.jpg", ""},
        {"link_in.jpg", ""},
        {"up/quiz/inside.jpg", ""},
        {(scratch / "outside.jpg").string(), "is an absolute path"},
        {"../outside.jpg", "lies outside the folder"},
        {"sub/../../outside.jpg", "lies outside the folder"},
        {"link_out.jpg", "lies outside the folder"},
        {"up/outside.jpg", "lies outside the folder"}};
    for (const auto& [path, error] : cases) {
        writeText(folder / "quiz.toml", quiz("pictures", kC +
                                                             "[[question]]\nanswer = \"A\"\n"
                                                             "picture = \"" +
                                                             path + "\"\n"));
        Diagnostics found;
        readQuizSource((folder / "quiz.toml").string(), found);
        const std::vector<std::string> said = lines(found, Severity::kError);
        EXPECT_EQ(said.size(), error.empty() ? 0u : 1u) << path;
        if (!error.empty() && !said.empty())
            EXPECT_THAT(said[0], StartsWith((folder / "quiz.toml").string() +
                                            ":6: question[1].picture: \"" + path + "\" " + error));
    }
}

TEST(Cp1252, ConvertsWhatHasAByteAndNamesWhereWhatHasNot) {
    EXPECT_EQ(
        utf8ToCp1252("PARIS |~ Tr\xC3\xA8s \xE2\x80\x94 5\xE2\x82\xAC \xC5\x92\xC5\xB8\xE2\x80\x99"
                     "\xC2\xA0\xC3\xBF\xC2\x81\xC2\x9D")
            .text,
        "PARIS |~ Tr\xE8s \x97 5\x80 \x8C\x9F\x92\xA0\xFF\x81\x9D");
    EXPECT_EQ(cp1252ToUtf8("\xE9\x80\x9C\x8D"), "\xC3\xA9\xE2\x82\xAC\xC5\x93\xC2\x8D");
    using enum Cp1252Problem;
    // U+0080 has no byte: 0x80 is the euro sign.
    const std::tuple<std::string, Cp1252Problem, size_t> refused[] = {
        {"ab\xE4\xB8\xAD", kNoCp1252Byte, 2}, {"\xF0\x9F\x98\x80", kNoCp1252Byte, 0},
        {"x\xC2\x80", kNoCp1252Byte, 1},      {"\xC4\x9B", kNoCp1252Byte, 0},
        {"ab\xC3", kInvalidUtf8, 2},          {"\x80", kInvalidUtf8, 0},
        {"\xC0\xAF", kInvalidUtf8, 0},        {"\xE0\x80\xAF", kInvalidUtf8, 0},
        {"\xED\xA0\x80", kInvalidUtf8, 0},    {"\xF4\x90\x80\x80", kInvalidUtf8, 0},
        {"caf\xE9", kInvalidUtf8, 3},         {"\xC3(", kInvalidUtf8, 0}};
    for (const auto& [utf8, problem, offset] : refused) {
        const Cp1252Conversion conversion = utf8ToCp1252(utf8);
        EXPECT_EQ(std::pair(conversion.problem, conversion.offset), std::pair(problem, offset))
            << utf8;
    }
}

TEST(MediaFormat, TellsTheFormatFromTheLeadingBytes) {
    using enum MediaFormat;
    const std::pair<std::string, MediaFormat> heads[] = {
        {"\xFF\xD8\xFF", kJpeg},
        {"\xFF\xD8", kUnknown},
        {"BM", kBmp},
        {"bm\x5A", kUnknown},
        {"GIF87a", kGif},
        {"GIF89a", kGif},
        {"GIF", kUnknown},
        {"\x89PNG\r\n\x1A\n", kPng},
        {"ID3\x03", kMp3},
        {"\xFF\xFB\x90\x64", kMp3},
        {"", kUnknown},
        {std::string("RIFF\x10\0\0\0AVI LIST", 16), kAvi},
        {std::string("RIFF\x10\0\0\0WAVEfmt ", 16), kUnknown},
    };
    for (const auto& [head, format] : heads)
        EXPECT_EQ(detectMediaFormat(std::vector<uint8_t>(head.begin(), head.end())), format)
            << head;
    // Clips are named as the player names them, whatever their bytes.
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8'}, bmp = {'B', 'M'};
    EXPECT_EQ(mediaFileName(496, kMediaPictures, gif) + mediaFileName(403, kMediaPictures, {}) +
                  mediaFileName(401, kMediaSound, gif) + mediaFileName(401, kMediaVideo, bmp) +
                  mediaFileName(10401, kMediaSound, bmp),
              "media_496.gifmedia_403.binmedia_401.mp3media_401.avireward_10401.bmp");
}

} // namespace
