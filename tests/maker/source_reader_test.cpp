#include "maker/cp1252.h"
#include "maker/media_format.h"
#include "maker/quiz_resources.h"
#include "tests/maker/maker_test_support.h"

#include <algorithm>
#include <array>
#include <sstream>

namespace {

// Title on line 1, layout on line 2, then `rest`.
std::string quiz(const std::string& rest, const std::string& layout = "text list") {
    return "title = \"T\"\nlayout = \"" + layout + "\"\n" + rest;
}
const std::string kQ = "[[question]]\ntext = \"Q\"\nanswer = \"A\"\n"; // three lines

std::string repeated(const std::string& text, int count) {
    std::string result;
    while (count-- > 0)
        result += text;
    return result;
}

// One source per line, with one fault or one doubt: its layout ("-": the source is all in the
// last column) ^ where the maker points, after "quiz.toml:" (nothing when it has nothing to say)
// ^ a piece of its message ^ the source after the title and layout lines, ';' ending a line and
// {Q} standing for a question of the text list. A source received from someone else cannot take
// the builder's own files into a quiz, not even by a link.
const char* const kSources = R"(- ^ 1: title: ^ '|' ^ title = "A|B";layout = "text list";{Q}
text list ^ 3: codes[1]: ^ carriage return ^ codes = ["A\rB"];{Q}
text list ^ 4: question[1].text: ^ NUL ^ [[question]];text = "a\u0000b";answer = "A";
sound ^ 3: question[1].sound: ^ missing ^ [[question]];answer = "A";
pictures ^ 5: question[1].picture: ^ "nowhere/q9.jpg" not found ^ [[question]];answer = "A";picture = "nowhere/q9.jpg";
pictures ^ 5: question[1].picture: ^ an absolute path ^ [[question]];answer = "A";picture = "/a";
pictures ^ 5: question[1].picture: ^ lies outside ^ [[question]];answer = "A";picture = "../x";
pictures ^ 5: question[1].picture: ^ lies outside ^ [[question]];answer = "A";picture = "out.jpg";
pictures ^  ^  ^ codes = ["C"];[[question]];answer = "A";picture = "in.jpg";
sound ^ 5: question[1].sound: ^ is empty ^ [[question]];answer = "A";sound = "empty.jpg";
picture ^ 2: layout: ^ unknown layout "picture" ^ {Q}
text list ^ 3: colour: ^ #RRGGBB ^ colour = "#35CBG3";{Q}
pictures ^ 7: question[2].answer: ^ same number ^ [[question]];answers = ["A", "B"];picture = "q1.jpg";[[question]];answer = "A";picture = "q2.bmp";
text list ^ 6: question[1].anwser: ^ did you mean "answer" ^ {Q}anwser = "B";
text list ^ 6: extra: ^ unknown key ^ {Q}[extra];x = 1;
text list ^ 4: syntax: ^  ^ [[question]];text = "Q;answer = "A";
- ^ 1: title: ^ missing ^ layout = "text list";{Q}
- ^ 1: title: ^ double quotes ^ title = 3;layout = "text list";{Q}
- ^ 1: layout: ^ missing ^ title = "T";{Q}
text list ^ 1: question: ^ at least one question ^ 
text list ^ 3: question[1].answer: ^ missing ^ [[question]];text = "Q";
text list ^ 6: question[1].answers: ^ not both ^ {Q}answers = ["A", "B"];
text list ^ 5: question[1].answers: ^ two answers ^ [[question]];text = "Q";answers = ["A", "B", "C"];
text list ^ 3: question[1].text: ^ missing ^ [[question]];answer = "A";
text list ^ 6: question[1].picture: ^ no pictures ^ {Q}picture = "q1.jpg";
sound ^ 6: question[1].picture: ^ sound =  ^ [[question]];answer = "A";sound = "clip.mp3";picture = "q1.jpg";
text list ^ 6: question[1].reward_text: ^ "none" ^ {Q}reward_text = "Bravo";
text list ^ 4: question[1].reward_text: ^ missing ^ reward = "final";{Q}
text list ^ 8: question[1].reward_picture: ^ only reward = "picture" ^ reward = "message";{Q}reward_text = "";reward_picture = "r1.jpg";
text list ^ 4: codes[2]: ^ never be shown ^ codes = ["A",;"B"];{Q}
text list ^ 3: question: ^ [[question]] ^ question = 3;
pictures ^ 8: question[2].answers[1]: warning: ^ question[1].answers[2] ^ codes = ["A", "B"];[[question]];answers = ["LYON", "ITALIE"];picture = "q1.jpg";[[question]];answers = ["ITALIA", "ESPAGNE"];picture = "q2.bmp";
text list ^ 6: question[1].answer: warning: ^ space ^ codes = ["C"];[[question]];text = "Q";answer = "A ";
pictures ^ 5: question[1].answer: ^ empty: write the answer for "q1.jpg" ^ codes = ["C"];[[question]];answer = "";picture = "q1.jpg";
text list ^ 1: codes: warning: ^ scores 1 to 1 ^ {Q}
pictures ^ 3: answer_labels: warning: ^ only on picture ^ answer_labels = ["Ville", ""];codes = ["C"];[[question]];answer = "A";picture = "q1.jpg";
sound ^ 6: question[1].sound: warning: ^ MP3 ^ codes = ["C"];[[question]];answer = "A";sound = "clip.avi";
text list ^  ^  ^ codes = ["A", "B"];{Q}[[question]];text = "R";answer = "a";
pictures ^  ^  ^ codes = ["C"];[[question]];answers = ["ROME", "ROMA"];picture = "q1.jpg";)";

