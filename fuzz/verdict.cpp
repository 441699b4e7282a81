// Any two texts given to the judge: the first NUL (or the middle, when there is none) splits
// the input into the expected and the typed text. The judge gives one of its verdicts, matches
// exactly the right answers, and never reads or writes outside its buffers; the edit distance
// is symmetric, bounded, and zero only for equal texts.
#include "judge/verdict.h"
#include "fuzz/property.h"
#include "judge/answer_text.h"

#include <cstring>
#include <string>

bool propertyHolds(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t separator = input.find('\0');
    const bool separated = separator != std::string::npos;
    char expected[kQuizTextSize], typed[kQuizTextSize];
    copyQuizText(expected, input.substr(0, separated ? separator : size / 2).c_str());
    copyQuizText(typed, input.substr(separated ? separator + 1 : size / 2).c_str());

    const Verdict verdict = chooseVerdict(expected, typed);
    // Nothing typed against an empty expected answer matches, though its verdict is "?".
    const bool matches =
        verdict == Verdict::kRight || (verdict == Verdict::kNothingTyped && !expected[0]);
    const int distance = editDistance(expected, typed);
    const int containment = containmentTest(expected, typed);
    return int(verdict) >= 0 && int(verdict) < kVerdictCount &&
           answersMatch(expected, typed) == matches && distance == editDistance(typed, expected) &&
           distance >= 0 && size_t(distance) <= std::max(strlen(expected), strlen(typed)) &&
           (distance == 0) == (strcmp(expected, typed) == 0) &&
           containment >= kTypedInsideExpected && containment <= kExpectedInsideTyped;
}
