#include "judge/verdict.h"

#include "content/quiz_record.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

// Failures name the verdict by the word the player would see.
void PrintTo(Verdict verdict, std::ostream* out) {
    *out << '"' << verdictText(verdict) << '"';
}

namespace {

struct Row {
    std::string expected, typed;
    Verdict verdict;
    const char* why;
};

// Expected answers of known lengths, for the ratio boundaries: the typed texts are prefixes,
// so the shorter text is always found inside the longer one.
const std::string kTwenty = "ABCDEFGHIJKLMNOPQRST";
const std::string kFortySeven = kTwenty + kTwenty + "ABCDEFG";
const std::string kFiftyNine = kTwenty + kTwenty + "ABCDEFGHIJKLMNOPQRS";
const std::string kLongest(kQuizTextMaxLength, 'A');

const Row kRows[] = {
    // Nothing typed.
    {"PARIS", "", Verdict::kNothingTyped, "empty"},
    {"PARIS", "    ", Verdict::kNothingTyped, "spaces only"},
    {"", "", Verdict::kNothingTyped, "empty expected, nothing typed"},
    {"", " ", Verdict::kNothingTyped, "empty expected, a space typed"},

    // Right.
    {"PARIS", "PARIS", Verdict::kRight, "same text"},
    {"PARIS", "  paris ", Verdict::kRight, "spaces trimmed, lower case raised"},
    {"Tour Eiffel", "TOUR EIFFEL", Verdict::kRight, "expected is upper-cased too"},
    {"\xC9T\xC9", "\xC9t\xC9", Verdict::kRight, "accented capitals typed as stored"},
    {kLongest, kLongest, Verdict::kRight, "longest text"},
    {kLongest + "XYZ", kLongest, Verdict::kRight, "expected cut to the longest text"},
    {kLongest, kLongest + "B", Verdict::kRight, "typed cut to the longest text"},

    // Accented letters are neither folded nor upper-cased.
    {"PARIS", "par\xEEs", Verdict::kOneEdit, "i circumflex is not I"},
    {"\xC9T\xC9", "\xE9t\xE9", Verdict::kTwoEdits, "e acute is not E acute"},
    {"ETE", "\xE9t\xE9", Verdict::kTwoEdits, "e acute is not E"},

    // The expected answer keeps its spaces.
    {"PARIS ", "PARIS", Verdict::kOneEdit, "stored trailing space"},
    {"PARIS ", "PARIS ", Verdict::kOneEdit, "typed trailing space is trimmed away"},
    {" PARIS", " PARIS", Verdict::kOneEdit, "typed leading space is trimmed away"},
    {" " + kLongest, " " + kLongest, Verdict::kOneEdit, "cut before the spaces are trimmed"},

    // An anagram is recognised before one or two edits.
    {"PARIS", "SIRAP", Verdict::kAnagram, "reversed"},
    {"PARIS", "PAIRS", Verdict::kAnagram, "two neighbours swapped (distance 2)"},
    {"AB", "ba", Verdict::kAnagram, "two bytes swapped, lower case"},
    {"TOUR EIFFEL", "EIFFEL TOUR", Verdict::kAnagram, "spaces count as letters"},
    {"T\xC9T\xC9", "\xC9T\xC9T", Verdict::kAnagram, "accented letters count as letters"},
    {"AAB", "ABB", Verdict::kOneEdit, "same letters, different counts"},

    // One and two edits are recognised before containment.
    {"PARIS", "PARI", Verdict::kOneEdit, "one deletion"},
    {"PARIS", "PARISS", Verdict::kOneEdit, "one insertion"},
    {"PARIS", "PAROS", Verdict::kOneEdit, "one substitution"},
    {"TOUR EIFFEL", "TOUR EIFFELS", Verdict::kOneEdit, "contains expected, one more"},
    {"ARC DE TRIOMPHE", "ARC DE TRIOMPH", Verdict::kOneEdit, "inside expected, one less"},
    {"TOUR EIFFEL", "TOUR EIFFEL!!", Verdict::kTwoEdits, "contains expected, two more"},
    {"NOTRE DAME DE PARIS", "NOTRE DAME DU PARI", Verdict::kTwoEdits, "two edits"},
    {"ELEPHANTS", "ELEPHAN", Verdict::kTwoEdits, "inside expected, two less"},

    // Typed holds the expected answer and more.
    {"TOUR EIFFEL", "LA TOUR EIFFEL", Verdict::kTooLong, "three more in front"},
    {"AB", "XXABXX", Verdict::kTooLong, "no length limit"},

    // Typed is part of the expected answer: length ratios.
    {"ARC DE TRIOMPHE", "ARC DE TRIOM", Verdict::kTooShort, "80 percent"},
    {"ARC DE TRIOMPHE", "ARC DE TRI", Verdict::kNotFar, "66.7 percent"},
    {"ARC DE TRIOMPHE", "ARC DE", Verdict::kWrong, "40 percent"},
    {kTwenty, kTwenty.substr(0, 15), Verdict::kTooShort, "75 percent"},
    {kTwenty, kTwenty.substr(0, 14), Verdict::kNotFar, "exactly 70 percent"},
    {kFortySeven, kFortySeven.substr(0, 33), Verdict::kTooShort, "70.2 percent"},
    {kTwenty, kTwenty.substr(0, 11), Verdict::kNotFar, "55 percent"},
    {kTwenty, kTwenty.substr(0, 10), Verdict::kWrong, "exactly 50 percent"},
    {kFiftyNine, kFiftyNine.substr(0, 30), Verdict::kNotFar, "50.8 percent"},
    {"ELEPHANTS", "ELEPHA", Verdict::kWrong, "9-byte expected answer"},
    {"ELEPHANTES", "ELEPHA", Verdict::kNotFar, "10-byte expected answer"},
    {"ELEPHANTES", "ELEPHAN", Verdict::kNotFar, "10 bytes, exactly 70 percent"},
    {"ARC DE TRIOMPHE", "DE TRIOMPHE", Verdict::kTooShort, "found at the end"},

    // The search never steps back, so these overlapping occurrences count as not found.
    {"AAB", "XYZAAAB", Verdict::kWrong, "missed inside typed"},
    {"ABABABABABAC", "ABABABAC", Verdict::kWrong, "missed inside expected"},

    // Similarity over the larger length L: more than 80 percent when L > 5 * distance.
    {"NOTRE DAME DE PARIS", "NOTRA DOME DU PARIS", Verdict::kSomeIdea, "L 19, distance 3"},
    {"ABCDEFGHIJKLMNO", "XBCDEFGXIJKLMNX", Verdict::kWrong, "L 15, distance 3: exactly 80"},
    {"ABCDEFGHIJKLMNOP", "XBCDEFGXIJKLMNOX", Verdict::kSomeIdea, "L 16, distance 3"},
    {"ABCDEFGHIJKLMNOPQRSTU", "XBCDEXGHIJKXMNOPQXSTU", Verdict::kSomeIdea, "80.95 percent"},
    {"ABCDEFGHIJKLMNO", "XBCDEFGHIJKLMNYZ", Verdict::kSomeIdea, "typed is the longer (16)"},
    {"ABCDEFGHIJKLMNOP", "XBCDEFGHIJKLMNY", Verdict::kSomeIdea, "expected is the longer (16)"},
    {"PARIS", "LONDRES", Verdict::kWrong, "unrelated"},
    {kLongest, std::string(kQuizTextMaxLength, 'B'), Verdict::kWrong, "differs everywhere"},

    // An empty expected answer.
    {"", "A", Verdict::kOneEdit, "one byte typed"},
    {"", "ab", Verdict::kTwoEdits, "two bytes typed"},
    {"", "ABC", Verdict::kWrong, "three bytes typed"},
    {"", kLongest, Verdict::kWrong, "longest text typed"},
};

std::string describe(const Row& row) {
    return std::string(row.why) + ": expected \"" + row.expected + "\", typed \"" + row.typed + '"';
}

TEST(ChooseVerdict, JudgesEachRow) {
    for (const Row& row : kRows)
        EXPECT_EQ(chooseVerdict(row.expected.c_str(), row.typed.c_str()), row.verdict)
            << describe(row);
}

TEST(ChooseVerdict, TheRowsReachEveryVerdict) {
    std::set<Verdict> reached;
    for (const Row& row : kRows)
        reached.insert(row.verdict);
    EXPECT_EQ(reached.size(), size_t(kVerdictCount));
}

TEST(ChooseVerdict, LeavesItsArgumentsAsTheyWere) {
    char expected[kQuizTextSize] = "Paris";
    char typed[kQuizTextSize] = "  sirap ";
    EXPECT_EQ(chooseVerdict(expected, typed), Verdict::kAnagram);
    EXPECT_STREQ(expected, "Paris");
    EXPECT_STREQ(typed, "  sirap ");
}

TEST(AnswersMatch, AgreesWithTheRightVerdict) {
    // Nothing typed against an empty expected answer matches, though its verdict is "?".
    for (const Row& row : kRows) {
        bool emptyForEmpty = row.verdict == Verdict::kNothingTyped && row.expected.empty();
        EXPECT_EQ(answersMatch(row.expected.c_str(), row.typed.c_str()),
                  row.verdict == Verdict::kRight || emptyForEmpty)
            << describe(row);
    }
}

TEST(AnswersMatch, TakesEmptyForEmpty) {
    // So an unanswered field of an empty expected answer does not hold its question back.
    EXPECT_TRUE(answersMatch("", ""));
    EXPECT_TRUE(answersMatch("", "   "));
    EXPECT_FALSE(answersMatch("PARIS", ""));
}

TEST(VerdictText, GivesTheExactWords) {
    struct Word {
        Verdict verdict;
        std::string text;
    };
    const Word words[] = {
        {Verdict::kNothingTyped, "?"},
        {Verdict::kRight, "BRAVO"},
        {Verdict::kAnagram, "Anagramme"},
        {Verdict::kOneEdit, "Quasiment"},
        {Verdict::kTwoEdits, "Presque"},
        {Verdict::kTooLong, "Trop long"},
        {Verdict::kTooShort, "Trop court"},
        {Verdict::kNotFar, "pas loin"},
        {Verdict::kSomeIdea, std::string("y a de l'id") + char(0xE9) + 'e'},
        {Verdict::kWrong, "FAUX"},
    };
    std::set<std::string> seen;
    for (const Word& word : words) {
        EXPECT_EQ(verdictText(word.verdict), word.text);
        seen.insert(verdictText(word.verdict));
    }
    EXPECT_EQ(seen.size(), size_t(kVerdictCount));
}

} // namespace
