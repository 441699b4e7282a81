#include "judge/verdict.h"

#include "judge/answer_text.h"

#include <cstring>

namespace {

using AnswerText = char[kQuizTextSize];

// The player's spaces around an answer are forgiven, but the expected answer is taken as the
// quiz stores it, trailing space included.
struct CleanedAnswers {
    AnswerText expected;
    AnswerText typed;

    CleanedAnswers(const char* expectedText, const char* typedText) {
        copyQuizText(expected, expectedText);
        upperCaseAscii(expected);
        copyQuizText(typed, typedText);
        trimSpaces(typed);
        upperCaseAscii(typed);
    }
};

bool isAnagram(const AnswerText& expected, const AnswerText& typed) {
    AnswerText sortedExpected, sortedTyped;
    copyQuizText(sortedExpected, expected);
    copyQuizText(sortedTyped, typed);
    sortLetters(sortedExpected);
    sortLetters(sortedTyped);
    return strcmp(sortedExpected, sortedTyped) == 0;
}

// Whole-number forms of "more than 70 percent" and "more than 50 percent" of the length.
Verdict partOfExpected(size_t expectedLength, size_t typedLength) {
    // Part of a short answer is too little to deserve a word of encouragement.
    constexpr size_t kShortestPartlyRight = 10;
    if (expectedLength < kShortestPartlyRight)
        return Verdict::kWrong;
    if (10 * typedLength > 7 * expectedLength)
        return Verdict::kTooShort;
    if (2 * typedLength > expectedLength)
        return Verdict::kNotFar;
    return Verdict::kWrong;
}

// Whole-number form of "more than 80 percent similar": (L - d) / L > 4/5.
Verdict similarity(size_t expectedLength, size_t typedLength, int distance) {
    size_t longer = typedLength < expectedLength ? expectedLength : typedLength;
    return longer > 5 * static_cast<size_t>(distance) ? Verdict::kSomeIdea : Verdict::kWrong;
}

// The tests run from the closest match outward, so two swapped letters are an anagram rather
// than two edits, and one extra byte is one edit rather than too long.
Verdict judgeCleaned(const CleanedAnswers& answers) {
    const AnswerText& expected = answers.expected;
    const AnswerText& typed = answers.typed;
    if (typed[0] == '\0')
        return Verdict::kNothingTyped;
    int distance = editDistance(expected, typed);
    if (distance == 0)
        return Verdict::kRight;
    if (isAnagram(expected, typed))
        return Verdict::kAnagram;
    if (distance == 1)
        return Verdict::kOneEdit;
    if (distance == 2)
        return Verdict::kTwoEdits;

    size_t expectedLength = strlen(expected);
    size_t typedLength = strlen(typed);
    switch (containmentTest(expected, typed)) {
    case kTypedInsideExpected:
        return partOfExpected(expectedLength, typedLength);
    case kExpectedInsideTyped:
        return Verdict::kTooLong;
    default:
        return similarity(expectedLength, typedLength, distance);
    }
}

} // namespace

const char* verdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::kNothingTyped:
        return "?";
    case Verdict::kRight:
        return "BRAVO";
    case Verdict::kAnagram:
        return "Anagramme";
    case Verdict::kOneEdit:
        return "Quasiment";
    case Verdict::kTwoEdits:
        return "Presque";
    case Verdict::kTooLong:
        return "Trop long";
    case Verdict::kTooShort:
        return "Trop court";
    case Verdict::kNotFar:
        return "pas loin";
    case Verdict::kSomeIdea:
        // Two literals, since "\xE9e" would be read as one hex escape.
        return "y a de l'id\xE9"
               "e";
    case Verdict::kWrong:
        return "FAUX";
    }
    return "FAUX";
}

Verdict chooseVerdict(const char* expected, const char* typed) {
    return judgeCleaned(CleanedAnswers(expected, typed));
}

bool answersMatch(const char* expected, const char* typed) {
    CleanedAnswers answers(expected, typed);
    return strcmp(answers.expected, answers.typed) == 0;
}

std::optional<VerdictColour> verdictColour(Verdict verdict) {
    switch (verdict) {
    case Verdict::kNothingTyped:
        return std::nullopt;
    case Verdict::kRight:
        return VerdictColour{0, 255, 0};
    case Verdict::kAnagram:
        return VerdictColour{255, 100, 0};
    case Verdict::kWrong:
        return VerdictColour{255, 0, 0};
    default:
        return VerdictColour{255, 203, 38};
    }
}
