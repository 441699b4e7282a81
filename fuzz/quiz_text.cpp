// Any decoded text given to the quiz parser, then to the code parser: the record must stay
// within its limits, and every text must stay terminated inside its buffer.
#include "content/quiz_text.h"

#include <cstdlib>
#include <cstring>

namespace {

void checkText(const char (&text)[kQuizTextSize]) {
    if (!memchr(text, '\0', kQuizTextSize))
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuizRecord record;
    QuizTextStatus status = parseQuizText({data, size}, record);
    parseQuizCodes({data, size}, record);

    if (record.questionCount < 0 || record.questionCount > kMaxQuestions)
        abort();
    if (record.answerFieldCount != 1 && record.answerFieldCount != 2)
        abort();
    int nodes = 0;
    for (QuestionNode* node = record.questions.firstQuestion; node; node = node->next) {
        checkText(node->answer1);
        checkText(node->answer2);
        checkText(node->questionText);
        checkText(node->rewardText);
        ++nodes;
    }
    if (status == QuizTextStatus::kOk ? nodes != record.questionCount : nodes != 0)
        abort();
    for (const auto& code : record.codes)
        checkText(code);
    for (const auto* text : {&record.title, &record.creator, &record.explanation,
                             &record.answerLabel1, &record.answerLabel2})
        checkText(*text);
    return 0;
}
