#include "maker/quiz_starter.h"

#include "maker/cp1252.h"
#include "maker/file_io.h"
#include "maker/file_name_answer.h"
#include "maker/folder_writer.h"
#include "maker/media_format.h"
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

// Photos in formats that phones and web pages give but the maker does not read: named by their
// extension, so that an author learns what to do rather than that they are no pictures.
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kUnreadExtensions = {{
    {".heic", "HEIC photo"},
    {".heif", "HEIF picture"},
    {".avif", "AVIF picture"},
    {".webp", "WebP picture"},
    {".tif", "TIFF picture"},
    {".tiff", "TIFF picture"},
}};

std::optional<MediaKind> mediaKindOf(std::string_view name) {
    const std::string extension = lowerExtension(name);
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

// The format of a photo that the maker does not read, by its extension or, for a picture
// whose extension says otherwise (an iPhone photo renamed .jpg), by its first bytes; empty
// for any other file.
std::string_view unreadFormatOf(const std::filesystem::path& file, std::string_view name) {
    const std::string extension = lowerExtension(name);
    for (const auto& [unread, format] : kUnreadExtensions) {
        if (extension == unread)
            return format;
    }
    std::vector<uint8_t> head;
    std::string ignored;
    if (mediaKindOf(name) == kMediaPictures && readFileHead(file, kMediaHeadLength, head, ignored))
        return unreadPictureFormat(head);
    return {};
}

// The media files of a folder by kind, each kind in natural order, and the photos left out
// because the maker cannot read their format.
struct FolderMedia {
    std::map<MediaKind, std::vector<std::string>> files;
    std::map<std::string_view, int> unreadFormats; // how many of each
};

// Hidden files and quiz.toml are not the author's media; other files are named and left out.
FolderMedia listMedia(const std::filesystem::path& folder, Diagnostics& diagnostics) {
    FolderMedia listed;
    auto& media = listed.files;
    std::error_code failure;
    for (const auto& entry : std::filesystem::directory_iterator(folder, failure)) {
        std::error_code ignored;
        const std::string name = pathToUtf8(entry.path().filename());
        if (!entry.is_regular_file(ignored) || name.starts_with('.') || name == kQuizSourceName)
            continue;
        // The build refuses a file outside the folder, so that a folder received from someone
        // else cannot take the builder's own files into a quiz; the rest still makes one.
        if (entry.is_symlink(ignored) && outsideTheFolder(folder, name)) {
            diagnostics.warning(pathInMessage(entry.path()), 0, "file",
                                "links outside the folder: left out");
        } else if (std::string_view format = unreadFormatOf(entry.path(), name); !format.empty()) {
            ++listed.unreadFormats[format];
            diagnostics.warning(pathInMessage(entry.path()), 0, "file",
                                unreadPictureAdvice(format) + ": left out");
        } else if (std::optional<MediaKind> kind = mediaKindOf(name))
            media[*kind].push_back(name);
        else
            diagnostics.warning(pathInMessage(entry.path()), 0, "file",
                                "not a picture, MP3 or AVI file: left out");
    }
    if (failure)
        diagnostics.error(pathToUtf8(folder), 0, "folder", "cannot read: " + failure.message());
    for (auto& [kind, names] : media)
        std::sort(names.begin(), names.end(), naturalLess);
    return listed;
}

// "2 HEIC photos and 1 WebP picture".
std::string unreadCountText(const std::map<std::string_view, int>& formats) {
    std::string text;
    size_t done = 0;
    for (const auto& [format, count] : formats) {
        if (done > 0)
            text += ++done == formats.size() ? " and " : ", ";
        else
            ++done;
        text += std::to_string(count) + " " + std::string(format) + (count > 1 ? "s" : "");
    }
    return text;
}

// The kind most files have is the quiz's layout; each file of another kind is an error.
std::optional<MediaKind> chooseLayout(const std::filesystem::path& folder,
                                      const FolderMedia& listed, Diagnostics& diagnostics) {
    const auto& media = listed.files;
    if (media.empty() && !listed.unreadFormats.empty()) {
        diagnostics.error(pathToUtf8(folder), 0, "folder",
                          "no pictures the maker reads, only " +
                              unreadCountText(listed.unreadFormats) +
                              ": save them as JPEG first, then run new again");
        return std::nullopt;
    }
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

} // namespace

std::optional<StarterQuiz> starterQuiz(const std::filesystem::path& folder,
                                       Diagnostics& diagnostics) {
    FolderMedia listed = listMedia(folder, diagnostics);
    std::optional<MediaKind> layout = chooseLayout(folder, listed, diagnostics);
    if (!layout || diagnostics.hasErrors())
        return std::nullopt;
    StarterQuiz quiz;
    quiz.layout = *layout;
    quiz.files = std::move(listed.files[*layout]);
    for (const auto& [format, count] : listed.unreadFormats)
        quiz.unreadPictures += count;
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

namespace {

std::string quoted(const std::string& utf8) {
    return tomlString(utf8ToCp1252(utf8).text);
}

// The answer line of a question, and where the author writes the answer its name does not give.
std::string answerLine(const std::string& file) {
    const std::string answer = answerFromFileName(file);
    if (answer.empty())
        return "answer = \"\"   # " + printable(file) + ": write the answer here\n";
    return "answer = " + quoted(answer) + "\n";
}

} // namespace

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
    return {static_cast<int>(quiz->files.size()), static_cast<int>(answersToWrite.size()),
            quiz->unreadPictures};
}
