#include "maker/source_reader.h"

#include "judge/answer_text.h"
#include "judge/verdict.h"
#include "maker/cp1252.h"
#include "maker/file_io.h"
#include "maker/media_format.h"
#include "maker/toml_guard.h"

// Paths and texts are UTF-8 everywhere in the maker: toml++'s wide-string helpers, which would
// bring <windows.h> and its macros in on Windows, are not wanted.
#define TOML_ENABLE_WINDOWS_COMPAT 0
#include <toml++/toml.h>

#include <algorithm>
#include <span>

namespace {

constexpr std::string_view kRootKeys[] = {
    "title",         "creator", "explanation", "layout",   "colour",
    "answer_labels", "reward",  "codes",       "question",
};
constexpr std::string_view kQuestionKeys[] = {
    "answer", "answers", "text", "picture", "sound", "video", "reward_text", "reward_picture",
};
constexpr std::string_view kMediaKeys[] = {"picture", "sound", "video"};

// The stored quiz text holds at most 64 KiB; a source sixteen times that size, comments and
// escapes included, is no quiz, and is not read.
constexpr uintmax_t kMaxSourceBytes = 1024 * 1024;

int lineOf(const toml::node& node) {
    return static_cast<int>(node.source().begin.line);
}

std::string inQuotes(std::string_view utf8) {
    return "\"" + std::string(utf8) + "\"";
}

// The closest known key, when the unknown one looks like a typing slip of it.
std::string_view closestKey(std::string_view key, std::span<const std::string_view> known) {
    std::string_view best;
    int bestDistance = 3;
    for (std::string_view candidate : known) {
        const int distance = editDistance(std::string(key).c_str(), std::string(candidate).c_str());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

class SourceParser {
  public:
    SourceParser(QuizSource& quiz, Diagnostics& diagnostics)
        : quiz_(quiz), diagnostics_(diagnostics) {}

    void parse(const toml::table& root) {
        checkKeys(root, kRootKeys, "");
        readTextKey(root, "title", quiz_.title, "every quiz needs a title");
        readTextKey(root, "creator", quiz_.creator);
        readTextKey(root, "explanation", quiz_.explanation);
        readLayout(root);
        readColour(root);
        readAnswerLabels(root);
        readReward(root);
        readCodes(root);
        readQuestions(root);
    }

  private:
    void error(int line, const std::string& field, const std::string& message) {
        diagnostics_.error(quiz_.file, line, field, message);
    }

    void checkKeys(const toml::table& table, std::span<const std::string_view> known,
                   const std::string& prefix) {
        for (auto&& [key, value] : table) {
            const std::string_view name = key.str();
            if (std::find(known.begin(), known.end(), name) != known.end())
                continue;
            std::string message = "unknown key";
            if (std::string_view close = closestKey(name, known); !close.empty())
                message += " (did you mean " + inQuotes(close) + "?)";
            error(lineOf(value),
                  prefix.empty() ? std::string(name) : prefix + "." + std::string(name), message);
        }
    }

    // A string value, as UTF-8.
    bool readString(const toml::node& node, const std::string& field, std::string& utf8) {
        const toml::value<std::string>* value = node.as_string();
        if (!value) {
            error(lineOf(node), field, "must be a text in double quotes");
            return false;
        }
        utf8 = value->get();
        return true;
    }

    // A string value, in Windows-1252.
    bool readText(const toml::node& node, const std::string& field, SourcedText& text) {
        std::string utf8;
        if (!readString(node, field, utf8))
            return false;
        Cp1252Conversion conversion = utf8ToCp1252(utf8);
        if (!conversion.ok()) {
            error(lineOf(node), field, conversion.describe());
            return false;
        }
        text = {std::move(conversion.text), lineOf(node)};
        return true;
    }

    void readTextKey(const toml::table& table, std::string_view key, SourcedText& text,
                     const char* requiredBecause = nullptr) {
        if (const toml::node* node = table.get(key))
            readText(*node, std::string(key), text);
        else if (requiredBecause)
            error(1, std::string(key), std::string("missing: ") + requiredBecause);
    }

    // A list of exactly `count` texts, or of any length when `count` is 0.
    bool readTextList(const toml::node& node, const std::string& field, size_t count,
                      const char* shape, std::vector<SourcedText>& texts) {
        const toml::array* array = node.as_array();
        if (!array || (count != 0 && array->size() != count)) {
            error(lineOf(node), field, std::string("must be ") + shape);
            return false;
        }
        bool ok = true;
        for (size_t i = 0; i < array->size(); ++i) {
            SourcedText text;
            ok = readText((*array)[i], field + "[" + std::to_string(i + 1) + "]", text) && ok;
            texts.push_back(std::move(text));
        }
        return ok;
    }

    void readLayout(const toml::table& root) {
        const toml::node* node = root.get("layout");
        if (!node) {
            error(1, "layout",
                  "missing: write layout = \"text list\", \"pictures\", \"sound\" "
                  "or \"video\"");
            return;
        }
        std::string word;
        if (!readString(*node, "layout", word))
            return;
        if (std::optional<MediaKind> layout = layoutFromWord(word)) {
            quiz_.layout = {*layout, lineOf(*node)};
            layoutKnown_ = true;
        } else {
            error(lineOf(*node), "layout",
                  "unknown layout " + inQuotes(word) +
                      ": write \"text list\", \"pictures\", \"sound\" or \"video\"");
        }
    }

    void readReward(const toml::table& root) {
        const toml::node* node = root.get("reward");
        if (!node) {
            rewardKnown_ = true; // no reward at all
            return;
        }
        std::string word;
        if (!readString(*node, "reward", word))
            return;
        if (std::optional<RewardKind> reward = rewardFromWord(word)) {
            quiz_.reward = {*reward, lineOf(*node)};
            rewardKnown_ = true;
        } else {
            error(lineOf(*node), "reward",
                  "unknown reward " + inQuotes(word) +
                      ": write \"none\", \"picture\", \"text\", \"message\" or \"final\"");
        }
    }

    void readColour(const toml::table& root) {
        const toml::node* node = root.get("colour");
        std::string text;
        if (!node || !readString(*node, "colour", text))
            return;
        if (std::optional<QuizColour> colour = colourFromText(text))
            quiz_.colour = {*colour, lineOf(*node)};
        else
            error(lineOf(*node), "colour",
                  "bad colour " + inQuotes(text) + ": write \"#RRGGBB\" in hexadecimal");
    }

    void readAnswerLabels(const toml::table& root) {
        const toml::node* node = root.get("answer_labels");
        std::vector<SourcedText> labels;
        if (node && readTextList(*node, "answer_labels", 2,
                                 "two captions, as [\"FIRST\", \"SECOND\"]", labels)) {
            quiz_.answerLabels = {labels[0], labels[1]};
        }
    }

    void readCodes(const toml::table& root) {
        if (const toml::node* node = root.get("codes")) {
            quiz_.codesLine = lineOf(*node);
            readTextList(*node, "codes", 0, "a list of texts, as [\"CODE1\", \"CODE2\"]",
                         quiz_.codes);
        }
    }

    void readQuestions(const toml::table& root) {
        const toml::node* node = root.get("question");
        const toml::array* array = node ? node->as_array() : nullptr;
        if (!node || (array && array->empty())) {
            error(1, "question", "no [[question]]: a quiz needs at least one question");
            return;
        }
        if (!array || !array->is_array_of_tables()) {
            error(lineOf(*node), "question", "must be [[question]] tables");
            return;
        }
        for (size_t i = 0; i < array->size(); ++i)
            readQuestion(*(*array)[i].as_table(), static_cast<int>(i));
    }

    void readQuestion(const toml::table& table, int index) {
        QuestionSource question;
        question.line = lineOf(table);
        const auto field = [index](std::string_view key) { return questionField(index, key); };
        checkKeys(table, kQuestionKeys, field(""));

        const toml::node* answer = table.get("answer");
        const toml::node* answers = table.get("answers");
        if (answer && answers) {
            error(lineOf(*answers), field("answers"), "a question has answer or answers, not both");
        } else if (answer) {
            SourcedText text;
            if (readText(*answer, field("answer"), text))
                question.answers.push_back(std::move(text));
        } else if (answers) {
            readTextList(*answers, field("answers"), 2,
                         "two answers, as [\"FIRST\", \"SECOND\"] (write one as answer = \"...\")",
                         question.answers);
        } else {
            error(question.line, field("answer"), "missing: every question needs an answer");
        }
        if (!question.answers.empty() && !answerFieldCountSet_) {
            quiz_.answerFieldCount = static_cast<int>(question.answers.size());
            answerFieldCountSet_ = true;
        }

        if (const toml::node* text = table.get("text"))
            readText(*text, field("text"), question.text);
        else if (layoutKnown_ && quiz_.layout.value == kMediaTextList)
            error(question.line, field("text"),
                  "missing: a text list shows a text for every question");

        for (std::string_view key : kMediaKeys) {
            const toml::node* media = table.get(key);
            if (!media || !layoutKnown_)
                continue;
            const std::string_view wanted = mediaKey(quiz_.layout.value);
            if (key != wanted) {
                error(lineOf(*media), field(key),
                      wanted.empty() ? "a text list has no pictures or clips"
                                     : "a " + std::string(layoutWord(quiz_.layout.value)) +
                                           " quiz takes " + std::string(wanted) + " = \"...\"");
                continue;
            }
            readMediaPath(*media, field(key), question.media);
        }

        const bool withText = rewardKnown_ && rewardHasText(quiz_.reward.value);
        if (const toml::node* text = table.get("reward_text")) {
            if (!rewardKnown_ || withText)
                readText(*text, field("reward_text"), question.rewardText);
            else
                error(lineOf(*text), field("reward_text"),
                      "reward = " + inQuotes(rewardWord(quiz_.reward.value)) +
                          " shows no reward text");
        } else if (withText) {
            error(question.line, field("reward_text"),
                  "missing: reward = " + inQuotes(rewardWord(quiz_.reward.value)) +
                      " needs a reward text for every question (reward_text = \"\" for none)");
        }

        if (const toml::node* picture = table.get("reward_picture")) {
            if (!rewardKnown_ || quiz_.reward.value == kRewardPicture)
                readMediaPath(*picture, field("reward_picture"), question.rewardPicture);
            else
                error(lineOf(*picture), field("reward_picture"),
                      "only reward = \"picture\" shows a reward picture");
        }
        quiz_.questions.push_back(std::move(question));
    }

    void readMediaPath(const toml::node& node, const std::string& field, MediaFile& media) {
        std::string path;
        if (!readString(node, field, path))
            return;
        if (path.empty()) {
            error(lineOf(node), field, "is empty: name a file beside the quiz");
            return;
        }
        media = {std::move(path), lineOf(node)};
    }

    QuizSource& quiz_;
    Diagnostics& diagnostics_;
    bool layoutKnown_ = false;
    bool rewardKnown_ = false;
    bool answerFieldCountSet_ = false;
};

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
            checkAnswer(question.answers[k], answerField(quiz_, index, k));
        if (!question.answers.empty() &&
            static_cast<int>(question.answers.size()) != quiz_.answerFieldCount) {
            error(question.answers.front().line,
                  questionField(index, question.answers.size() == 1 ? "answer" : "answers"),
                  "has " + std::to_string(question.answers.size()) +
                      " answer(s) where question 1 "
                      "has " +
                      std::to_string(quiz_.answerFieldCount) +
                      ": every question needs the same number");
        }
        checkStoredText(question.text, questionField(index, "text"));
        if (rewardHasText(quiz_.reward.value))
            checkStoredText(question.rewardText, questionField(index, "reward_text"));

        const std::string_view key = mediaKey(quiz_.layout.value);
        if (!key.empty()) {
            if (question.media.present())
                checkMedia(question.media, questionField(index, key), quiz_.layout.value);
            else
                error(question.line, questionField(index, key),
                      "missing: a " + std::string(layoutWord(quiz_.layout.value)) + " quiz needs " +
                          std::string(key) + " = \"...\" for every question");
        }
        if (question.rewardPicture.present())
            checkMedia(question.rewardPicture, questionField(index, "reward_picture"),
                       kMediaPictures);
    }

    void checkAnswer(const SourcedText& answer, const std::string& field) {
        checkStoredText(answer, field);
        const std::string& text = answer.value;
        if (text.empty())
            warning(answer.line, field, "is empty: no typed answer can ever be right");
        else if (text.front() == ' ' || text.back() == ' ')
            warning(answer.line, field,
                    "starts or ends with a space: typed answers lose theirs, so this one can "
                    "never be right");
    }

    void checkMedia(const MediaFile& media, const std::string& field, MediaKind kind) {
        if (std::optional<std::string> outside = outsideTheFolder(media.path)) {
            error(media.line, field, inQuotes(media.path) + *outside);
            return;
        }
        const std::filesystem::path path = quiz_.folder / pathFromUtf8(media.path);
        std::error_code failure;
        if (!std::filesystem::is_regular_file(path, failure)) {
            error(media.line, field, "file " + inQuotes(media.path) + " not found");
            return;
        }
        if (const uintmax_t size = std::filesystem::file_size(path, failure);
            !failure && size > kMaxMediaFileBytes) {
            error(media.line, field,
                  inQuotes(media.path) + " is " + std::to_string(size) + " bytes, more than the " +
                      sizeText(kMaxMediaFileBytes) + " a quiz carries per picture or clip");
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

    // A source may come from someone else: the files it names must not take a builder's own
    // files (a key, a password list) into the quiz. Links are followed, so that a link in the
    // folder cannot lead out of it either.
    std::optional<std::string> outsideTheFolder(const std::string& utf8) const {
        const std::filesystem::path path = pathFromUtf8(utf8);
        if (path.has_root_name() || path.has_root_directory())
            return " is an absolute path: name the file from the folder of the quiz";
        std::error_code failure;
        const std::filesystem::path folder =
            std::filesystem::weakly_canonical(quiz_.folder.empty() ? "." : quiz_.folder, failure);
        const std::filesystem::path target =
            failure ? path : std::filesystem::weakly_canonical(folder / path, failure);
        if (failure)
            return " cannot be resolved (" + failure.message() + ")";
        if (std::mismatch(folder.begin(), folder.end(), target.begin(), target.end()).first !=
            folder.end())
            return " lies outside the folder of the quiz: keep pictures and clips in that folder "
                   "or below it";
        return std::nullopt;
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
        const int line = quiz_.codesLine > 0 ? quiz_.codesLine : 1;
        if (codes > questions && questions > 0) {
            error(quiz_.codes[questions].line, "codes[" + std::to_string(questions + 1) + "]",
                  "the score never passes " + std::to_string(questions) +
                      ", the number of questions: this code can never be shown");
        } else if (codes < questions) {
            warning(line, "codes",
                    std::to_string(codes) + " code(s) for " + std::to_string(questions) +
                        " questions: scores " + std::to_string(codes + 1) + " to " +
                        std::to_string(questions) + " show no code");
        }
    }

    const QuizSource& quiz_;
    Diagnostics& diagnostics_;
};

} // namespace

QuizSource parseQuizSource(std::string_view toml, const std::string& file,
                           const std::filesystem::path& folder, Diagnostics& diagnostics) {
    QuizSource quiz;
    quiz.file = file;
    quiz.folder = folder;
    const AsciiToml ascii = asciiToml(toml);
    if (!ascii.problem.empty()) {
        diagnostics.error(file, ascii.line, "syntax", ascii.problem);
        return quiz;
    }
    toml::table root;
    try {
        root = toml::parse(ascii.text, std::string_view(file));
    } catch (const toml::parse_error& failure) {
        diagnostics.error(file, static_cast<int>(failure.source().begin.line), "syntax",
                          std::string(failure.description()));
        return quiz;
    }
    SourceParser(quiz, diagnostics).parse(root);
    checkQuizSource(quiz, diagnostics);
    return quiz;
}

QuizSource readQuizSource(const std::string& file, Diagnostics& diagnostics) {
    const std::filesystem::path path = pathFromUtf8(file);
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!readWholeFile(path, bytes, reason, kMaxSourceBytes)) {
        diagnostics.error(file, 0, "file", "cannot read: " + reason);
        QuizSource quiz;
        quiz.file = file;
        return quiz;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return parseQuizSource(text, file, path.parent_path(), diagnostics);
}

void checkQuizSource(const QuizSource& quiz, Diagnostics& diagnostics) {
    SourceChecker(quiz, diagnostics).check();
}
