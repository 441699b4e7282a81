#include "maker/quiz_reader.h"

#include "content/lzw_codec.h"
#include "content/quiz_text.h"

#include <memory>

namespace {

const char* describe(QuizTextStatus status) {
    switch (status) {
    case QuizTextStatus::kOk:
        return "readable";
    case QuizTextStatus::kTruncated:
        return "ends before all the texts it announces";
    case QuizTextStatus::kTooManyQuestions:
        return "announces more questions than a quiz can hold";
    case QuizTextStatus::kBadAnswerFieldCount:
        return "announces neither one nor two answers per question";
    }
    return "unreadable";
}

SourcedText text(const char* value) {
    return {value, 0};
}

void readCodes(const QuizResources& resources, const std::string& origin, QuizRecord& record,
               Diagnostics& diagnostics) {
    const std::string field = "PATCH " + std::to_string(IDR_QUIZ_CODES);
    if (!resources.quizCodes || resources.quizCodes->empty()) {
        diagnostics.warning(origin, 0, field, "missing: the player shows no codes");
        return;
    }
    std::vector<uint8_t> codes;
    if (lzwDecode(*resources.quizCodes, codes) != kLzwOk) {
        diagnostics.warning(origin, 0, field, "cannot be decoded: the player shows no codes");
        return;
    }
    parseQuizCodes(codes, record);
}

} // namespace

std::optional<QuizSource> quizFromResources(const QuizResources& resources,
                                            const std::string& origin, Diagnostics& diagnostics) {
    const std::string field = "PATCH " + std::to_string(IDR_QUIZ_TEXT);
    if (!resources.quizText || resources.quizText->empty()) {
        diagnostics.error(origin, 0, field,
                          "missing: this player carries no quiz and shows its built-in one");
        return std::nullopt;
    }
    std::vector<uint8_t> decoded;
    if (lzwDecode(*resources.quizText, decoded) != kLzwOk) {
        diagnostics.error(origin, 0, field, "cannot be decoded");
        return std::nullopt;
    }
    // The record is large (its code table alone is 25 KB): keep it off the stack.
    auto record = std::make_unique<QuizRecord>();
    if (QuizTextStatus status = parseQuizText(decoded, *record); status != QuizTextStatus::kOk) {
        diagnostics.error(origin, 0, field, std::string("the quiz text ") + describe(status));
        return std::nullopt;
    }
    if (record->mediaKind < kMediaTextList || record->mediaKind > kMediaVideo) {
        diagnostics.error(origin, 0, field,
                          "unknown layout " + std::to_string(record->mediaKind + 1));
        return std::nullopt;
    }
    if (record->rewardKind < kRewardNone || record->rewardKind > kRewardFinal) {
        diagnostics.error(origin, 0, field,
                          "unknown reward kind " + std::to_string(record->rewardKind));
        return std::nullopt;
    }
    readCodes(resources, origin, *record, diagnostics);

    QuizSource quiz;
    quiz.file = origin;
    quiz.title = text(record->title);
    quiz.creator = text(record->creator);
    quiz.explanation = text(record->explanation);
    quiz.layout = {static_cast<MediaKind>(record->mediaKind), 0};
    quiz.colour = {{record->colourRed, record->colourGreen, record->colourBlue}, 0};
    quiz.answerLabels = {text(record->answerLabel1), text(record->answerLabel2)};
    quiz.reward = {static_cast<RewardKind>(record->rewardKind), 0};
    quiz.answerFieldCount = record->answerFieldCount;
    for (int i = 0; i < record->questionCount; ++i) {
        const QuestionNode* node = questionAt(*record, i);
        QuestionSource question;
        question.answers.push_back(text(node->answer1));
        if (record->answerFieldCount == 2)
            question.answers.push_back(text(node->answer2));
        question.text = text(node->questionText);
        if (rewardHasText(quiz.reward.value))
            question.rewardText = text(node->rewardText);
        quiz.questions.push_back(std::move(question));
    }
    for (int s = 0; s < record->questionCount; ++s)
        quiz.codes.push_back(text(record->codes[s]));
    return quiz;
}
