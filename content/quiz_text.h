// The decoded quiz texts: resource 104 (the quiz) and resource 105 (the completion codes).
//
// Resource 104: byte 0 unused, byte 1 media kind + 1, byte 2 question count, byte 3 answer
// fields per question, then '|'-terminated fields: title, creator, explanation, the two answer
// labels, per question its answer(s) and text, then the reward kind byte, the reward texts and
// three colour bytes (red, green, blue). Resource 105: one CR LF line per score level.
#pragma once

#include "content/quiz_record.h"

#include <cstdint>
#include <span>

enum class QuizTextStatus {
    kOk,
    kTruncated,           // ends before a field, separator, reward or colour byte it announces
    kTooManyQuestions,    // more than kMaxQuestions
    kBadAnswerFieldCount, // neither 1 nor 2
};

// Fills the record from decoded resource 104, all or nothing: a text that is refused leaves
// the record untouched. Fields longer than kQuizTextMaxLength bytes are cut to that length.
QuizTextStatus parseQuizText(std::span<const uint8_t> text, QuizRecord& record);

// Fills the code table from decoded resource 105: one code per question, each up to its CR,
// the byte after the CR skipped. Codes are cut to kQuizTextMaxLength bytes; a text that ends
// early leaves the remaining codes as they were (empty after construction).
void parseQuizCodes(std::span<const uint8_t> text, QuizRecord& record);

// The quiz that a player built without quiz resources shows.
void loadDefaultQuiz(QuizRecord& record);
