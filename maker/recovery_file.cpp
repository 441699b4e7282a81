#include "maker/recovery_file.h"

#include "maker/cp1252.h"
#include "maker/file_io.h"
#include "maker/source_reader.h"
#include "maker/toml_guard.h"
#include "maker/toml_writer.h"

// Paths and texts are UTF-8 everywhere in the maker: toml++'s wide-string helpers, which would
// bring <windows.h> and its macros in on Windows, are not wanted.
#define TOML_ENABLE_WINDOWS_COMPAT 0
#include <toml++/toml.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <span>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMarker = "# plimo recovery";
constexpr std::string_view kExtension = ".toml";
constexpr size_t kHashDigits = 16;
constexpr size_t kMaxReadableBytes = 40;
// A quiz source is at most 1 MiB; the header's lists of turns add a little to that.
constexpr uintmax_t kMaxRecoveryBytes = 2 * 1024 * 1024;

// What the leading comment lines hold: the quiz source alone does not say where it came from,
// where its media are, nor how the author turned its pictures.
struct RecoveryHeader {
    fs::path savedAs;
    std::string origin;
    fs::path folder;
    std::string title;
    int64_t written = 0;
    int64_t writer = 0;           // the process that keeps the file: a studio still open
    std::vector<int> turns;       // of each question's picture
    std::vector<int> rewardTurns; // of each question's reward picture
};

// FNV-1a, 64 bits: stable across runs and builds, which std::hash is not.
uint64_t pathHash(std::string_view text) {
    uint64_t hash = 0xCBF29CE484222325u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3u;
    }
    return hash;
}

// The path that tells one quiz from another, absolute so that the current folder does not
// change it.
fs::path identifyingPath(const QuizSource& quiz, const fs::path& savedAs) {
    const fs::path path = !savedAs.empty()     ? savedAs
                          : !quiz.file.empty() ? pathFromUtf8(quiz.file)
                                               : quiz.folder;
    std::error_code failure;
    const fs::path absolute = path.empty() ? path : fs::absolute(path, failure);
    return (failure ? path : absolute).lexically_normal();
}

// "Capitales-quiz" for .../Capitales/quiz.toml: letters, digits and the letters beyond ASCII
// kept, anything a file name may not hold replaced, cut whole characters at a time.
std::string readablePart(const fs::path& path) {
    const std::string utf8 = pathToUtf8(path.parent_path().filename()) + "-" +
                             pathToUtf8(path.filename().replace_extension());
    std::string name;
    for (const char c : utf8) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const bool kept = byte >= 0x80 || std::isalnum(byte) || c == '-' || c == '_';
        const bool starts = (byte & 0xC0) != 0x80;
        if (starts && name.size() >= kMaxReadableBytes)
            break;
        name.push_back(kept ? c : '_');
    }
    const size_t first = name.find_first_not_of("-_");
    return first == std::string::npos ? "untitled" : name.substr(first);
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// NAME-<16 hex digits>.toml, as recoveryFile names its files.
bool isRecoveryName(const fs::path& file) {
    const std::string name = pathToUtf8(file.filename());
    if (!name.ends_with(kExtension) || name.size() < kExtension.size() + kHashDigits + 2)
        return false;
    const std::string_view stem(name.data(), name.size() - kExtension.size());
    const std::string_view hash = stem.substr(stem.size() - kHashDigits);
    return stem[stem.size() - kHashDigits - 1] == '-' &&
           std::all_of(hash.begin(), hash.end(), isHexDigit);
}

std::string turnList(const std::vector<int>& turns) {
    std::string list = "[";
    for (size_t i = 0; i < turns.size(); ++i)
        list += (i ? ", " : "") + std::to_string(turns[i]);
    return list + "]";
}

