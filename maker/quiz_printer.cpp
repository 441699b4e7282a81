#include "maker/quiz_printer.h"

#include "maker/media_format.h"
#include "maker/toml_writer.h"

namespace {

void printMedia(std::ostream& out, std::string_view label, const MediaFile& file, int resourceId,
                const QuizResources& resources) {
    out << "  " << label << ": ";
    if (file.present())
        out << file.path << ", ";
    auto image = resources.images.find(resourceId);
    if (image == resources.images.end()) {
        out << "none (no IMG " << resourceId << ")\n";
        return;
    }
    out << "IMG " << resourceId << ", " << mediaFormatName(detectMediaFormat(image->second)) << ", "
        << image->second.size() << " bytes\n";
}

std::string count(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

void printQuiz(std::ostream& out, const QuizSource& quiz, const QuizResources& resources) {
    out << "title: " << tomlString(quiz.title.value) << "\n";
    out << "creator: " << tomlString(quiz.creator.value) << "\n";
    out << "explanation: " << tomlString(quiz.explanation.value) << "\n";
    out << "layout: " << layoutWord(quiz.layout.value) << ", "
        << count(quiz.questions.size(), "question", "questions") << ", "
        << count(static_cast<size_t>(quiz.answerFieldCount), "answer", "answers")
        << " per question\n";
    out << "colour: " << colourText(quiz.colour.value) << "\n";
    if (!quiz.answerLabels[0].value.empty() || !quiz.answerLabels[1].value.empty())
        out << "answer labels: " << tomlString(quiz.answerLabels[0].value) << ", "
            << tomlString(quiz.answerLabels[1].value) << "\n";
    out << "reward: " << rewardWord(quiz.reward.value) << "\n";

    const std::string_view mediaName = mediaKey(quiz.layout.value);
    for (int i = 0; i < static_cast<int>(quiz.questions.size()); ++i) {
        const QuestionSource& question = quiz.questions[i];
        out << "\nquestion " << i + 1 << "\n";
        if (quiz.layout.value == kMediaTextList || !question.text.value.empty())
            out << "  text: " << tomlString(question.text.value) << "\n";
        for (size_t k = 0; k < question.answers.size(); ++k) {
            out << "  answer";
            if (question.answers.size() > 1)
                out << " " << k + 1;
            out << ": " << tomlString(question.answers[k].value) << "\n";
        }
        if (!mediaName.empty())
            printMedia(out, mediaName, question.media, questionMediaId(i), resources);
        if (rewardHasText(quiz.reward.value))
            out << "  reward text: " << tomlString(question.rewardText.value) << "\n";
        if (quiz.reward.value == kRewardPicture)
            printMedia(out, "reward picture", question.rewardPicture, rewardPictureId(i),
                       resources);
    }

    out << "\ncodes:\n";
    for (size_t s = 0; s < quiz.questions.size(); ++s) {
        const std::string code = s < quiz.codes.size() ? quiz.codes[s].value : std::string();
        out << "  score " << s + 1 << ": " << tomlString(code) << "\n";
    }
}
