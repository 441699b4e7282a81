#include "maker/quiz_writer.h"

#include "content/lzw_codec.h"
#include "maker/file_io.h"
#include "maker/media_format.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

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

// Runs work(0) ... work(count - 1) on a few threads; the first exception (running out of
// memory) is thrown again once all have stopped. Four at most, of which one prepares a large
// picture at a time (see LargePictureGate).
void forEachInParallel(size_t count, const std::function<void(size_t)>& work) {
    std::atomic<size_t> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    auto worker = [&] {
        try {
            for (size_t i; (i = next++) < count;)
                work(i);
        } catch (...) {
            std::lock_guard<std::mutex> lock(failureLock);
            failure = failure ? failure : std::current_exception();
            next = count;
        }
    };
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads && t < count; ++t) {
        try {
            helpers.emplace_back(worker);
        } catch (const std::system_error&) {
            break; // fewer helpers, the same work
        }
    }
    worker();
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
}

// A picture of 100 megapixels takes up to 1.6 GB while stb decodes it: large pictures wait for
// one another, small ones go beside them.
class LargePictureGate {
  public:
    PreparedPicture prepare(std::span<const uint8_t> file, int turnDegrees) {
        std::unique_lock<std::mutex> oneAtATime(large_, std::defer_lock);
        if (isLargePicture(file))
            oneAtATime.lock();
        return preparePicture(file, turnDegrees);
    }

  private:
    std::mutex large_;
};

// One picture or clip of the quiz, and what the quiz stores of it.
struct MediaItem {
    const MediaFile* media = nullptr;
    int resourceId = 0;
    std::string field;
    bool picture = false;
    std::vector<uint8_t> bytes;
    std::string error; // for the author, when nothing can be stored
    PictureOrigin origin;
};

// Reads the pictures and clips of a checked source into its resources. A phone photo takes
// half a second to prepare: they are prepared side by side.
class MediaReader {
  public:
    MediaReader(const QuizSource& quiz, MediaHandling handling)
        : quiz_(quiz), handling_(handling) {}

    void read(QuizResources& resources, PictureOrigins* origins, Diagnostics& diagnostics) {
        if (handling_ == MediaHandling::kLeaveOut)
            return;
        std::vector<MediaItem> items = listItems();
        forEachInParallel(items.size(), [&](size_t i) { take(items[i]); });
        for (MediaItem& item : items) {
            if (!item.error.empty()) {
                diagnostics.error(quiz_.file, item.media->line, item.field, item.error);
                continue;
            }
            resources.images[item.resourceId] = std::move(item.bytes);
            if (item.picture && origins)
                (*origins)[item.resourceId] = item.origin;
        }
    }

  private:
    std::vector<MediaItem> listItems() const {
        std::vector<MediaItem> items;
        auto add = [&items](const MediaFile& media, int resourceId, std::string field,
                            bool picture) {
            if (!media.present())
                return;
            MediaItem& item = items.emplace_back();
            item.media = &media;
            item.resourceId = resourceId;
            item.field = std::move(field);
            item.picture = picture;
        };
        for (int i = 0; i < static_cast<int>(quiz_.questions.size()); ++i) {
            const QuestionSource& question = quiz_.questions[i];
            if (quiz_.layout.value != kMediaTextList)
                add(question.media, questionMediaId(i),
                    questionField(i, mediaKey(quiz_.layout.value)),
                    quiz_.layout.value == kMediaPictures);
            if (quiz_.reward.value == kRewardPicture)
                add(question.rewardPicture, rewardPictureId(i), questionField(i, "reward_picture"),
                    true);
        }
        return items;
    }

    // Touches nothing but `item` (and the gate of large pictures): it runs beside the others.
    void take(MediaItem& item) {
        const std::string quoted = "\"" + item.media->path + "\"";
        std::string reason;
        if (!readWholeFile(quiz_.folder / pathFromUtf8(item.media->path), item.bytes, reason,
                           kMaxMediaFileBytes)) {
            item.error = "cannot read " + quoted + ": " + reason;
        } else if (item.picture && handling_ == MediaHandling::kKeepPictures &&
                   !pictureNeedsTurning(item.bytes, item.media->turnDegrees)) {
            item.origin = {PictureChange::kKept, detectMediaFormat(item.bytes),
                           pictureDimensions(item.bytes).value_or(PictureDimensions{})};
            if (!isPictureFormat(item.origin.format))
                item.error = quoted + " is not a JPEG, BMP or GIF picture, which --keep-pictures "
                                      "stores as it is: build without it to convert the picture";
        } else if (item.picture) {
            PreparedPicture prepared =
                largePictureGate_.prepare(item.bytes, item.media->turnDegrees);
            item.bytes = std::move(prepared.bytes);
            item.origin = prepared.origin;
            if (!prepared.ok())
                item.error = quoted + " " + prepared.refusal;
        }
    }

    const QuizSource& quiz_;
    MediaHandling handling_;
    LargePictureGate largePictureGate_;
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
    MediaReader(quiz, media).read(resources, origins, diagnostics);
    if (diagnostics.errorCount() != errorsBefore)
        return std::nullopt;
    return resources;
}
