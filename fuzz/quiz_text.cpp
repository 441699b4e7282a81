// Any decoded text given to the quiz parser, then to the code parser: the record stays within
// its limits, holds every question of an accepted text and none of a refused one, and every
// text stays terminated inside its buffer.
#include "content/quiz_text.h"
#include "fuzz/property.h"

#include <algorithm>
#include <cstring>
#include <vector>

bool propertyHolds(const uint8_t* data, size_t size) {
    QuizRecord record;
    const QuizTextStatus status = parseQuizText({data, size}, record);
    parseQuizCodes({data, size}, record);
    std::vector<const char*> texts = {record.title, record.creator, record.explanation,
                                      record.answerLabel1, record.answerLabel2};
    int nodes = 0;
    for (QuestionNode* q = record.questions.firstQuestion; q; q = q->next, ++nodes)
        texts.insert(texts.end(), {q->answer1, q->answer2, q->questionText, q->rewardText});
    for (const auto& code : record.codes)
        texts.push_back(code);
    return record.questionCount >= 0 && record.questionCount <= kMaxQuestions &&
           (record.answerFieldCount == 1 || record.answerFieldCount == 2) &&
           nodes == (status == QuizTextStatus::kOk ? record.questionCount : 0) &&
           std::ranges::all_of(texts, [](const char* text) {
               return memchr(text, '\0', kQuizTextSize) != nullptr;
           });
}
