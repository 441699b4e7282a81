// Any decoded text given to the quiz parser, then to the code parser: the record stays within
// its limits, holds every question of an accepted text and none of a refused one, and every
// text stays terminated inside its buffer.
#include "content/quiz_text.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuizRecord record;
    const QuizTextStatus status = parseQuizText({data, size}, record);
    parseQuizCodes({data, size}, record);
    bool ok = record.questionCount >= 0 && record.questionCount <= kMaxQuestions &&
              (record.answerFieldCount == 1 || record.answerFieldCount == 2);
    auto terminated = [](const char(&text)[kQuizTextSize]) {
        return memchr(text, '\0', kQuizTextSize) != nullptr;
    };
    int nodes = 0;
    for (QuestionNode* q = record.questions.firstQuestion; q; q = q->next, ++nodes)
        ok &= terminated(q->answer1) && terminated(q->answer2) && terminated(q->questionText) &&
              terminated(q->rewardText);
    for (const auto& code : record.codes)
        ok &= terminated(code);
    if (!ok || nodes != (status == QuizTextStatus::kOk ? record.questionCount : 0) ||
        !terminated(record.title) || !terminated(record.creator) ||
        !terminated(record.explanation) || !terminated(record.answerLabel1) ||
        !terminated(record.answerLabel2))
        abort();
    return 0;
}
