#include "maker/quiz_starter.h"

#include "maker/cp1252.h"
#include "maker/folder_writer.h"
#include "maker/printable.h"
#include "maker/quiz_source.h"
#include "maker/source_reader.h"
#include "maker/toml_writer.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>

namespace {

// The pictures the maker reads; the player plays MP3 sounds and AVI videos.
constexpr std::array<std::string_view, 6> kPictureExtensions = {".jpg", ".jpeg", ".jpe",
                                                                ".png", ".gif",  ".bmp"};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return lowerAscii(c); });
    return lower;
}

// The digits from `at`, without their leading zeros; `at` moves past them.
std::string_view numberAt(std::string_view text, size_t& at) {
    const size_t start = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    std::string_view digits = text.substr(start, at - start);
    const size_t firstSignificant = digits.find_first_not_of('0');
    return firstSignificant == std::string_view::npos ? std::string_view()
                                                      : digits.substr(firstSignificant);
}

// The dot that starts the extension; none for a name that is all extension (".jpg").
size_t extensionStart(std::string_view name) {
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name.size() : dot;
}

std::optional<MediaKind> mediaKindOf(std::string_view name) {
    const std::string extension = lowerAscii(name.substr(extensionStart(name)));
    if (std::find(kPictureExtensions.begin(), kPictureExtensions.end(), extension) !=
        kPictureExtensions.end())
        return kMediaPictures;
    if (extension == ".mp3")
        return kMediaSound;
    if (extension == ".avi")
        return kMediaVideo;
    return std::nullopt;
}

std::string_view kindNoun(MediaKind kind, bool plural) {
    switch (kind) {
    case kMediaSound:
        return plural ? "sounds" : "sound";
    case kMediaVideo:
        return plural ? "videos" : "video";
    default:
        return plural ? "pictures" : "picture";
    }
}

// The folder's media files by kind, each kind in natural order. Hidden files and quiz.toml
// are not the author's media; other files are named and left out.
std::map<MediaKind, std::vector<std::string>> listMedia(const std::filesystem::path& folder,
                                                        Diagnostics& diagnostics) {
    std::map<MediaKind, std::vector<std::string>> media;
    std::error_code failure;
    for (const auto& entry : std::filesystem::directory_iterator(folder, failure)) {
        std::error_code ignored;
        const std::string name = pathToUtf8(entry.path().filename());
        if (!entry.is_regular_file(ignored) || name.starts_with('.') || name == kQuizSourceName)
            continue;
        // The build refuses a file outside the folder, so that a folder received from someone
        // else cannot take the builder's own files into a quiz; the rest still makes one.
        if (entry.is_symlink(ignored) && outsideTheFolder(folder, name))
            diagnostics.warning(pathInMessage(entry.path()), 0, "file",
                                "links outside the folder: left out");
        else if (std::optional<MediaKind> kind = mediaKindOf(name))
            media[*kind].push_back(name);
        else
            diagnostics.warning(pathInMessage(entry.path()), 0, "file",
                                "not a picture, MP3 or AVI file: left out");
    }
    if (failure)
        diagnostics.error(pathToUtf8(folder), 0, "folder", "cannot read: " + failure.message());
    for (auto& [kind, names] : media)
        std::sort(names.begin(), names.end(), naturalLess);
    return media;
}

// The kind most files have is the quiz's layout; each file of another kind is an error.
std::optional<MediaKind> chooseLayout(const std::filesystem::path& folder,
                                      const std::map<MediaKind, std::vector<std::string>>& media,
                                      Diagnostics& diagnostics) {
    if (media.empty()) {
        diagnostics.error(pathToUtf8(folder), 0, "folder",
                          "no pictures, MP3 or AVI files to make questions of");
        return std::nullopt;
    }
    const auto layout = std::max_element(media.begin(), media.end(), [](auto& a, auto& b) {
                            return a.second.size() < b.second.size();
                        })->first;
    const std::string among = " among " + std::to_string(media.at(layout).size()) + " " +
                              std::string(kindNoun(layout, true));
    for (const auto& [kind, names] : media) {
        for (const std::string& name : names) {
            if (kind != layout)
                diagnostics.error(pathInMessage(folder / pathFromUtf8(name)), 0, "file",
                                  "a " + std::string(kindNoun(kind, false)) + among +
                                      ": a quiz shows pictures, sounds or videos, not a mix; "
                                      "move it out of the folder");
        }
    }
    return layout;
}

