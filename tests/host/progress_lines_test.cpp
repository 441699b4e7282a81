#include "board/progress_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> readLines(const std::string& file, int count) {
    ProgressLineReader reader({reinterpret_cast<const uint8_t*>(file.data()), file.size()});
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        char text[kQuizTextSize];
        reader.nextLine(text);
        lines.push_back(text);
    }
    return lines;
}

TEST(ProgressLines, LineRules) {
    using Lines = std::vector<std::string>;
    struct Case {
        const char* name;
        std::string file;
        Lines lines;
    } cases[] = {
        {"CR LF lines, fewer than fields", "abc\r\ndef\r\n", {"abc", "def", ""}},
        {"bare line feeds are text", "abc\ndef\n", {"abc\ndef\n", "", ""}},
        {"CR without LF drops up to the next LF", "abc\rxyz\r\nlast\r\n", {"abc", "last", ""}},
        {"NUL bytes add nothing", std::string("a\0b\0\0c\r\n", 8), {"abc", "", ""}},
        {"empty lines", "\r\n\r\nthird\r\n", {"", "", "third"}},
        {"extra lines are ignored", "1\r\n2\r\n3\r\n4\r\n", {"1", "2", "3"}},
        {"last line without its end", "one\r\ntwo", {"one", "two", ""}},
        {"empty file", "", {"", "", ""}},
        {"accented bytes", "\xE9t\xE9\r\n", {"\xE9t\xE9", "", ""}},
        {"a CR at the very end", "end\r", {"end", "", ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readLines(c.file, 3), c.lines) << c.name;
}

TEST(ProgressLines, LongLinesAreCutAtTheAnswerSize) {
    std::string file = std::string(10000, 'x') + "\r\nnext\r\n";
    std::vector<std::string> lines = readLines(file, 2);
    EXPECT_EQ(lines[0], std::string(kQuizTextMaxLength, 'x'));
    EXPECT_EQ(lines[1], "next") << "the rest of a long line is not the next answer";
}

TEST(ProgressLines, TellsTheSavesOwnFilesFromOthers) {
    const std::string longest(kQuizTextMaxLength, 'x');
    struct Case {
        const char* name;
        std::string file;
        bool ours;
    } cases[] = {
        {"empty file", "", true},
        {"three lines", "abc\r\n\r\nd\xE9\r\n", true},
        {"fewer lines", "abc\r\n", true},
        {"last line without its end", "a\r\nb\r\nc", true},
        {"lines as long as a field", longest + "\r\n" + longest + "\r\n" + longest + "\r\n", true},
        {"a line one byte too long", longest + "x\r\n", false},
        {"a long last line without its end", longest + "x", false},
        {"a zero byte", std::string("ab\0c\r\n", 6), false},
        {"four lines", "1\r\n2\r\n3\r\n4\r\n", false},
        {"four lines, the last without its end", "1\r\n2\r\n3\r\n4", false},
        {"bare line feeds make one long line", std::string(300, '\n'), false},
    };
    for (const Case& c : cases) {
        std::span<const uint8_t> bytes{reinterpret_cast<const uint8_t*>(c.file.data()),
                                       c.file.size()};
        EXPECT_EQ(couldBeProgressText(bytes, 3), c.ours) << c.name;
    }
}

TEST(ProgressLines, NothingToReadGivesEmptyLines) {
    ProgressLineReader reader;
    char text[kQuizTextSize] = "stale";
    reader.nextLine(text);
    EXPECT_STREQ(text, "");
}

} // namespace
