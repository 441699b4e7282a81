#include "judge/answer_text.h"
#include "judge/verdict.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const std::string kLongest(kQuizTextMaxLength, 'A');

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
    // Accented letters are neither folded nor upper-cased, nor are the bytes around a to z.
    {"PARIS", "par\xEEs", kOneEdit}, {"AZ@[", "az`{", kTwoEdits},
    // The expected answer keeps its spaces; the typed one is cut before it is trimmed.
    {"PARIS ", "PARIS ", kOneEdit}, {" " + kLongest, " " + kLongest, kOneEdit},
    // Anagrams before one or two edits, and those before containment.
    {"PARIS", "PAIRS", kAnagram}, {"ARC DE TRIOMPHE", "ARC DE TRIOMPH", kOneEdit},
    {"TOUR EIFFEL", "TOUR EIFFEL!!", kTwoEdits}, {"TOUR EIFFEL", "LA TOUR EIFFEL", kTooLong},
    // Typed is part of the expected answer: length ratios 70, 70.2, 50 and 50.8 percent.
    {kTwenty, kTwenty.substr(0, 14), kNotFar}, {kFortySeven, kFortySeven.substr(0, 33), kTooShort},
    {kTwenty, kTwenty.substr(0, 10), kWrong}, {kFiftyNine, kFiftyNine.substr(0, 30), kNotFar},
    {"ELEPHANTS", "ELEPHA", kWrong}, {"ELEPHANTES", "ELEPHA", kNotFar}, // 9, 10 bytes
    {"AAB", "XYZAAAB", kWrong}, // the search for the expected answer never steps back
    // Similarity over the larger length L: more than 80 percent when L > 5 * distance.
    {"ABCDEFGHIJKLMNO", "XBCDEFGXIJKLMNX", kWrong}, // 80
    {"ABCDEFGHIJKLMNOP", "XBCDEFGXIJKLMNOX", kSomeIdea}, // 81.25
    {"ABCDEFGHIJKLMNO", "XBCDEFGHIJKLMNYZ", kSomeIdea},
    {"ABCDEFGHIJKLMNOP", "XBCDEFGHIJKLMNY", kSomeIdea}, {"", "ABC", kWrong},
    // clang-format on
};

TEST(Verdict, JudgesEveryRowAndMatchesOnlyTheRightOnes) {
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
    }
    EXPECT_TRUE(answersMatch("", "   "));
    std::string words;
    for (int v = 0; v < kVerdictCount; ++v)
        words += verdictText(Verdict(v)) + std::string("|");
    EXPECT_EQ(words,
              "?|BRAVO|Anagramme|Quasiment|Presque|Trop long|Trop court|pas loin|y a de l'id\xE9"
              "e|FAUX|");
}

} // namespace