// The text that `utf8` gives the stored quiz, or an error naming `file`.
bool checkStoredText(const std::string& utf8, const std::string& file, Diagnostics& diagnostics) {
    const Cp1252Conversion text = utf8ToCp1252(utf8);
    std::string problem;
    if (!text.ok())
        problem = text.describe();
    else if (text.text.find('|') != std::string::npos)
        problem = "holds a '|', which the stored quiz uses to end its texts";
    else if (text.text.size() > static_cast<size_t>(kQuizTextMaxLength))
        problem = "is longer than the " + std::to_string(kQuizTextMaxLength) +
                  " bytes the player keeps of a text";
    if (!problem.empty())
        diagnostics.error(file, 0, "name", problem + ": rename it");
    return problem.empty();
}

std::optional<StarterQuiz> starterQuiz(const std::filesystem::path& folder,
                                       Diagnostics& diagnostics) {
    std::map<MediaKind, std::vector<std::string>> media = listMedia(folder, diagnostics);
    std::optional<MediaKind> layout = chooseLayout(folder, media, diagnostics);
    if (!layout || diagnostics.hasErrors())
        return std::nullopt;
    StarterQuiz quiz;
    quiz.layout = *layout;
    quiz.files = std::move(media[*layout]);
    if (quiz.files.size() > static_cast<size_t>(kMaxQuestions)) {
        diagnostics.error(pathToUtf8(folder), 0, "folder",
                          std::to_string(quiz.files.size()) + " " +
                              std::string(kindNoun(quiz.layout, true)) + ", more than the " +
                              std::to_string(kMaxQuestions) +
                              " questions a quiz holds: move some to another folder");
        return std::nullopt;
    }
    // "." and "photos/" are named by the folder they stand for.
    std::error_code failure;
    std::filesystem::path named = std::filesystem::weakly_canonical(folder, failure);
    if (failure)
        named = folder.lexically_normal();
    if (!named.has_filename())
        named = named.parent_path();
    quiz.title = spacedName(pathToUtf8(named.filename()));
    checkStoredText(quiz.title, pathToUtf8(folder), diagnostics);
    for (const std::string& name : quiz.files) {
        const std::string file = pathInMessage(folder / pathFromUtf8(name));
        if (checkStoredText(name, file, diagnostics))
            checkStoredText(answerFromFileName(name), file, diagnostics);
    }
    if (diagnostics.hasErrors())
        return std::nullopt;
    return quiz;
}

std::string quoted(const std::string& utf8) {
    return tomlString(utf8ToCp1252(utf8).text);
}

// Whether an answer taken from a file name is one a player can type: something is left of the
// name, and no control character, which no keyboard types.
bool typableAnswer(const std::string& answer) {
    return !answer.empty() && printable(answer) == answer;
}

// The answer line of a question, and where the author writes the answer its name does not give.
std::string answerLine(const std::string& file) {
    const std::string answer = answerFromFileName(file);
    if (answer.empty())
        return "answer = \"\"   # " + printable(file) + ": write the answer here\n";
    return "answer = " + quoted(answer) + "\n";
}

} // namespace

bool naturalLess(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::string_view x = numberAt(a, i), y = numberAt(b, j);
            if (x.size() != y.size())
                return x.size() < y.size();
            if (x != y)
                return x < y;
        } else if (lowerAscii(a[i]) != lowerAscii(b[j])) {
            return static_cast<unsigned char>(lowerAscii(a[i])) <
                   static_cast<unsigned char>(lowerAscii(b[j]));
        } else {
            ++i, ++j;
        }
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
    return a < b; // names equal but for case or leading zeros still get one order
}

std::string answerFromFileName(std::string_view utf8Name) {
    std::string answer = spacedName(utf8Name.substr(0, extensionStart(utf8Name)));
    return typableAnswer(answer) ? answer : std::string();
}

