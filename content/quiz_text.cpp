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

// The first four bytes: byte 0 unused, then the media kind + 1 and the two counts.
struct QuizTextHeader {
    int mediaKind;
    int questionCount;
    int answerFieldCount;
};
constexpr size_t kQuizTextHeaderSize = 4;

QuizTextStatus readHeader(std::span<const uint8_t> text, QuizTextHeader& header) {
    if (text.size() < kQuizTextHeaderSize)
        return QuizTextStatus::kTruncated;
    header = {text[1] - 1, text[2], text[3]};
    if (header.questionCount > kMaxQuestions)
        return QuizTextStatus::kTooManyQuestions;
    if (header.answerFieldCount != 1 && header.answerFieldCount != 2)
        return QuizTextStatus::kBadAnswerFieldCount;
    return QuizTextStatus::kOk;
}

// Title, creator, explanation and the two answer labels.
bool readQuizFields(QuizTextReader& reader, QuizRecord* record) {
    for (auto member : {&QuizRecord::title, &QuizRecord::creator, &QuizRecord::explanation,
                        &QuizRecord::answerLabel1, &QuizRecord::answerLabel2}) {
        if (!reader.readField(record ? &(record->*member) : nullptr))
            return false;
    }
    return true;
}

// One question's answer (or two) and its text.
bool readQuestion(QuizTextReader& reader, int answerFieldCount, QuizRecord* record) {
    char answer1[kQuizTextSize] = "";
    char answer2[kQuizTextSize] = "";
    char questionText[kQuizTextSize] = "";
    if (!reader.readField(&answer1))
        return false;
    if (answerFieldCount == 2 && !reader.readField(&answer2))
        return false;
    if (!reader.readField(&questionText))
        return false;
    if (record)
        addQuestion(*record, answer1, answer2, questionText);
    return true;
}

// The reward kind, then one reward text per question for the kinds that have them.
bool readRewards(QuizTextReader& reader, int questionCount, QuizRecord* record) {
    uint8_t rewardKind = 0;
    if (!reader.readByte(rewardKind))
        return false;
    if (record)
        record->rewardKind = rewardKind;
    if (rewardKind < kRewardText || rewardKind > kRewardFinal)
        return true;
    for (int i = 0; i < questionCount; ++i) {
        QuestionNode* node = record ? questionAt(*record, i) : nullptr;
        if (!reader.readField(node ? &node->rewardText : nullptr))
            return false;
        // A message reward carries a second text per question that nothing shows.
        if (rewardKind == kRewardMessage && !reader.readField(nullptr))
            return false;
    }
    return true;
}

bool readColour(QuizTextReader& reader, QuizRecord* record) {
    uint8_t red = 0, green = 0, blue = 0;
    if (!reader.readByte(red) || !reader.readByte(green) || !reader.readByte(blue))
        return false;
    if (record)
        applyQuizColour(*record, red, green, blue);
    return true;
}

// One walk over the text. With no record it only checks that every announced piece is there,
// so that the real walk can write without ever having to undo.
QuizTextStatus walkQuizText(std::span<const uint8_t> text, QuizRecord* record) {
    QuizTextHeader header{};
    if (QuizTextStatus status = readHeader(text, header); status != QuizTextStatus::kOk)
        return status;
    if (record) {
        record->mediaKind = header.mediaKind;
        record->questionCount = header.questionCount;
        record->answerFieldCount = header.answerFieldCount;
    }
    QuizTextReader reader(text.subspan(kQuizTextHeaderSize));
    if (!readQuizFields(reader, record))
        return QuizTextStatus::kTruncated;
    for (int i = 0; i < header.questionCount; ++i) {
        if (!readQuestion(reader, header.answerFieldCount, record))
            return QuizTextStatus::kTruncated;
    }
    if (!readRewards(reader, header.questionCount, record) || !readColour(reader, record))
        return QuizTextStatus::kTruncated;
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