TEST(SourceReader, NamesTheLineAndFieldOfEachFaultOrDoubt) {
    std::vector<std::array<std::string, 3>> rows = {
        {quiz("creator = \"\xE4\xB8\xAD\"\n" + kQ), "3: creator:", "U+4E2D"},
        {quiz("creator = \"" + std::string(260, 'x') + "\"\n" + kQ), "3: creator:", "260 bytes"},
        {quiz(repeated(kQ, 97)), "291: question[97]:", "at most 96"},
        {quiz("[[question]]\ntext = \"caf\xE9\"\nanswer = \"A\"\n"), "4: syntax:", ""},
        // Letters beyond ASCII outside quotes: toml++ must never see them.
        {quiz("r\xC3\xA9ponse = \"x\"\n" + kQ), "3: syntax:", "\"\xC3\xA9\" outside quotes"},
        {quiz("explanation = \"\"\"x\n\"y\"\"\"\"\xC3\xA9\n" + kQ), "4: syntax:", "outside quotes"},
        {quiz("[[question]]\ntext = \"\"\"\\\xC3\xA9\"\"\"\nanswer = \"A\"\n"),
         "4: syntax:", "no escape sequence"},
        // A text over two lines, rewritten for toml++, keeps the lines of what follows.
        {quiz("[[question]]\ntext = \"\"\"\xC3\xA9\n\xC3\xA9\"\"\"\nanswer = \"A|B\"\n"),
         "6: question[1].answer:", "'|'"},
        // Keys and headers of 257 parts, spaces and quotes around them, deeper together than
        // alone; 256 parts are still only a key the quiz does not know.
        {quiz(repeated("a . ", 256) + "b = 1\n" + kQ), "3: syntax:", "nested more than 256 deep"},
        {quiz(kQ + "[[" + repeated("a.", 256) + "b]]\n"), "6: syntax:", "more than 256"},
        {quiz(kQ + "[" + repeated("a.", 127) + "b]\n" + repeated("a.", 128) + "b = 1\n"),
         "7: syntax:", "more than 256"},
        {quiz("x = {" + repeated("a.", 126) + "b = {" + repeated("a.", 128) + "b = 1}}\n" + kQ),
         "3: syntax:", "more than 256"},
        {quiz("x = [{" + repeated("a.", 125) + "b = [{" + repeated("a.", 128) + "b = 1}]}]\n" + kQ),
         "3: x:", "unknown key"},
        {quiz("'a.b'." + repeated("a.", 254) + "b = 1\n" + kQ), "3: a.b:", "unknown key"},
        // 259 accented letters: 518 bytes of UTF-8, but 259 in Windows-1252.
        {quiz("creator = \"" + repeated("\xC3\xA9", 259) + "\"\ncodes = [\"C\"]\n" + kQ), "", ""},
    };
    std::istringstream table(kSources);
    for (std::string line; std::getline(table, line);) {
        std::vector<std::string> column = split(line, " ^ ");
        for (size_t at; (at = column[3].find("{Q}")) != std::string::npos;)
            column[3].replace(at, 3, kQ);
        std::replace(column[3].begin(), column[3].end(), ';', '\n');
        rows.push_back(
            {column[0] == "-" ? column[3] : quiz(column[3], column[0]), column[1], column[2]});
    }
    for (const auto& [toml, where, mention] : rows) {
        Diagnostics found;
        parseQuizSource(toml, "quiz.toml", kData, found);
        // A source with nothing to say must not warn either.
        const bool warning = where.empty() || where.find("warning:") != std::string::npos;
        const std::vector<std::string> said =
            lines(found, warning ? Severity::kWarning : Severity::kError);
        SCOPED_TRACE(toml.substr(0, 300) + "\nsaid " + testing::PrintToString(said));
        EXPECT_EQ(found.hasErrors(), !warning);
        EXPECT_EQ(said.size(), where.empty() ? 0u : 1u);
        if (!said.empty())
            EXPECT_THAT(said[0],
                        testing::AllOf(StartsWith("quiz.toml:" + where + " "), HasSubstr(mention)));
    }
}

