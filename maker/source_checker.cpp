#include "maker/source_reader.h"

#include "judge/verdict.h"
#include "maker/cp1252.h"
#include "maker/file_io.h"
#include "maker/media_format.h"

#include <algorithm>

namespace {

class SourceChecker {
  public:
    SourceChecker(const QuizSource& quiz, Diagnostics& diagnostics)
        : quiz_(quiz), diagnostics_(diagnostics) {}

    void check() {
        checkStoredText(quiz_.title, "title");
        checkStoredText(quiz_.creator, "creator");
        checkStoredText(quiz_.explanation, "explanation");
        for (int k = 0; k < 2; ++k)
            checkStoredText(quiz_.answerLabels[k], "answer_labels[" + std::to_string(k + 1) + "]");
        checkLabelsShown();
        checkQuestionCount();
        for (int i = 0; i < static_cast<int>(quiz_.questions.size()); ++i)
            checkQuestion(i);
        checkNearMisses();
        checkCodes();
        faults_.report(quiz_.file, diagnostics_);
    }

  private:
    void error(int line, const std::string& field, const std::string& message) {
        diagnostics_.error(quiz_.file, line, field, message);
    }
    void warning(int line, const std::string& field, const std::string& message) {
        diagnostics_.warning(quiz_.file, line, field, message);
    }

    // Limits shared by every text: the player's buffers, and the NUL that would end it there.
    void checkLength(const SourcedText& text, const std::string& field) {
        if (text.value.find('\0') != std::string::npos)
            error(text.line, field, "holds a NUL character, which would cut the text short");
        if (text.value.size() > static_cast<size_t>(kQuizTextMaxLength))
            error(text.line, field,
                  "is " + std::to_string(text.value.size()) +
                      " bytes long in Windows-1252; the "
                      "player keeps at most " +
                      std::to_string(kQuizTextMaxLength));
    }

    // A text of the stored quiz, where '|' ends every field.
    void checkStoredText(const SourcedText& text, const std::string& field) {
        if (text.value.find('|') != std::string::npos)
            error(text.line, field, "holds a '|', which the stored quiz uses to end its texts");
        checkLength(text, field);
    }

    void checkLabelsShown() {
        const bool labelled =
            !quiz_.answerLabels[0].value.empty() || !quiz_.answerLabels[1].value.empty();
        if (labelled && (quiz_.answerFieldCount != 2 || quiz_.layout.value == kMediaTextList))
            warning(std::max(quiz_.answerLabels[0].line, 1), "answer_labels",
                    "the player shows answer labels only on picture, sound and video boards "
                    "with two answers per question");
    }

    void checkQuestionCount() {
        if (quiz_.questions.size() > static_cast<size_t>(kMaxQuestions)) {
            error(quiz_.questions[kMaxQuestions].line, questionField(kMaxQuestions, ""),
                  "a quiz holds at most " + std::to_string(kMaxQuestions) + " questions");
        }
    }

    void checkQuestion(int index) {
        const QuestionSource& question = quiz_.questions[index];
        for (int k = 0; k < static_cast<int>(question.answers.size()); ++k)
            checkAnswer(question.answers[k], answerField(quiz_, index, k), question.media);
        checkAnswerCount(index);
        checkStoredText(question.text, questionField(index, "text"));
        if (rewardHasText(quiz_.reward.value))
            checkStoredText(question.rewardText, questionField(index, "reward_text"));

        const std::string_view key = mediaKey(quiz_.layout.value);
        if (!key.empty()) {
            if (question.media.present())
                checkMedia(question.media, questionField(index, key), quiz_.layout.value);
            else
                faults_.add(quiz_.layout.line, "layout",
                            "layout = " + inQuotes(layoutWord(quiz_.layout.value)) + " needs a " +
                                std::string(key) + " on every question",
                            "none", index);
        }
        if (question.rewardPicture.present())
            checkMedia(question.rewardPicture, questionField(index, "reward_picture"),
                       kMediaPictures);
        else if (quiz_.reward.value == kRewardPicture)
            warning(question.line, questionField(index, "reward_picture"),
                    "reward = \"picture\" needs a reward_picture: solving this question shows "
                    "none");
    }

