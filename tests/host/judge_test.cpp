#include "judge/answer_text.h"
#include "judge/verdict.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

// Failures name the verdict by the word the player would see.
void PrintTo(Verdict verdict, std::ostream* out) {
    *out << '"' << verdictText(verdict) << '"';
}

namespace {

const std::string kLongest(kQuizTextMaxLength, 'A');

// What the verdict rows below cannot tell apart: the exact bytes trimmed and raised, texts
// past the buffer, and which of the two texts was found inside the other.
TEST(AnswerText, CleanUpDistanceAndContainment) {
    using Operation = void (*)(char(&)[kQuizTextSize]);
    const struct {
        Operation operation;
        std::string text, expected;
    } cleanUps[] = {
        // clang-format off
        {trimSpaces, " \tA\xA0  B ", "\tA\xA0  B"}, {trimSpaces, "   ", ""}, {trimSpaces, kLongest + "B", kLongest},
        {trimSpaces, " " + kLongest.substr(2) + " ", kLongest.substr(2)},
        {upperCaseAscii, "d\xE9j\xE0 vu az`{@[", "D\xE9J\xE0 VU AZ`{@["},
        {upperCaseAscii, std::string(300, 'a'), std::string(259, 'A')},
        {sortLetters, "PARIS", "AIPRS"}, {sortLetters, "t\xE9\x7F", "\xE9t\x7F"}, // signed bytes
        // clang-format on
    };
    for (const auto& c : cleanUps) {
        char text[kQuizTextSize] = {};
        memcpy(text, c.text.data(), std::min<size_t>(c.text.size(), kQuizTextSize));
        c.operation(text);
        EXPECT_EQ(text, c.expected) << '"' << c.text << '"';
    }
    const std::string overlong = kLongest + "BCDEF";
    // clang-format off
    const std::tuple<std::string, std::string, int> distances[] = {
        {"", "ABC", 3}, {"KITTEN", "SITTING", 3}, {kLongest, std::string(259, 'B'), 259},
        {overlong, kLongest, 0}, {overlong, "", 259}, {"AB", "BA", 2}}; // after a long one
    const std::tuple<std::string, std::string, Containment> containments[] = {
        {"TOUR EIFFEL", "TOUR EIFFEL", kExpectedInsideTyped}, {"ARC DE TRIOMPHE", "DE TRI", kTypedInsideExpected},
        {"", "", kExpectedEmpty}, {"ABC", "", kTypedEmpty}, {"ABC", "XXAB", kNotContained},
        {"AB", "AAB", kExpectedInsideTyped}, {"AAB", "A", kTypedInsideExpected}, // a breaking byte starts anew
        {"AB", kLongest + "B", kNotContained}, {kLongest + "B", kLongest, kExpectedInsideTyped}};
    // clang-format on
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

const struct Row {
    std::string expected, typed;
    Verdict verdict;
} kRows[] = {
    // clang-format off
    {"PARIS", "    ", Verdict::kNothingTyped}, {"", "", Verdict::kNothingTyped},
    {"PARIS", "  paris ", Verdict::kRight}, {"Tour Eiffel", "TOUR EIFFEL", Verdict::kRight},
    {kLongest + "XYZ", kLongest + "B", Verdict::kRight}, // both cut to the longest text
    // Accented letters are neither folded nor upper-cased.
    {"PARIS", "par\xEEs", Verdict::kOneEdit}, {"\xC9T\xC9", "\xE9t\xE9", Verdict::kTwoEdits},
    // The expected answer keeps its spaces; the typed one is cut before it is trimmed.
    {"PARIS ", "PARIS ", Verdict::kOneEdit}, {" " + kLongest, " " + kLongest, Verdict::kOneEdit},
    // Anagrams before one or two edits, and those before containment.
    {"PARIS", "PAIRS", Verdict::kAnagram}, {"AB", "ba", Verdict::kAnagram},
    {"T\xC9T\xC9", "\xC9T\xC9T", Verdict::kAnagram}, {"AAB", "ABB", Verdict::kOneEdit},
    {"ARC DE TRIOMPHE", "ARC DE TRIOMPH", Verdict::kOneEdit},
    {"TOUR EIFFEL", "TOUR EIFFEL!!", Verdict::kTwoEdits},
    {"NOTRE DAME DE PARIS", "NOTRE DAME DU PARI", Verdict::kTwoEdits},
    {"TOUR EIFFEL", "LA TOUR EIFFEL", Verdict::kTooLong}, {"AB", "XXABXX", Verdict::kTooLong},
    // Typed is part of the expected answer: length ratios.
    {kTwenty, kTwenty.substr(0, 15), Verdict::kTooShort},
    {kTwenty, kTwenty.substr(0, 14), Verdict::kNotFar}, // exactly 70 percent
    {kFortySeven, kFortySeven.substr(0, 33), Verdict::kTooShort},
    {kTwenty, kTwenty.substr(0, 11), Verdict::kNotFar},
    {kTwenty, kTwenty.substr(0, 10), Verdict::kWrong}, // exactly 50 percent
    {kFiftyNine, kFiftyNine.substr(0, 30), Verdict::kNotFar},
    {"ELEPHANTS", "ELEPHA", Verdict::kWrong}, {"ELEPHANTES", "ELEPHA", Verdict::kNotFar}, // 9, 10 bytes
    {"ARC DE TRIOMPHE", "DE TRIOMPHE", Verdict::kTooShort},
    {"AAB", "XYZAAAB", Verdict::kWrong}, {"ABABABABABAC", "ABABABAC", Verdict::kWrong},
    // Similarity over the larger length L: more than 80 percent when L > 5 * distance.
    {"ABCDEFGHIJKLMNO", "XBCDEFGXIJKLMNX", Verdict::kWrong}, // exactly 80 percent
    {"ABCDEFGHIJKLMNOP", "XBCDEFGXIJKLMNOX", Verdict::kSomeIdea},
    {"ABCDEFGHIJKLMNO", "XBCDEFGHIJKLMNYZ", Verdict::kSomeIdea},
    {"ABCDEFGHIJKLMNOP", "XBCDEFGHIJKLMNY", Verdict::kSomeIdea},
    {"PARIS", "LONDRES", Verdict::kWrong}, {"", "A", Verdict::kOneEdit},
    {"", "ab", Verdict::kTwoEdits}, {"", "ABC", Verdict::kWrong},
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
                  row.verdict == Verdict::kRight ||
                      (row.expected.empty() && row.verdict == Verdict::kNothingTyped));
        reached.insert(row.verdict);
    }
    EXPECT_EQ(reached.size(), size_t(kVerdictCount));
    EXPECT_TRUE(answersMatch("", "   "));
    // clang-format off
    const std::string words[] = {"?", "BRAVO", "Anagramme", "Quasiment", "Presque", "Trop long",
                                 "Trop court", "pas loin", "y a de l'id\xE9" "e", "FAUX"};
    // clang-format on
    for (int v = 0; v < kVerdictCount; ++v)
        EXPECT_EQ(verdictText(Verdict(v)), words[v]);
}

} // namespace
