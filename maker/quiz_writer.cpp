#include "maker/quiz_writer.h"

#include "content/lzw_codec.h"
#include "maker/file_io.h"
#include "maker/media_format.h"

namespace {

void appendField(std::vector<uint8_t>& bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back('|');
}

// The answer stored for field k: the empty text stands in for one that a faulty source lacks.
const std::string& answerText(const QuestionSource& question, int k) {
    static const std::string kNone;
    return k < static_cast<int>(question.answers.size()) ? question.answers[k].value : kNone;
}

bool encode(const QuizSource& quiz, const std::vector<uint8_t>& text, const char* what,
            std::vector<uint8_t>& stream, Diagnostics& diagnostics) {
    if (text.size() > kLzwMaxSourceLength) {
        diagnostics.error(quiz.file, 1, what,
                          "the stored " + std::string(what) + " would take " +
                              std::to_string(text.size()) + " bytes, more than the " +
                              std::to_string(kLzwMaxSourceLength) +
                              " the player can read: shorten the texts");
        return false;
    }
    const LzwResult result = lzwEncode(text, stream);
    if (result != kLzwOk) {
        diagnostics.error(quiz.file, 1, what,
                          "cannot be compressed for the player (codec result " +
                              std::to_string(static_cast<int>(result)) + "): shorten the texts");
        return false;
    }
    return true;
}

void readMedia(const QuizSource& quiz, const MediaFile& media, int resourceId,
               QuizResources& resources, Diagnostics& diagnostics) {
    if (!media.present())
        return;
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!readWholeFile(quiz.folder / pathFromUtf8(media.path), bytes, reason, kMaxMediaFileBytes)) {
        diagnostics.error(quiz.file, media.line, "IMG " + std::to_string(resourceId),
                          "cannot read \"" + media.path + "\": " + reason);
        return;
    }
    resources.images[resourceId] = std::move(bytes);
}

} // namespace

std::vector<uint8_t> quizTextBytes(const QuizSource& quiz) {
    std::vector<uint8_t> bytes = {
        0,
        static_cast<uint8_t>(quiz.layout.value + 1),
        static_cast<uint8_t>(quiz.questions.size()),
        static_cast<uint8_t>(quiz.answerFieldCount),
    };
    for (const SourcedText* text : {&quiz.title, &quiz.creator, &quiz.explanation,
                                    &quiz.answerLabels[0], &quiz.answerLabels[1]})
        appendField(bytes, text->value);
    for (const QuestionSource& question : quiz.questions) {
        for (int k = 0; k < quiz.answerFieldCount; ++k)
            appendField(bytes, answerText(question, k));
        appendField(bytes, question.text.value);
    }
    const RewardKind reward = quiz.reward.value;
    bytes.push_back(static_cast<uint8_t>(reward));
    if (rewardHasText(reward)) {
        for (const QuestionSource& question : quiz.questions) {
            appendField(bytes, question.rewardText.value);
            // A message reward stores a second text per question that the player never shows.
            if (reward == kRewardMessage)
                appendField(bytes, "");
        }
    }
    const QuizColour& colour = quiz.colour.value;
    bytes.insert(bytes.end(), {colour.red, colour.green, colour.blue});
    return bytes;
}

std::vector<uint8_t> quizCodesBytes(const QuizSource& quiz) {
    std::vector<uint8_t> bytes;
    for (size_t s = 0; s < quiz.questions.size(); ++s) {
        if (s < quiz.codes.size())
            bytes.insert(bytes.end(), quiz.codes[s].value.begin(), quiz.codes[s].value.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

std::optional<QuizResources> buildQuizResources(const QuizSource& quiz, Diagnostics& diagnostics) {
    const int errorsBefore = diagnostics.errorCount();
    QuizResources resources;
    resources.quizText.emplace();
    resources.quizCodes.emplace();
    encode(quiz, quizTextBytes(quiz), "quiz text", *resources.quizText, diagnostics);
    encode(quiz, quizCodesBytes(quiz), "codes", *resources.quizCodes, diagnostics);
    for (int i = 0; i < static_cast<int>(quiz.questions.size()); ++i) {
        const QuestionSource& question = quiz.questions[i];
        if (quiz.layout.value != kMediaTextList)
            readMedia(quiz, question.media, questionMediaId(i), resources, diagnostics);
        if (quiz.reward.value == kRewardPicture)
            readMedia(quiz, question.rewardPicture, rewardPictureId(i), resources, diagnostics);
    }
    if (diagnostics.errorCount() != errorsBefore)
        return std::nullopt;
    return resources;
}
