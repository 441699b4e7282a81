// Any decoded text given to the quiz parser, then to the code parser: the record stays within
// its limits, holds every question of an accepted text and none of a refused one, and every
// text stays terminated inside its buffer.
#include "content/quiz_text.h"

#include <cstdlib>
#include <cstring>

namespace {

void require(bool condition) {
    if (!condition)
        abort();
}

bool terminated(const char (&text)[kQuizTextSize]) {
    return memchr(text, '\0', kQuizTextSize);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuizRecord record;
    const QuizTextStatus status = parseQuizText({data, size}, record);
    parseQuizCodes({data, size}, record);
    require(record.questionCount >= 0 && record.questionCount <= kMaxQuestions);
    require(record.answerFieldCount == 1 || record.answerFieldCount == 2);
    int nodes = 0;
    for (QuestionNode* q = record.questions.firstQuestion; q; q = q->next, ++nodes)
        require(terminated(q->answer1) && terminated(q->answer2) && terminated(q->questionText) &&
                terminated(q->rewardText));
    require(nodes == (status == QuizTextStatus::kOk ? record.questionCount : 0));
    for (const auto& code : record.codes)
        require(terminated(code));
    require(terminated(record.title) && terminated(record.creator) &&
            terminated(record.explanation) && terminated(record.answerLabel1) &&
            terminated(record.answerLabel2));
    return 0;
}
