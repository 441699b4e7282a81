// The word that the judge shows beside an answer field, and how it is chosen.
#pragma once

#include <cstdint>
#include <optional>

// Ordered from nothing typed through right and nearly right to wrong.
enum class Verdict {
    kNothingTyped, // "?"
    kRight,        // "BRAVO"
    kAnagram,      // "Anagramme": the right bytes in another order
    kOneEdit,      // "Quasiment"
    kTwoEdits,     // "Presque"
    kTooLong,      // "Trop long": holds the expected answer and more
    kTooShort,     // "Trop court": over 70 percent of a long expected answer
    kNotFar,       // "pas loin": over 50 and at most 70 percent of a long expected answer
    kSomeIdea,     // "y a de l'id\xE9e": over 80 percent similar
    kWrong,        // "FAUX"
};

constexpr int kVerdictCount = 10;
static_assert(static_cast<int>(Verdict::kWrong) + 1 == kVerdictCount);

// The Windows-1252 text of the verdict field, exactly as the player sees it.
const char* verdictText(Verdict verdict);

// Judges one typed answer. Typed is trimmed of spaces, both are upper-cased (ASCII only); the
// expected answer is not trimmed, so a space stored at its end must be typed too. Texts longer
// than kQuizTextMaxLength bytes are judged on their first kQuizTextMaxLength bytes.
Verdict chooseVerdict(const char* expected, const char* typed);

// True when the cleaned-up texts are equal: the same test that gives kRight, without the rest
// of the judging.
bool answersMatch(const char* expected, const char* typed);

// The colour the board paints a verdict field in: green for right, red for wrong, orange for an
// anagram, yellow for every near miss; none for "?", which keeps the field's own colours.
struct VerdictColour {
    uint8_t red, green, blue;
};
std::optional<VerdictColour> verdictColour(Verdict verdict);
