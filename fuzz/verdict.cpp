// Any two texts given to the judge: the first NUL (or the middle, when there is none) splits
// the input into the expected and the typed text. The judge gives one of its verdicts, matches
// exactly the right answers, and never reads or writes outside its buffers; the edit distance
// is symmetric, bounded, and zero only for equal texts.
#include "judge/verdict.h"
#include "judge/answer_text.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto* separator = static_cast<const uint8_t*>(memchr(data, '\0', size));
    const size_t split = separator ? size_t(separator - data) : size / 2;
    const size_t typedStart = separator ? split + 1 : split;
    char expected[kQuizTextSize] = {}, typed[kQuizTextSize] = {};
    memcpy(expected, data, std::min<size_t>(split, kQuizTextMaxLength));
    memcpy(typed, data + typedStart, std::min<size_t>(size - typedStart, kQuizTextMaxLength));

    const Verdict verdict = chooseVerdict(expected, typed);
    // Nothing typed against an empty expected answer matches, though its verdict is "?".
    const bool matches =
        verdict == Verdict::kRight || (verdict == Verdict::kNothingTyped && !expected[0]);
    const int distance = editDistance(expected, typed);
    const int containment = containmentTest(expected, typed);
    if (int(verdict) < 0 || int(verdict) >= kVerdictCount ||
        answersMatch(expected, typed) != matches || distance != editDistance(typed, expected) ||
        distance < 0 || size_t(distance) > std::max(strlen(expected), strlen(typed)) ||
        (distance == 0) != (strcmp(expected, typed) == 0) || containment < kTypedInsideExpected ||
        containment > kExpectedInsideTyped)
        abort();
    return 0;
}
