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

// Reads the pictures and clips of a checked source into its resources.
class MediaReader {
  public:
    MediaReader(const QuizSource& quiz, MediaHandling handling, QuizResources& resources,
                PictureOrigins* origins, Diagnostics& diagnostics)
        : quiz_(quiz), handling_(handling), resources_(resources), origins_(origins),
          diagnostics_(diagnostics) {}

    void read() {
        if (handling_ == MediaHandling::kLeaveOut)
            return;
        const bool pictures = quiz_.layout.value == kMediaPictures;
        for (int i = 0; i < static_cast<int>(quiz_.questions.size()); ++i) {
            const QuestionSource& question = quiz_.questions[i];
            if (quiz_.layout.value != kMediaTextList)
                add(question.media, questionMediaId(i),
                    questionField(i, mediaKey(quiz_.layout.value)), pictures);
            if (quiz_.reward.value == kRewardPicture)
                add(question.rewardPicture, rewardPictureId(i), questionField(i, "reward_picture"),
                    true);
        }
    }

  private:
    void add(const MediaFile& media, int resourceId, const std::string& field, bool picture) {
        if (!media.present())
            return;
        std::vector<uint8_t> bytes;
        std::string reason;
        if (!readWholeFile(quiz_.folder / pathFromUtf8(media.path), bytes, reason,
                           kMaxMediaFileBytes)) {
            error(media, field, "cannot read " + quoted(media) + ": " + reason);
            return;
        }
        if (picture && !takePicture(media, field, bytes, resourceId))
            return;
        resources_.images[resourceId] = std::move(bytes);
    }

    // Makes `bytes` what the quiz stores of a picture; false, with an error, when it cannot.
    bool takePicture(const MediaFile& media, const std::string& field, std::vector<uint8_t>& bytes,
                     int resourceId) {
        PictureOrigin origin{PictureChange::kKept, detectMediaFormat(bytes), {}};
        if (handling_ == MediaHandling::kKeepPictures) {
            if (!isPictureFormat(origin.format)) {
                error(media, field,
                      quoted(media) + " is not a JPEG, BMP or GIF picture, which --keep-pictures "
                                      "stores as it is: build without it to convert the picture");
                return false;
            }
            origin.size = pictureDimensions(bytes).value_or(PictureDimensions{});
        } else {
            PreparedPicture prepared = preparePicture(bytes);
            if (!prepared.ok()) {
                error(media, field, quoted(media) + " " + prepared.refusal);
                return false;
            }
            bytes = std::move(prepared.bytes);
            origin = prepared.origin;
        }
        if (origins_)
            (*origins_)[resourceId] = origin;
        return true;
    }

    static std::string quoted(const MediaFile& media) { return "\"" + media.path + "\""; }

    void error(const MediaFile& media, const std::string& field, const std::string& message) {
        diagnostics_.error(quiz_.file, media.line, field, message);
    }

    const QuizSource& quiz_;
    MediaHandling handling_;
    QuizResources& resources_;
    PictureOrigins* origins_;
    Diagnostics& diagnostics_;
};

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

std::optional<QuizResources> buildQuizResources(const QuizSource& quiz, Diagnostics& diagnostics,
                                                MediaHandling media, PictureOrigins* origins) {
    const int errorsBefore = diagnostics.errorCount();
    QuizResources resources;
    resources.quizText.emplace();
    resources.quizCodes.emplace();
    encode(quiz, quizTextBytes(quiz), "quiz text", *resources.quizText, diagnostics);
    encode(quiz, quizCodesBytes(quiz), "codes", *resources.quizCodes, diagnostics);
    MediaReader(quiz, media, resources, origins, diagnostics).read();
    if (diagnostics.errorCount() != errorsBefore)
        return std::nullopt;
    return resources;
}
