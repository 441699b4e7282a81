#include "judge/answer_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

// Also terminates a buffer that holds no terminator, so the in-place operations stay inside it.
size_t boundedLength(char (&text)[kQuizTextSize]) {
    size_t length = strnlen(text, kQuizTextMaxLength);
    text[length] = '\0';
    return length;
}

size_t boundedLength(const char* text) {
    return strnlen(text, kQuizTextMaxLength);
}

// Row i holds the distances from the first i bytes of one text, column j from the first j of
// the other. Lengths are capped at kQuizTextMaxLength, so indices stay below kQuizTextSize. It
// is static because the judge must not allocate per answer, and 270 KB is too much for a stack.
std::array<std::array<int32_t, kQuizTextSize>, kQuizTextSize> distanceTable;

} // namespace

void trimSpaces(char (&text)[kQuizTextSize]) {
    size_t end = boundedLength(text);
    while (end > 0 && text[end - 1] == ' ')
        --end;
    text[end] = '\0';
    size_t start = 0;
    while (start < end && text[start] == ' ')
        ++start;
    memmove(text, text + start, end - start + 1);
}

void upperCaseAscii(char (&text)[kQuizTextSize]) {
    size_t length = boundedLength(text);
    for (size_t i = 0; i < length; ++i) {
        if (text[i] >= 'a' && text[i] <= 'z')
            text[i] = static_cast<char>(text[i] - ('a' - 'A'));
    }
}

void sortLetters(char (&text)[kQuizTextSize]) {
    size_t length = boundedLength(text);
    std::sort(text, text + length, [](char left, char right) {
        return static_cast<signed char>(left) < static_cast<signed char>(right);
    });
}

int editDistance(const char* a, const char* b) {
    size_t lengthA = boundedLength(a);
    size_t lengthB = boundedLength(b);
    if (lengthA == 0)
        return static_cast<int>(lengthB);
    if (lengthB == 0)
        return static_cast<int>(lengthA);

    auto& table = distanceTable;
    for (size_t i = 0; i <= lengthA; ++i)
        table[i][0] = static_cast<int32_t>(i);
    for (size_t j = 0; j <= lengthB; ++j)
        table[0][j] = static_cast<int32_t>(j);
    for (size_t i = 1; i <= lengthA; ++i) {
        for (size_t j = 1; j <= lengthB; ++j) {
            int32_t substitution = table[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            table[i][j] = std::min({table[i - 1][j] + 1, table[i][j - 1] + 1, substitution});
        }
    }
    return table[lengthA][lengthB];
}

Containment containmentTest(const char* expected, const char* typed) {
    size_t expectedLength = boundedLength(expected);
    size_t typedLength = boundedLength(typed);
    bool typedIsNeedle = typedLength < expectedLength;
    const char* needle = typedIsNeedle ? typed : expected;
    const char* haystack = typedIsNeedle ? expected : typed;
    size_t needleLength = typedIsNeedle ? typedLength : expectedLength;
    size_t haystackLength = typedIsNeedle ? expectedLength : typedLength;

    if (needleLength == 0)
        return typedIsNeedle ? kTypedEmpty : kExpectedEmpty;
    size_t h = 0;
    for (;;) {
        while (h < haystackLength && haystack[h] != needle[0])
            ++h;
        if (h == haystackLength)
            return kNotContained;
        size_t p = 0;
        while (p < needleLength && h < haystackLength && haystack[h] == needle[p]) {
            ++h;
            ++p;
        }
        if (p == needleLength)
            return typedIsNeedle ? kTypedInsideExpected : kExpectedInsideTyped;
        // h stays on the byte that broke the run: the search never steps back.
    }
}
