#include "maker/quiz_printer.h"

#include "maker/media_format.h"
#include "maker/picture_preparation.h"
#include "maker/printable.h"
#include "maker/toml_writer.h"

namespace {

void printLine(std::ostream& out, const std::string& text) {
    out << printable(text) << "\n";
}

// A picture is shown with its size and, when the quiz comes from a source, what the build did
// to it; an executable does not tell what its pictures were before they were stored.
std::string mediaLine(std::string_view label, const MediaFile& file, int resourceId, bool picture,
                      const QuizResources& resources, const PictureOrigins* origins) {
    std::string line = "  " + std::string(label) + ": ";
    if (file.present())
        line += file.path + ", ";
    auto image = resources.images.find(resourceId);
    if (image == resources.images.end())
        return line + "none (no IMG " + std::to_string(resourceId) + ")";
    const std::vector<uint8_t>& bytes = image->second;
    line += "IMG " + std::to_string(resourceId) + ", " +
            (picture ? describeStoredPicture(bytes)
                     : std::string(mediaFormatName(detectMediaFormat(bytes)))) +
            ", " + std::to_string(bytes.size()) + " bytes";
    if (origins) {
        if (auto origin = origins->find(resourceId); origin != origins->end())
            line += ", " + describeOrigin(origin->second);
    }
    return line;
}

std::string count(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

void printQuiz(std::ostream& out, const QuizSource& quiz, const QuizResources& resources,
               const PictureOrigins* origins) {
    printLine(out, "title: " + tomlString(quiz.title.value));
    printLine(out, "creator: " + tomlString(quiz.creator.value));
    printLine(out, "explanation: " + tomlString(quiz.explanation.value));
    printLine(out, "layout: " + std::string(layoutWord(quiz.layout.value)) + ", " +
                       count(quiz.questions.size(), "question", "questions") + ", " +
                       count(static_cast<size_t>(quiz.answerFieldCount), "answer", "answers") +
                       " per question");
    printLine(out, "colour: " + colourText(quiz.colour.value));
    if (!quiz.answerLabels[0].value.empty() || !quiz.answerLabels[1].value.empty())
        printLine(out, "answer labels: " + tomlString(quiz.answerLabels[0].value) + ", " +
                           tomlString(quiz.answerLabels[1].value));
    printLine(out, "reward: " + std::string(rewardWord(quiz.reward.value)));

    const std::string_view mediaName = mediaKey(quiz.layout.value);
    for (int i = 0; i < static_cast<int>(quiz.questions.size()); ++i) {
        const QuestionSource& question = quiz.questions[i];
        out << "\n";
        printLine(out, "question " + std::to_string(i + 1));
        if (quiz.layout.value == kMediaTextList || !question.text.value.empty())
            printLine(out, "  text: " + tomlString(question.text.value));
        for (size_t k = 0; k < question.answers.size(); ++k) {
            const std::string number =
                question.answers.size() > 1 ? " " + std::to_string(k + 1) : "";
            printLine(out, "  answer" + number + ": " + tomlString(question.answers[k].value));
        }
        if (!mediaName.empty())
            printLine(out, mediaLine(mediaName, question.media, questionMediaId(i),
                                     quiz.layout.value == kMediaPictures, resources, origins));
        if (rewardHasText(quiz.reward.value))
            printLine(out, "  reward text: " + tomlString(question.rewardText.value));
        if (quiz.reward.value == kRewardPicture)
            printLine(out, mediaLine("reward picture", question.rewardPicture, rewardPictureId(i),
                                     true, resources, origins));
    }

    out << "\ncodes:\n";
    for (size_t s = 0; s < quiz.questions.size(); ++s) {
        const std::string code = s < quiz.codes.size() ? quiz.codes[s].value : std::string();
        printLine(out, "  score " + std::to_string(s + 1) + ": " + tomlString(code));
    }
}
