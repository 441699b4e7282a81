#include "content/quiz_text.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace {

constexpr uint8_t kFieldSeparator = '|';
constexpr uint8_t kCarriageReturn = 0x0D;

class QuizTextReader {
  public:
    explicit QuizTextReader(std::span<const uint8_t> text) : text_(text) {}

    bool readByte(uint8_t& byte) {
        if (position_ >= text_.size())
            return false;
        byte = text_[position_++];
        return true;
    }

    // Reads up to and past the next separator; keeps the first kQuizTextMaxLength bytes when
    // `destination` is given. False when the text ends before the separator.
    bool readField(char (*destination)[kQuizTextSize]) {
        auto rest = text_.subspan(position_);
        auto separator = std::find(rest.begin(), rest.end(), kFieldSeparator);
        if (separator == rest.end())
            return false;
        size_t length = static_cast<size_t>(separator - rest.begin());
        if (destination)
            copyCut(*destination, rest.first(length));
        position_ += length + 1;
        return true;
    }

    // Reads up to the next CR and steps over it and the byte after it. At the end of the text
    // the line ends there. False when nothing is left to read.
    bool readLine(char (&destination)[kQuizTextSize]) {
        if (position_ >= text_.size())
            return false;
        auto rest = text_.subspan(position_);
        auto end = std::find(rest.begin(), rest.end(), kCarriageReturn);
        size_t length = static_cast<size_t>(end - rest.begin());
        copyCut(destination, rest.first(length));
        position_ += length + 2;
        return true;
    }

  private:
    static void copyCut(char (&destination)[kQuizTextSize], std::span<const uint8_t> bytes) {
        size_t kept = std::min<size_t>(bytes.size(), kQuizTextMaxLength);
        memcpy(destination, bytes.data(), kept);
        destination[kept] = '\0';
    }

    std::span<const uint8_t> text_;
    size_t position_ = 0;
};

// One walk over the text. With no record it only checks that every announced piece is there,
// so that the real walk can write without ever having to undo.
QuizTextStatus walkQuizText(std::span<const uint8_t> text, QuizRecord* record) {
    if (text.size() < 4)
        return QuizTextStatus::kTruncated;
    const int mediaKind = text[1] - 1;
    const int questionCount = text[2];
    const int answerFieldCount = text[3];
    if (questionCount > kMaxQuestions)
        return QuizTextStatus::kTooManyQuestions;
    if (answerFieldCount != 1 && answerFieldCount != 2)
        return QuizTextStatus::kBadAnswerFieldCount;

    QuizTextReader reader(text.subspan(4));
    auto field = [record](char(QuizRecord::*member)[kQuizTextSize]) {
        return record ? &(record->*member) : nullptr;
    };
    if (record) {
        record->mediaKind = mediaKind;
        record->questionCount = questionCount;
        record->answerFieldCount = answerFieldCount;
    }
    for (auto member : {&QuizRecord::title, &QuizRecord::creator, &QuizRecord::explanation,
                        &QuizRecord::answerLabel1, &QuizRecord::answerLabel2}) {
        if (!reader.readField(field(member)))
            return QuizTextStatus::kTruncated;
    }

    for (int i = 0; i < questionCount; ++i) {
        char answer1[kQuizTextSize] = "";
        char answer2[kQuizTextSize] = "";
        char questionText[kQuizTextSize] = "";
        if (!reader.readField(&answer1))
            return QuizTextStatus::kTruncated;
        if (answerFieldCount == 2 && !reader.readField(&answer2))
            return QuizTextStatus::kTruncated;
        if (!reader.readField(&questionText))
            return QuizTextStatus::kTruncated;
        if (record)
            addQuestion(*record, answer1, answer2, questionText);
    }

    uint8_t rewardKind = 0;
    if (!reader.readByte(rewardKind))
        return QuizTextStatus::kTruncated;
    if (record)
        record->rewardKind = rewardKind;
    if (rewardKind >= kRewardText && rewardKind <= kRewardFinal) {
        for (int i = 0; i < questionCount; ++i) {
            QuestionNode* node = record ? questionAt(*record, i) : nullptr;
            if (!reader.readField(node ? &node->rewardText : nullptr))
                return QuizTextStatus::kTruncated;
            // A message reward carries a second text per question that nothing shows.
            if (rewardKind == kRewardMessage && !reader.readField(nullptr))
                return QuizTextStatus::kTruncated;
        }
    }

    uint8_t red = 0, green = 0, blue = 0;
    if (!reader.readByte(red) || !reader.readByte(green) || !reader.readByte(blue))
        return QuizTextStatus::kTruncated;
    if (record)
        applyQuizColour(*record, red, green, blue);
    return QuizTextStatus::kOk;
}

} // namespace

QuizTextStatus parseQuizText(std::span<const uint8_t> text, QuizRecord& record) {
    QuizTextStatus status = walkQuizText(text, nullptr);
    if (status == QuizTextStatus::kOk)
        walkQuizText(text, &record);
    return status;
}

void parseQuizCodes(std::span<const uint8_t> text, QuizRecord& record) {
    QuizTextReader reader(text);
    const int count = std::clamp(record.questionCount, 0, kMaxQuestions);
    for (int s = 0; s < count; ++s) {
        if (!reader.readLine(record.codes[s]))
            return;
    }
}

void loadDefaultQuiz(QuizRecord& record) {
    copyQuizText(record.title, "Nom du plimo");
    copyQuizText(record.creator, "Createur plimo");
    copyQuizText(record.explanation, "Explications du plimo");
    copyQuizText(record.answerLabel1, "TEST");
    copyQuizText(record.answerLabel2, "TEST");
    record.questionCount = 7;
    record.answerFieldCount = 2;
    record.rewardKind = kRewardMessage;
    record.mediaKind = kMediaPictures;
    applyQuizColour(record, 0x35, 0xCB, 0xA3);
    for (int i = 0; i < 2; ++i)
        addQuestion(record, "test", "test", "emplacement");
}