std::string spacedName(std::string_view utf8Name) {
    std::string answer;
    for (char c : utf8Name) {
        const bool space = c == ' ' || c == '_' || c == '-';
        if (!space)
            answer.push_back(c);
        else if (!answer.empty() && answer.back() != ' ')
            answer.push_back(' ');
    }
    if (!answer.empty() && answer.back() == ' ')
        answer.pop_back();
    return answer;
}

std::string starterSourceText(const StarterQuiz& quiz) {
    const std::string noun(kindNoun(quiz.layout, false));
    std::string text = "# Made by plimo-maker new: one question per " + noun +
                       " of this folder, its answer taken from the\n"
                       "# file name. Check the answers, then make the quiz:\n"
                       "#   plimo-maker build quiz.toml -o quiz.exe\n";
    text += "title = " + quoted(quiz.title) + "\n";
    text += "# creator = \"Your name\"\n"
            "# explanation = \"What the player has to find\"\n";
    text += "layout = \"" + std::string(layoutWord(quiz.layout)) + "\"\n";
    text += "colour = \"" + colourText(QuizColour{}) + "\"\n";
    text += "\n# Codes, one per score: the first is shown once 1 question is right, the second "
            "at 2, ...\n"
            "# codes = [\"CODE1\", \"CODE2\", \"CODE3\"]\n"
            "\n# A reward for each right question: \"picture\" (then every question names its\n"
            "# reward_picture), \"text\", \"message\" or \"final\" (then each has a reward_text).\n"
            "# reward = \"message\"\n"
            "\n# Two answers per question: captions for both, and answers = [\"FIRST\", "
            "\"SECOND\"]\n"
            "# in every question instead of answer = \"...\".\n"
            "# answer_labels = [\"First\", \"Second\"]\n";
    const std::string key(mediaKey(quiz.layout));
    for (size_t i = 0; i < quiz.files.size(); ++i) {
        text += "\n[[question]]\n" + answerLine(quiz.files[i]);
        text += key + " = " + quoted(quiz.files[i]) + "\n";
        if (i == 0)
            text += "# answers = [" + quoted(answerFromFileName(quiz.files[i])) +
                    ", \"SECOND\"]   # with two answers\n"
                    "# reward_text = \"Bravo !\"   # with a text reward\n"
                    "# reward_picture = \"reward.jpg\"   # with reward = \"picture\"\n";
    }
    return text;
}

StarterCounts writeStarterSource(const std::filesystem::path& folder, bool replace,
                                 Diagnostics& diagnostics) {
    std::error_code failure;
    if (!std::filesystem::is_directory(folder, failure)) {
        diagnostics.error(pathToUtf8(folder), 0, "folder", "not found, or not a folder");
        return {};
    }
    std::optional<StarterQuiz> quiz = starterQuiz(folder, diagnostics);
    if (!quiz)
        return {};
    std::set<std::string> answersToWrite; // the fields of those no name gives
    for (size_t i = 0; i < quiz->files.size(); ++i) {
        if (answerFromFileName(quiz->files[i]).empty())
            answersToWrite.insert(questionField(static_cast<int>(i), "answer"));
    }
    const std::string text = starterSourceText(*quiz);
    // What is written must build once the author has written the answers left empty: the
    // reader checks it as a build would. Its warnings (no codes yet, answers that judge each
    // other near misses) come with the first build.
    Diagnostics checked;
    parseQuizSource(text, pathInMessage(folder / kQuizSourceName), folder, checked);
    bool ok = true;
    for (const Diagnostic& problem : checked.all()) {
        if (problem.severity == Severity::kError && !answersToWrite.count(problem.field)) {
            diagnostics.error(problem.file, problem.line, problem.field, problem.message);
            ok = false;
        }
    }
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()),
                                         text.size());
    if (!ok || !writeFolderFiles(folder, {{kQuizSourceName, bytes}}, replace, diagnostics))
        return {};
    return {static_cast<int>(quiz->files.size()), static_cast<int>(answersToWrite.size())};
}
