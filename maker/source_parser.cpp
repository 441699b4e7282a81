#include "maker/source_reader.h"

#include "judge/answer_text.h"
#include "maker/cp1252.h"
#include "maker/file_io.h"
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

// "\"a\", \"b\" or \"c\"": the words an author can choose from.
std::string wordChoice(std::span<const std::string_view> words) {
    std::string choice;
    for (size_t i = 0; i < words.size(); ++i)
        choice += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + inQuotes(words[i]);
    return choice;
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
        layoutKnown_ = readWord(root, "layout", kLayoutWords, layoutFromWord, quiz_.layout);
        if (!root.get("layout"))
            error(1, "layout", "missing: write layout = " + wordChoice(kLayoutWords));
        readColour(root);
        readAnswerLabels(root);
        // No reward at all is a known reward.
        rewardKnown_ = !root.get("reward") ||
                       readWord(root, "reward", kRewardWords, rewardFromWord, quiz_.reward);
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

    // The word of `key`, one of `words`, as the kind `fromWord` finds it names. False when the
    // key is missing, and, with an error, when it holds anything else.
    template <typename Kind>
    bool readWord(const toml::table& table, std::string_view key,
                  std::span<const std::string_view> words,
                  std::optional<Kind> (*fromWord)(std::string_view), Sourced<Kind>& kind) {
        const toml::node* node = table.get(key);
        std::string word;
        if (!node || !readString(*node, std::string(key), word))
            return false;
        const std::optional<Kind> found = fromWord(word);
        if (!found) {
            error(lineOf(*node), std::string(key),
                  "unknown " + std::string(key) + " " + inQuotes(word) + ": write " +
                      wordChoice(words));
            return false;
        }
        kind = {*found, lineOf(*node)};
        return true;
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
