#include "judge/answer_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct Text {
    char bytes[kQuizTextSize];

    explicit Text(const std::string& text) { copyQuizText(bytes, text.c_str()); }
};

std::string trimmed(const std::string& text) {
    Text buffer(text);
    trimSpaces(buffer.bytes);
    return buffer.bytes;
}

std::string upperCased(const std::string& text) {
    Text buffer(text);
    upperCaseAscii(buffer.bytes);
    return buffer.bytes;
}

std::string sorted(const std::string& text) {
    Text buffer(text);
    sortLetters(buffer.bytes);
    return buffer.bytes;
}

const std::string kLongest(kQuizTextMaxLength, 'A');

TEST(TrimSpaces, RemovesOnlyOuterSpaceBytes) {
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {"", ""},
        {" ", ""},
        {"   ", ""},
        {"PARIS", "PARIS"},
        {"  PARIS ", "PARIS"},
        {" A B ", "A B"},
        {"A  B", "A  B"},
        {"A ", "A"},
        {" A", "A"},
        {"\tA\t", "\tA\t"},
        {" \tA\t ", "\tA\t"},
        {"\xA0"
         "A\xA0",
         "\xA0"
         "A\xA0"},
        {" " + kLongest.substr(2) + " ", kLongest.substr(2)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(trimmed(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TrimSpaces, KeepsTheTerminatorInsideTheBuffer) {
    char text[kQuizTextSize];
    memset(text, ' ', sizeof text);
    text[0] = 'A';
    trimSpaces(text);
    EXPECT_STREQ(text, "A");

    memset(text, 'B', sizeof text);
    trimSpaces(text);
    EXPECT_EQ(std::string(text), std::string(kQuizTextMaxLength, 'B'));
}

TEST(UpperCaseAscii, RaisesOnlyAsciiLetters) {
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {"", ""},
        {"d\xE9j\xE0 vu", "D\xE9J\xE0 VU"},
        {"az", "AZ"},
        {"AZ", "AZ"},
        // The neighbours of a..z stay: '`' and '{' are not letters.
        {"`{@[", "`{@["},
        {"\xE9\xC9\xFF\xE0", "\xE9\xC9\xFF\xE0"},
        {"l'\xEEle 2", "L'\xEELE 2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(upperCased(c.text), c.expected) << '"' << c.text << '"';
}

TEST(UpperCaseAscii, StopsAtTheEndOfAnUnterminatedBuffer) {
    char text[kQuizTextSize];
    memset(text, 'a', sizeof text);
    upperCaseAscii(text);
    EXPECT_EQ(std::string(text), std::string(kQuizTextMaxLength, 'A'));
}

TEST(SortLetters, GivesTheSameTextForTheSameBytes) {
    EXPECT_EQ(sorted("PARIS"), sorted("SIRAP"));
    EXPECT_EQ(sorted("PARIS"), sorted("PAIRS"));
    EXPECT_EQ(sorted("TOUR EIFFEL"), sorted("EIFFEL TOUR"));
    EXPECT_NE(sorted("AAB"), sorted("ABB"));
    EXPECT_NE(sorted("PARIS"), sorted("PARIS "));
    EXPECT_NE(sorted("\xE9T\xE9"), sorted("\xC9T\xC9"));
}

TEST(SortLetters, OrdersBytesAsSignedValues) {
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {"", ""},
        {"Z", "Z"},
        {"PARIS", "AIPRS"},
        {"B A", " AB"},
        // Accented letters are negative as signed bytes, so they come before ASCII.
        {"t\xE9", "\xE9t"},
        {"A\xFF\x80", "\x80\xFF"
                      "A"},
        {"\x7F\x80", "\x80\x7F"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sorted(c.text), c.expected) << '"' << c.text << '"';
}

TEST(EditDistance, CountsInsertionsDeletionsAndSubstitutions) {
    struct Case {
        std::string a, b;
        int distance;
    };
    const Case cases[] = {
        {"", "", 0},
        {"PARIS", "PARIS", 0},
        {"CHAT", "CHIEN", 3},
        {"", "ABC", 3},
        {"AB", "BA", 2},
        {"KITTEN", "SITTING", 3},
        {"PARIS", "PAR\xCES", 1},
        {"\xE9", "\xC9", 1},
        {"PARIS", "PARIS ", 1},
        {"TOUR EIFFEL", "LA TOUR EIFFEL", 3},
        {"ABCDEF", "XYZ", 6},
        {kLongest, std::string(kQuizTextMaxLength, 'B'), kQuizTextMaxLength},
        {kLongest, "", kQuizTextMaxLength},
        {kLongest, "A", kQuizTextMaxLength - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE('"' + c.a + "\" and \"" + c.b + '"');
        EXPECT_EQ(editDistance(c.a.c_str(), c.b.c_str()), c.distance);
        EXPECT_EQ(editDistance(c.b.c_str(), c.a.c_str()), c.distance);
    }
}

TEST(EditDistance, ComparesOnlyTheFirstBytesOfOverlongTexts) {
    const std::string overlong = kLongest + "BCDEF";
    EXPECT_EQ(editDistance(overlong.c_str(), kLongest.c_str()), 0);
    EXPECT_EQ(editDistance(kLongest.c_str(), overlong.c_str()), 0);
    EXPECT_EQ(editDistance(overlong.c_str(), ""), kQuizTextMaxLength);
    EXPECT_EQ(editDistance("", overlong.c_str()), kQuizTextMaxLength);
}

TEST(EditDistance, ReusesItsTableWithoutLeftovers) {
    // A long comparison fills entries that a shorter one must not read.
    EXPECT_EQ(editDistance(kLongest.c_str(), std::string(200, 'B').c_str()), kQuizTextMaxLength);
    EXPECT_EQ(editDistance("AB", "BA"), 2);
    EXPECT_EQ(editDistance("ABC", "ABC"), 0);
}

TEST(ContainmentTest, FindsTheShorterTextInTheLonger) {
    struct Case {
        std::string expected, typed;
        Containment result;
    };
    const Case cases[] = {
        {"TOUR EIFFEL", "LA TOUR EIFFEL", kExpectedInsideTyped},
        {"TOUR EIFFEL", "TOUR EIFFEL", kExpectedInsideTyped},
        {"ARC DE TRIOMPHE", "ARC DE TRIOM", kTypedInsideExpected},
        {"ARC DE TRIOMPHE", "TRIOMPHE", kTypedInsideExpected},
        {"ARC DE TRIOMPHE", "DE TRI", kTypedInsideExpected},
        {"PARIS", "LONDRES", kNotContained},
        {"ABC", "ABD", kNotContained},
        {"PARIS", "paris", kNotContained},
        // The haystack ends in the middle of a run.
        {"ABC", "XXAB", kNotContained},
        {"", "ABC", kExpectedEmpty},
        {"", "", kExpectedEmpty},
        {"ABC", "", kTypedEmpty},
        // The byte that breaks a run is itself the start of the next try.
        {"AB", "AAB", kExpectedInsideTyped},
        {"BA", "BBA", kExpectedInsideTyped},
        {"AAB", "A", kTypedInsideExpected},
        // The search never steps back, so these overlapping occurrences are missed.
        {"AAB", "AAAB", kNotContained},
        {"AAAB", "AAB", kNotContained},
        {"ABAC", "ABABAC", kNotContained},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(containmentTest(c.expected.c_str(), c.typed.c_str()), c.result)
            << "expected \"" << c.expected << "\", typed \"" << c.typed << '"';
    }
}

TEST(ContainmentTest, ReadsOnlyTheFirstBytesOfOverlongTexts) {
    // Past the cut, "AB" would be found at the very end of the typed text.
    const std::string typed = kLongest + "B";
    EXPECT_EQ(containmentTest("AB", typed.c_str()), kNotContained);
    EXPECT_EQ(containmentTest(typed.c_str(), kLongest.c_str()), kExpectedInsideTyped);
}

} // namespace