    // The first question with answers sets their number. Labels ask for two: a question that
    // has another number is told on their line.
    void checkAnswerCount(int index) {
        const size_t count = quiz_.questions[index].answers.size();
        if (count == 0 || static_cast<int>(count) == quiz_.answerFieldCount)
            return;
        const auto first = std::find_if(quiz_.questions.begin(), quiz_.questions.end(),
                                        [](const QuestionSource& q) { return !q.answers.empty(); });
        const int firstIndex = static_cast<int>(first - quiz_.questions.begin());
        const bool labelled = quiz_.answerLabels[0].line > 0 && quiz_.answerFieldCount == 2;
        const char* const number[] = {"", "one", "two"};
        faults_.add(labelled ? quiz_.answerLabels[0].line : first->answers.front().line,
                    labelled ? "answer_labels" : answerCountField(firstIndex),
                    std::string("every question needs ") + number[quiz_.answerFieldCount] +
                        (quiz_.answerFieldCount == 1 ? " answer" : " answers") + ", as question " +
                        std::to_string(firstIndex + 1) + " has",
                    number[count], index);
    }
    std::string answerCountField(int index) const {
        return questionField(index,
                             quiz_.questions[index].answers.size() == 1 ? "answer" : "answers");
    }

    // An empty answer is never right, whatever is typed: the question could never be passed.
    void checkAnswer(const SourcedText& answer, const std::string& field, const MediaFile& media) {
        checkStoredText(answer, field);
        const std::string& text = answer.value;
        if (text.empty())
            error(answer.line, field,
                  "empty: write the answer" +
                      (media.present() ? " for " + inQuotes(media.path) : std::string()));
        else if (text.front() == ' ' || text.back() == ' ')
            warning(answer.line, field,
                    "starts or ends with a space: typed answers lose theirs, so this one can "
                    "never be right");
    }

    void checkMedia(const MediaFile& media, const std::string& field, MediaKind kind) {
        // A source may come from someone else: the files it names must not take a builder's
        // own files (a key, a password list) into the quiz.
        if (std::optional<std::string> outside = outsideTheFolder(quiz_.folder, media.path)) {
            error(media.line, field, inQuotes(media.path) + *outside);
            return;
        }
        const std::filesystem::path path = quiz_.folder / pathFromUtf8(media.path);
        std::error_code failure;
        if (!std::filesystem::is_regular_file(path, failure)) {
            error(media.line, field, "file " + inQuotes(media.path) + " not found");
            return;
        }
        // A photo is stored as the board shows it, much smaller; a clip is stored as it is.
        const uintmax_t limit = kind == kMediaPictures ? kMaxPhotoFileBytes : kMaxMediaFileBytes;
        if (const uintmax_t size = std::filesystem::file_size(path, failure);
            !failure && size > limit) {
            error(media.line, field, mediaFileTooLarge(media.path, size, limit));
            return;
        }
        std::vector<uint8_t> head;
        std::string reason;
        if (!readFileHead(path, kMediaHeadLength, head, reason)) {
            error(media.line, field, "cannot read " + inQuotes(media.path) + ": " + reason);
            return;
        }
        if (head.empty()) {
            error(media.line, field, inQuotes(media.path) + " is empty");
            return;
        }
        // Whether a picture can be read is found when it is prepared for the board.
        const MediaFormat format = detectMediaFormat(head);
        if (kind == kMediaSound && format != MediaFormat::kMp3)
            warning(media.line, field,
                    inQuotes(media.path) + " does not look like an MP3 file; the player saves "
                                           "every sound as an .mp3 file to play it");
        else if (kind == kMediaVideo && format != MediaFormat::kAvi)
            warning(media.line, field,
                    inQuotes(media.path) + " does not look like an AVI file; the player saves "
                                           "every video as an .avi file to play it");
    }

    // Answers of different questions that the judge takes for nearly the same: a player who
    // tries one question's answer on the other (F1 tries it everywhere) is told he is close.
    void checkNearMisses() {
        const int count = static_cast<int>(quiz_.questions.size());
        for (int later = 1; later < count; ++later) {
            for (int earlier = 0; earlier < later; ++earlier) {
                if (reportNearMiss(earlier, later))
                    break; // one warning per question is enough to go and look
            }
        }
    }

