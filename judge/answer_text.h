// Clean-up and comparison of answers. Texts are NUL-terminated Windows-1252 strings of at most
// kQuizTextMaxLength bytes; case folding is ASCII only, so accented letters never match their
// base letter or their other case.
#pragma once

#include "content/quiz_record.h"

// What containmentTest finds: whether the shorter text runs unbroken inside the longer one.
enum Containment : int {
    kTypedInsideExpected = -2, // typed is shorter than expected and found in it
    kTypedEmpty = -1,          // typed is empty, expected is not
    kNotContained = 0,
    kExpectedEmpty = 1,       // expected is empty, typed may be too
    kExpectedInsideTyped = 2, // typed is at least as long as expected and holds it
};

// The in-place operations take the whole buffer so they can never run past it: a buffer that
// holds no terminator is first cut to kQuizTextMaxLength bytes.

// Removes leading and trailing spaces (0x20 only: tabs and non-breaking spaces 0xA0 stay).
void trimSpaces(char (&text)[kQuizTextSize]);
// Raises a..z to A..Z and leaves every other byte as it is.
void upperCaseAscii(char (&text)[kQuizTextSize]);
// Sorts the bytes by their value as signed bytes, so 0x80..0xFF come before ASCII. Only the
// equality of two sorted texts means anything: it is the anagram test.
void sortLetters(char (&text)[kQuizTextSize]);

// Levenshtein distance: insertion, deletion and substitution of a byte cost 1 each. Texts
// longer than kQuizTextMaxLength bytes are compared on their first kQuizTextMaxLength bytes.
// Works in one static table, so it is not reentrant (the judge runs on one thread only).
int editDistance(const char* a, const char* b);

// The search resumes at the byte that broke a failed run instead of one byte after that run's
// start, so an occurrence that overlaps a longer false start is missed: expected "AAB" is not
// found in typed "AAAB". The verdicts rest on exactly this search, so it must not be turned
// into a full substring search. Like editDistance, it reads at most kQuizTextMaxLength bytes of
// each text.
Containment containmentTest(const char* expected, const char* typed);