TEST(Cp1252, ConvertsWhatHasAByteAndNamesWhereWhatHasNot) {
    EXPECT_EQ(
        utf8ToCp1252("\xC3\xA8\xE2\x80\x94\xE2\x82\xAC\xC5\x92\xC5\xB8\xC2\xA0\xC3\xBF\xC2\x81")
            .text,
        "\xE8\x97\x80\x8C\x9F\xA0\xFF\x81");
    EXPECT_EQ(cp1252ToUtf8("\xE9\x80\x9C\x8D"), "\xC3\xA9\xE2\x82\xAC\xC5\x93\xC2\x8D");
    // Each refusal as its offset, then N for a character with no byte, else U for broken UTF-8.
    // U+0080 has no byte: 0x80 is the euro sign.
    std::string refusals;
    for (const char* utf8 : {"ab\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "x\xC2\x80", "ab\xC3", "\x80",
                             "\xE0\x80\xAF", "\xED\xA0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80"}) {
        const Cp1252Conversion conversion = utf8ToCp1252(utf8);
        refusals += std::to_string(conversion.offset) +
                    (conversion.problem == Cp1252Problem::kNoCp1252Byte ? "N " : "U ");
    }
    EXPECT_EQ(refusals, "2N 0N 1N 2U 0U 0U 0U 0U 0U ");
}

TEST(MediaFormat, TellsTheFormatFromTheLeadingBytes) {
    using enum MediaFormat;
    std::vector<MediaFormat> formats;
    for (const std::string head : {"\xFF\xD8\xFF", "\xFF\xD8", "BM", "bm\x5A", "GIF87a", "GIF89a",
                                   "GIF", "\x89PNG\r\n\x1A\n", "ID3\x03", "\xFF\xFB\x90\x64", "",
                                   "RIFF\x10\1\1\1AVI LIST", "RIFF\x10\1\1\1WAVEfmt "})
        formats.push_back(detectMediaFormat(std::vector<uint8_t>(head.begin(), head.end())));
    EXPECT_EQ(formats, (std::vector{kJpeg, kUnknown, kBmp, kUnknown, kGif, kGif, kUnknown, kPng,
                                    kMp3, kMp3, kUnknown, kAvi, kUnknown}));
    // Clips are named as the player names them, whatever their bytes; pictures by their bytes.
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8'};
    EXPECT_EQ(mediaFileName(401, kMediaSound, gif) + mediaFileName(401, kMediaVideo, gif) +
                  mediaFileName(403, kMediaPictures, {}) + mediaFileName(10401, kMediaVideo, gif),
              "media_401.mp3media_401.avimedia_403.binreward_10401.gif");
}

} // namespace