std::string headerText(const QuizSource& quiz, const fs::path& savedAs, uint32_t writer) {
    std::vector<int> turns, rewardTurns;
    for (const QuestionSource& question : quiz.questions) {
        turns.push_back(question.media.turnDegrees);
        rewardTurns.push_back(question.rewardPicture.turnDegrees);
    }
    std::error_code failure;
    const fs::path folder = quiz.folder.empty() ? quiz.folder : fs::absolute(quiz.folder, failure);
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::system_clock::now().time_since_epoch());
    std::string text(kMarker);
    text += "\n# saved_as = " + tomlUtf8String(pathToUtf8(savedAs));
    text += "\n# origin = " + tomlUtf8String(quiz.file);
    text += "\n# folder = " + tomlUtf8String(pathToUtf8(failure ? quiz.folder : folder));
    text += "\n# title = " + tomlString(quiz.title.value);
    text += "\n# written = " + std::to_string(seconds.count());
    text += "\n# writer = " + std::to_string(writer);
    text += "\n# turns = " + turnList(turns);
    text += "\n# reward_turns = " + turnList(rewardTurns);
    return text + "\n";
}

bool isTurn(int64_t degrees) {
    return degrees == 0 || degrees == 90 || degrees == 180 || degrees == 270;
}

bool readTurns(const toml::table& header, std::string_view key, std::vector<int>& turns) {
    const toml::array* list = header[key].as_array();
    if (!list)
        return false;
    for (const toml::node& node : *list) {
        const std::optional<int64_t> degrees = node.value<int64_t>();
        if (!degrees || !isTurn(*degrees))
            return false;
        turns.push_back(static_cast<int>(*degrees));
    }
    return true;
}

// The comment lines after the marker, without their "# ": a TOML table of their own.
std::optional<std::string> headerToml(std::string_view text) {
    if (!text.starts_with(std::string(kMarker) + "\n"))
        return std::nullopt;
    std::string toml;
    for (size_t at = kMarker.size() + 1; text.substr(at).starts_with("# ");) {
        const size_t end = std::min(text.find('\n', at), text.size());
        toml.append(text.substr(at + 2, end - at - 2)).append("\n");
        at = end + 1;
    }
    return toml;
}

std::optional<RecoveryHeader> readHeader(std::string_view text, std::string& problem) {
    const std::optional<std::string> toml = headerToml(text);
    if (!toml) {
        problem = "not a recovery file of plimo-studio";
        return std::nullopt;
    }
    const AsciiToml ascii = asciiToml(*toml);
    toml::table table;
    try {
        if (ascii.problem.empty())
            table = toml::parse(ascii.text);
    } catch (const toml::parse_error& failure) {
        problem = "its header does not read: " + std::string(failure.description());
        return std::nullopt;
    }
    RecoveryHeader header;
    const std::optional<std::string> savedAs = table["saved_as"].value<std::string>();
    const std::optional<std::string> origin = table["origin"].value<std::string>();
    const std::optional<std::string> folder = table["folder"].value<std::string>();
    const std::optional<std::string> title = table["title"].value<std::string>();
    const std::optional<int64_t> written = table["written"].value<int64_t>();
    if (!ascii.problem.empty() || !savedAs || !origin || !folder || !title || !written ||
        !readTurns(table, "turns", header.turns) ||
        !readTurns(table, "reward_turns", header.rewardTurns) ||
        header.turns.size() != header.rewardTurns.size()) {
        problem = "its header is incomplete";
        return std::nullopt;
    }
    header.savedAs = pathFromUtf8(*savedAs);
    header.origin = *origin;
    header.folder = pathFromUtf8(*folder);
    header.title = *title;
    header.written = *written;
    header.writer = table["writer"].value<int64_t>().value_or(0);
    return header;
}

bool readText(const fs::path& file, std::string& text, std::string& problem) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(file, bytes, problem, kMaxRecoveryBytes))
        return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

// The turns as the header keeps them, given back to their questions. The source writes them
// too; the header's lists also say how many questions a whole file holds.
void applyTurns(const RecoveryHeader& header, QuizSource& quiz) {
    for (size_t i = 0; i < quiz.questions.size(); ++i) {
        quiz.questions[i].media.turnDegrees = header.turns[i];
        quiz.questions[i].rewardPicture.turnDegrees = header.rewardTurns[i];
    }
}

// Where a quiz was read from no longer says anything: its lines are those of the recovery file.
void forgetLines(QuizSource& quiz) {
    for (SourcedText* text : {&quiz.title, &quiz.creator, &quiz.explanation, &quiz.answerLabels[0],
                              &quiz.answerLabels[1]})
        text->line = 0;
    quiz.layout.line = quiz.colour.line = quiz.reward.line = quiz.codesLine = 0;
    for (SourcedText& code : quiz.codes)
        code.line = 0;
    for (QuestionSource& question : quiz.questions) {
        question.line = question.text.line = question.rewardText.line = 0;
        question.media.line = question.rewardPicture.line = 0;
        for (SourcedText& answer : question.answers)
            answer.line = 0;
    }
}