    bool reportNearMiss(int earlier, int later) {
        const auto& firstAnswers = quiz_.questions[earlier].answers;
        const auto& secondAnswers = quiz_.questions[later].answers;
        for (int a = 0; a < static_cast<int>(firstAnswers.size()); ++a) {
            for (int b = 0; b < static_cast<int>(secondAnswers.size()); ++b) {
                const std::string& first = firstAnswers[a].value;
                const std::string& second = secondAnswers[b].value;
                Verdict verdict = nearMiss(first, second);
                if (verdict == Verdict::kRight)
                    verdict = nearMiss(second, first);
                if (verdict == Verdict::kRight)
                    continue;
                warning(secondAnswers[b].line, answerField(quiz_, later, b),
                        inQuotes(cp1252ToUtf8(second)) + " and " + inQuotes(cp1252ToUtf8(first)) +
                            " of " + answerField(quiz_, earlier, a) + " judge each other \"" +
                            cp1252ToUtf8(verdictText(verdict)) +
                            "\": a player who types one for the other is told he is close");
                return true;
            }
        }
        return false;
    }

    // The near-miss verdict of typing `typed` where `expected` is asked, or kRight for none.
    static Verdict nearMiss(const std::string& expected, const std::string& typed) {
        if (expected.empty() || typed.empty())
            return Verdict::kRight;
        const Verdict verdict = chooseVerdict(expected.c_str(), typed.c_str());
        const bool nearlyRight = verdict == Verdict::kAnagram || verdict == Verdict::kOneEdit ||
                                 verdict == Verdict::kTwoEdits;
        return nearlyRight ? verdict : Verdict::kRight;
    }

    void checkCodes() {
        for (size_t s = 0; s < quiz_.codes.size(); ++s) {
            const SourcedText& code = quiz_.codes[s];
            const std::string field = "codes[" + std::to_string(s + 1) + "]";
            if (code.value.find('\r') != std::string::npos)
                error(code.line, field, "holds a carriage return, which ends a code");
            checkLength(code, field);
        }
        const size_t codes = quiz_.codes.size();
        const size_t questions = quiz_.questions.size();
        if (codes > questions && questions > 0) {
            error(quiz_.codes[questions].line, "codes[" + std::to_string(questions + 1) + "]",
                  "the score never passes " + std::to_string(questions) +
                      ", the number of questions: this code can never be shown");
        } else if (codes > 0 && codes < questions) { // codes are optional: none is no slip
            warning(quiz_.codesLine, "codes",
                    std::to_string(codes) + " code(s) for " + std::to_string(questions) +
                        " questions: scores " + std::to_string(codes + 1) + " to " +
                        std::to_string(questions) + " show no code");
        }
    }

    const QuizSource& quiz_;
    Diagnostics& diagnostics_;
    QuestionFaults faults_;
};

} // namespace

void checkQuizSource(const QuizSource& quiz, Diagnostics& diagnostics) {
    SourceChecker(quiz, diagnostics).check();
}

std::optional<std::string> outsideTheFolder(const std::filesystem::path& folder,
                                            const std::string& utf8) {
    const std::filesystem::path path = pathFromUtf8(utf8);
    if (path.has_root_name() || path.has_root_directory())
        return " is an absolute path: name the file from the folder of the quiz";
    // Links are followed, so that a link in the folder cannot lead out of it either.
    std::error_code failure;
    const std::filesystem::path canonical =
        std::filesystem::weakly_canonical(folder.empty() ? "." : folder, failure);
    const std::filesystem::path target =
        failure ? path : std::filesystem::weakly_canonical(canonical / path, failure);
    if (failure)
        return " cannot be resolved (" + failure.message() + ")";
    if (std::mismatch(canonical.begin(), canonical.end(), target.begin(), target.end()).first !=
        canonical.end())
        return " lies outside the folder of the quiz: keep pictures and clips in that folder "
               "or below it";
    return std::nullopt;
}
