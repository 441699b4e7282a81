#include "judge/answer_text.h"
#include "judge/verdict.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

const std::string kLongest(kQuizTextMaxLength, 'A');

// What the verdict rows below cannot tell apart: the exact bytes trimmed and raised, texts
// past the buffer, and which of the two texts was found inside the other.
TEST(AnswerText, CleanUpDistanceAndContainment) {
    const std::string overlong = kLongest + "BCDEF";
    // clang-format off
    const std::tuple<void (*)(char(&)[kQuizTextSize]), std::string, std::string> cleanUps[] = {
        {trimSpaces, " \tA\xA0  B ", "\tA\xA0  B"}, {trimSpaces, "   ", ""}, {trimSpaces, kLongest + "B", kLongest},
        {trimSpaces, " " + kLongest.substr(2) + " ", kLongest.substr(2)},
        {upperCaseAscii, "d\xE9j\xE0 vu az`{@[", "D\xE9J\xE0 VU AZ`{@["}, {upperCaseAscii, std::string(300, 'a'), std::string(259, 'A')},
        {sortLetters, "PARIS", "AIPRS"}, {sortLetters, "t\xE9\x7F", "\xE9t\x7F"}}; // signed bytes
    const std::tuple<std::string, std::string, int> distances[] = {
        {"", "ABC", 3}, {"KITTEN", "SITTING", 3}, {kLongest, std::string(259, 'B'), 259},
        {overlong, kLongest, 0}, {overlong, "", 259}, {"AB", "BA", 2}}; // after a long one
    const std::tuple<std::string, std::string, Containment> containments[] = {
        {"TOUR EIFFEL", "TOUR EIFFEL", kExpectedInsideTyped}, {"ARC DE TRIOMPHE", "DE TRI", kTypedInsideExpected},
        {"", "", kExpectedEmpty}, {"ABC", "", kTypedEmpty}, {"ABC", "XXAB", kNotContained},
        {"AB", "AAB", kExpectedInsideTyped}, {"AAB", "A", kTypedInsideExpected}, // a breaking byte starts anew
        {"AB", kLongest + "B", kNotContained}, {kLongest + "B", kLongest, kExpectedInsideTyped}};
    // clang-format on
    for (const auto& [operation, before, after] : cleanUps) {
        char text[kQuizTextSize] = {};
        memcpy(text, before.data(), std::min<size_t>(before.size(), kQuizTextSize));
        operation(text);
        EXPECT_EQ(text, after) << '"' << before << '"';
    }
    for (const auto& [a, b, distance] : distances) {
        EXPECT_EQ(editDistance(a.c_str(), b.c_str()), distance) << a << " / " << b;
        EXPECT_EQ(editDistance(b.c_str(), a.c_str()), distance) << b << " / " << a;
    }
    for (const auto& [expected, typed, result] : containments)
        EXPECT_EQ(containmentTest(expected.c_str(), typed.c_str()), result)
            << expected << " / " << typed;
}

// Expected answers of known lengths for the ratio boundaries: the typed texts are prefixes.
const std::string kTwenty = "ABCDEFGHIJKLMNOPQRST";
const std::string kFortySeven = kTwenty + kTwenty + "ABCDEFG";
const std::string kFiftyNine = kTwenty + kTwenty + "ABCDEFGHIJKLMNOPQRS";

using enum Verdict;
const struct Row {
    std::string expected, typed;
    Verdict verdict;
} kRows[] = {
    // clang-format off
    {"PARIS", "    ", kNothingTyped}, {"", "", kNothingTyped}, {"PARIS", "  paris ", kRight},
    {"Tour Eiffel", "TOUR EIFFEL", kRight}, {kLongest + "XYZ", kLongest + "B", kRight}, // both cut
    // Accented letters are neither folded nor upper-cased.
    {"PARIS", "par\xEEs", kOneEdit}, {"\xC9T\xC9", "\xE9t\xE9", kTwoEdits},
    // The expected answer keeps its spaces; the typed one is cut before it is trimmed.
    {"PARIS ", "PARIS ", kOneEdit}, {" " + kLongest, " " + kLongest, kOneEdit},
    // Anagrams before one or two edits, and those before containment.
    {"PARIS", "PAIRS", kAnagram}, {"T\xC9T\xC9", "\xC9T\xC9T", kAnagram}, {"AAB", "ABB", kOneEdit},
    {"ARC DE TRIOMPHE", "ARC DE TRIOMPH", kOneEdit}, {"TOUR EIFFEL", "TOUR EIFFEL!!", kTwoEdits},
    {"TOUR EIFFEL", "LA TOUR EIFFEL", kTooLong}, {"AB", "XXABXX", kTooLong},
    // Typed is part of the expected answer: length ratios 75, 70, 70.2, 50 and 50.8 percent.
    {kTwenty, kTwenty.substr(0, 15), kTooShort}, {kTwenty, kTwenty.substr(0, 14), kNotFar},
    {kFortySeven, kFortySeven.substr(0, 33), kTooShort}, {kTwenty, kTwenty.substr(0, 10), kWrong},
    {kFiftyNine, kFiftyNine.substr(0, 30), kNotFar}, {"ARC DE TRIOMPHE", "DE TRIOMPHE", kTooShort},
    {"ELEPHANTS", "ELEPHA", kWrong}, {"ELEPHANTES", "ELEPHA", kNotFar}, // 9, 10 bytes
    {"AAB", "XYZAAAB", kWrong}, {"ABABABABABAC", "ABABABAC", kWrong}, {"PARIS", "LONDRES", kWrong},
    // Similarity over the larger length L: more than 80 percent when L > 5 * distance.
    {"ABCDEFGHIJKLMNO", "XBCDEFGXIJKLMNX", kWrong}, {"ABCDEFGHIJKLMNOP", "XBCDEFGXIJKLMNOX", kSomeIdea}, // 80, 81.25
    {"ABCDEFGHIJKLMNO", "XBCDEFGHIJKLMNYZ", kSomeIdea}, {"ABCDEFGHIJKLMNOP", "XBCDEFGHIJKLMNY", kSomeIdea},
    {"", "A", kOneEdit}, {"", "ab", kTwoEdits}, {"", "ABC", kWrong},
    // clang-format on
};

TEST(Verdict, JudgesEveryRowAndMatchesOnlyTheRightOnes) {
    std::set<Verdict> reached;
    for (const Row& row : kRows) {
        SCOPED_TRACE("expected \"" + row.expected + "\", typed \"" + row.typed + '"');
        char expected[kQuizTextSize * 2], typed[kQuizTextSize * 2];
        strcpy(expected, row.expected.c_str());
        strcpy(typed, row.typed.c_str());
        EXPECT_EQ(chooseVerdict(expected, typed), row.verdict);
        EXPECT_EQ(expected + ("|" + std::string(typed)), row.expected + "|" + row.typed);
        // Nothing typed against an empty expected answer matches, though its verdict is "?".
        EXPECT_EQ(answersMatch(expected, typed),
                  row.verdict == kRight || (row.expected.empty() && row.verdict == kNothingTyped));
        reached.insert(row.verdict);
    }
    EXPECT_EQ(reached.size(), size_t(kVerdictCount));
    EXPECT_TRUE(answersMatch("", "   "));
    std::string words;
    for (int v = 0; v < kVerdictCount; ++v)
        words += verdictText(Verdict(v)) + std::string("|");
    EXPECT_EQ(words,
              "?|BRAVO|Anagramme|Quasiment|Presque|Trop long|Trop court|pas loin|y a de l'id\xE9"
              "e|FAUX|");
}

} // namespace