std::optional<QuizSource> readRecovery(const fs::path& file, RecoveryHeader& header,
                                       Diagnostics& diagnostics) {
    const std::string name = pathToUtf8(file);
    std::string text, problem;
    std::optional<RecoveryHeader> read;
    if (readText(file, text, problem))
        read = readHeader(text, problem);
    if (!read) {
        diagnostics.error(name, 0, "file", "damaged recovery file: " + problem);
        return std::nullopt;
    }
    header = std::move(*read);
    Diagnostics parsed;
    QuizSource quiz = parseQuizSource(text, name, header.folder, parsed);
    // The checks of a quiz being edited may fail; more errors than they find mean the text
    // itself is damaged.
    Diagnostics checked;
    checkQuizSource(quiz, checked);
    if (parsed.errorCount() > checked.errorCount() ||
        quiz.questions.size() != header.turns.size()) {
        diagnostics.error(name, 0, "file", "damaged recovery file: its quiz does not read");
        for (const Diagnostic& error : parsed.all())
            if (error.severity == Severity::kError)
                diagnostics.error(error.file, error.line, error.field, error.message);
        return std::nullopt;
    }
    applyTurns(header, quiz);
    forgetLines(quiz);
    quiz.file = header.origin;
    return quiz;
}

RecoveryEntry listedEntry(const fs::path& file) {
    RecoveryEntry entry;
    entry.file = file;
    RecoveryHeader header;
    Diagnostics read;
    if (!readRecovery(file, header, read)) {
        entry.problem = read.all().front().message;
        return entry;
    }
    entry.savedAs = header.savedAs;
    entry.origin = header.origin;
    entry.title = header.title;
    entry.written = std::chrono::system_clock::time_point(std::chrono::seconds(header.written));
    entry.writer = static_cast<uint32_t>(header.writer);
    return entry;
}

} // namespace

fs::path recoveryFile(const fs::path& folder, const QuizSource& quiz, const fs::path& savedAs) {
    const fs::path identifying = identifyingPath(quiz, savedAs);
    char hash[kHashDigits + 1];
    snprintf(hash, sizeof hash, "%016llx",
             static_cast<unsigned long long>(pathHash(pathToUtf8(identifying))));
    const std::string readable = identifying.empty() ? "untitled" : readablePart(identifying);
    return folder / pathFromUtf8(readable + "-" + hash + std::string(kExtension));
}

bool writeRecovery(const fs::path& folder, const QuizSource& quiz, const fs::path& savedAs,
                   std::string& reason, uint32_t writer) {
    const fs::path file = recoveryFile(folder, quiz, savedAs);
    std::error_code failure;
    fs::create_directories(folder, failure);
    const std::string text = headerText(quiz, savedAs, writer) + writeQuizToml(quiz);
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()),
                                         text.size());
    if (failure || !replaceWholeFile(file, bytes, reason)) {
        reason =
            pathToUtf8(file) + ": cannot be written: " + (failure ? failure.message() : reason);
        return false;
    }
    return true;
}

std::vector<RecoveryEntry> listRecoveries(const fs::path& folder) {
    std::vector<RecoveryEntry> entries;
    std::error_code failure;
    for (fs::directory_iterator it(folder, failure), end; !failure && it != end;
         it.increment(failure)) {
        if (isRecoveryName(it->path()) && it->is_regular_file(failure))
            entries.push_back(listedEntry(it->path()));
    }
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const RecoveryEntry& a, const RecoveryEntry& b) { return a.written > b.written; });
    return entries;
}

std::optional<QuizSource> readRecovery(const fs::path& file, Diagnostics& diagnostics) {
    RecoveryHeader header;
    return readRecovery(file, header, diagnostics);
}

bool removeRecovery(const fs::path& file) {
    std::error_code failure;
    return isRecoveryName(file) && fs::is_regular_file(fs::symlink_status(file, failure)) &&
           fs::remove(file, failure);
}
