// Any two texts given to the judge: the first NUL (or the middle, when there is none) splits
// the input into the expected and the typed text. The judge must give one of its verdicts and
// never read or write outside its buffers; the edit distance must be symmetric and bounded.
#include "judge/verdict.h"
#include "judge/answer_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void copyCut(char (&destination)[kQuizTextSize], const uint8_t* bytes, size_t size) {
    size_t kept = std::min<size_t>(size, kQuizTextMaxLength);
    memcpy(destination, bytes, kept);
    destination[kept] = '\0';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* separator = static_cast<const uint8_t*>(memchr(data, '\0', size));
    size_t split = separator ? size_t(separator - data) : size / 2;
    size_t typedStart = separator ? split + 1 : split;
    char expected[kQuizTextSize], typed[kQuizTextSize];
    copyCut(expected, data, split);
    copyCut(typed, data + typedStart, size - typedStart);

    int verdict = static_cast<int>(chooseVerdict(expected, typed));
    if (verdict < 0 || verdict >= kVerdictCount)
        abort();
    // Nothing typed against an empty expected answer matches, though its verdict is "?".
    bool right = verdict == static_cast<int>(Verdict::kRight);
    bool emptyForEmpty = verdict == static_cast<int>(Verdict::kNothingTyped) && !expected[0];
    if (answersMatch(expected, typed) != (right || emptyForEmpty))
        abort();

    int distance = editDistance(expected, typed);
    int longer = static_cast<int>(std::max(strlen(expected), strlen(typed)));
    if (distance != editDistance(typed, expected) || distance < 0 || distance > longer)
        abort();
    if ((distance == 0) != (strcmp(expected, typed) == 0))
        abort();
    int containment = containmentTest(expected, typed);
    if (containment < kTypedInsideExpected || containment > kExpectedInsideTyped)
        abort();
    return 0;
}
