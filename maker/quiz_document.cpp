#include "maker/quiz_document.h"

#include "maker/answer_variants.h"
#include "maker/cp1252.h"
#include "maker/file_io.h"
#include "maker/file_name_answer.h"
#include "maker/folder_writer.h"
#include "maker/media_format.h"
#include "maker/quiz_reader.h"
#include "maker/quiz_starter.h"
#include "maker/quiz_writer.h"
#include "maker/source_reader.h"
#include "maker/toml_writer.h"

#include <algorithm>
#include <map>
#include <random>
#include <thread>

namespace fs = std::filesystem;

OwnedFolder::~OwnedFolder() {
    if (path_.empty())
        return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

OwnedFolder& OwnedFolder::operator=(OwnedFolder&& other) noexcept {
    if (this != &other) {
        OwnedFolder dropped(std::move(*this));
        path_ = std::exchange(other.path_, {});
    }
    return *this;
}

namespace {

// A fresh folder under the temporary folder; a name is never reused.
std::optional<OwnedFolder> makeOwnedFolder(Diagnostics& diagnostics) {
    std::error_code failure;
    const fs::path base = fs::temp_directory_path(failure);
    std::random_device random;
    for (int attempt = 0; !failure && attempt < 100; ++attempt) {
        const fs::path path = base / ("plimo-studio-" + std::to_string(random()));
        if (fs::create_directory(path, failure))
            return OwnedFolder(path);
    }
    diagnostics.error(pathToUtf8(base), 0, "folder",
                      "cannot make a temporary folder: " + failure.message());
    return std::nullopt;
}

std::optional<MediaKind> mediaKindOfFile(const fs::path& file) {
    std::vector<uint8_t> head;
    std::string reason;
    if (!readFileHead(file, kMediaHeadLength, head, reason))
        return std::nullopt;
    const MediaFormat format = detectMediaFormat(head);
    if (format == MediaFormat::kMp3)
        return kMediaSound;
    if (format == MediaFormat::kAvi)
        return kMediaVideo;
    if (isPictureFormat(format) || format == MediaFormat::kPng)
        return kMediaPictures;
    return std::nullopt;
}

// A media path as a source names it: from `folder`, with '/' on every platform.
std::string relativeMediaPath(const fs::path& file, const fs::path& folder) {
    std::error_code failure;
    fs::path relative = fs::relative(file, folder, failure);
    if (failure || relative.empty())
        relative = file;
    std::string text = pathToUtf8(relative);
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

void rebase(MediaFile& media, const fs::path& from, const fs::path& to) {
    if (media.present())
        media.path = relativeMediaPath(from / pathFromUtf8(media.path), to);
}

// The text goes to a fresh file beside `target` first, then takes its place: a failed write
// never leaves a cut source, and a link at `target` is replaced, never written through.
bool replaceFileAtOnce(const fs::path& target, const std::string& text, Diagnostics& diagnostics) {
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()),
                                         text.size());
    std::string reason;
    if (replaceWholeFile(target, bytes, reason))
        return true;
    diagnostics.error(pathToUtf8(target), 0, "file", "cannot be written: " + reason);
    return false;
}

// Copies the media files of `quizzes` from their folder into `folder` under the same names:
// those of the first quiz must all be there; those of the others (the quiz as it was before
// changes that can be undone) are copied when they are.
bool copyMedia(const std::vector<const QuizSource*>& quizzes, const fs::path& folder,
               Diagnostics& diagnostics) {
    std::vector<std::vector<uint8_t>> contents;
    std::vector<std::string> names;
    for (const QuizSource* quiz : quizzes) {
        const bool required = quiz == quizzes.front();
        for (const QuestionSource& question : quiz->questions) {
            for (const MediaFile* media : {&question.media, &question.rewardPicture}) {
                if (!media->present() ||
                    std::find(names.begin(), names.end(), media->path) != names.end())
                    continue;
                std::string reason;
                std::vector<uint8_t> bytes;
                if (!readWholeFile(quiz->folder / pathFromUtf8(media->path), bytes, reason,
                                   kMaxMediaFileBytes)) {
                    if (!required)
                        continue;
                    diagnostics.error(media->path, 0, "file", "cannot be read: " + reason);
                    return false;
                }
                contents.push_back(std::move(bytes));
                names.push_back(media->path);
            }
        }
    }
    std::vector<FolderFile> files;
    for (size_t i = 0; i < names.size(); ++i)
        files.push_back({names[i], contents[i]});
    return writeFolderFiles(folder, files, false, diagnostics);
}

// "photo (2).jpg" for n = 2.
fs::path numberedName(const fs::path& name, int n) {
    if (n == 1)
        return name;
    fs::path numbered = name.stem();
    numbered += " (" + std::to_string(n) + ")";
    numbered += name.extension();
    return numbered;
}

bool holdsBytes(const fs::path& file, const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> held;
    std::string reason;
    return readWholeFile(file, held, reason, kMaxMediaFileBytes) && held == bytes;
}

} // namespace

QuizDocument::QuizDocument() {
    quiz_.layout.value = kMediaPictures;
}

std::optional<QuizDocument> QuizDocument::fromFolder(const fs::path& folder,
                                                     Diagnostics& diagnostics) {
    const fs::path source = folder / kQuizSourceName;
    std::error_code failure;
    if (fs::is_regular_file(source, failure))
        return fromSource(source, diagnostics);
    std::optional<StarterQuiz> starter = starterQuiz(folder, diagnostics);
    if (!starter)
        return std::nullopt;
    QuizDocument document;
    Diagnostics parsed; // its checks are the document's, shown as the author edits
    document.quiz_ =
        parseQuizSource(starterSourceText(*starter), pathToUtf8(source), folder, parsed);
    document.savePath_ = source;
    document.origin_ =
        pathToUtf8(folder.filename().empty() ? folder.parent_path().filename() : folder.filename());
    document.savedState_ = -1;
    return document;
}

QuizDocument QuizDocument::recovered(QuizSource quiz, fs::path savedAs) {
    QuizDocument document;
    document.origin_ = quiz.file;
    document.quiz_ = std::move(quiz);
    document.savePath_ = std::move(savedAs);
    document.savedState_ = -1; // nothing on disk holds it
    return document;
}

QuizDocument QuizDocument::fromSource(const fs::path& toml, Diagnostics& diagnostics) {
    QuizDocument document;
    Diagnostics read;
    document.quiz_ = readQuizSource(pathToUtf8(toml), read);
    document.origin_ = pathToUtf8(toml.filename());
    Diagnostics checked;
    checkQuizSource(document.quiz_, checked);
    if (read.errorCount() > checked.errorCount()) {
        for (const Diagnostic& problem : read.all()) {
            if (problem.severity == Severity::kError)
                document.sourceErrors_.push_back(problem);
        }
        for (const Diagnostic& problem : document.sourceErrors_)
            diagnostics.error(problem.file, problem.line, problem.field, problem.message);
    } else {
        document.savePath_ = toml;
    }
    return document;
}

std::optional<QuizDocument> QuizDocument::fromExecutable(const fs::path& executable,
                                                         ExecutableIo& executables,
                                                         Diagnostics& diagnostics) {
    const std::string name = pathToUtf8(executable);
    QuizResources resources;
    const ExecutableResult result = executables.readQuiz(executable, resources);
    if (!result.ok()) {
        diagnostics.error(result.file.empty() ? name : result.file, 0, "executable",
                          result.message);
        return std::nullopt;
    }
    std::optional<QuizSource> stored = quizFromResources(resources, name, diagnostics);
    if (!stored)
        return std::nullopt;
    std::optional<OwnedFolder> media = makeOwnedFolder(diagnostics);
    if (!media || !writeSourceFolder(*stored, resources, media->path(), false, diagnostics))
        return std::nullopt;
    QuizDocument document = fromSource(media->path() / kQuizSourceName, diagnostics);
    document.quiz_.file = name;
    document.savePath_.clear();
    document.origin_ = pathToUtf8(executable.filename());
    document.temporaryMedia_ = std::move(*media);
    return document;
}

QuizSource& QuizDocument::edit(std::string_view typingIn) {
    remember(typingIn);
    return quiz_;
}

void QuizDocument::remember(std::string_view typingIn) {
    const bool sameRun = !typingIn.empty() && typingIn == typingIn_;
    typingIn_ = typingIn;
    redo_.clear();
    if (sameRun)
        return;
    if (undo_.size() == kUndoLevels)
        undo_.erase(undo_.begin());
    undo_.push_back({quiz_, state_});
    state_ = nextState_++;
}

void QuizDocument::stepTo(std::vector<Step>& from, std::vector<Step>& to) {
    to.push_back({std::move(quiz_), state_});
    quiz_ = std::move(from.back().quiz);
    state_ = from.back().state;
    from.pop_back();
    typingIn_.clear();
}

bool QuizDocument::undo() {
    if (undo_.empty())
        return false;
    stepTo(undo_, redo_);
    return true;
}

bool QuizDocument::redo() {
    if (redo_.empty())
        return false;
    stepTo(redo_, undo_);
    return true;
}

std::string QuizDocument::displayName() const {
    return savePath_.empty() ? origin_ : pathToUtf8(savePath_);
}

fs::path QuizDocument::mediaFile(int index, bool reward) const {
    const QuestionSource& question = quiz_.questions.at(index);
    const MediaFile& media = reward ? question.rewardPicture : question.media;
    return media.present() ? quiz_.folder / pathFromUtf8(media.path) : fs::path();
}

int QuizDocument::addMediaFiles(std::vector<fs::path> files, Diagnostics& diagnostics, size_t at) {
    const QuizSource before = quiz_;
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        return naturalLess(pathToUtf8(a.filename()), pathToUtf8(b.filename()));
    });
    std::vector<std::optional<MediaKind>> kinds;
    std::map<MediaKind, int> counts;
    for (const fs::path& file : files) {
        kinds.push_back(mediaKindOfFile(file));
        if (kinds.back())
            ++counts[*kinds.back()];
    }
    // An empty quiz takes the kind most of the files have, as `new` does.
    if (quiz_.questions.empty() && !counts.empty()) {
        quiz_.layout.value = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                                 return a.second < b.second;
                             })->first;
        if (quiz_.folder.empty()) {
            const size_t first =
                std::find(kinds.begin(), kinds.end(), quiz_.layout.value) - kinds.begin();
            quiz_.folder = files[first].parent_path();
            if (quiz_.title.value.empty())
                quiz_.title.value =
                    utf8ToCp1252(spacedName(pathToUtf8(quiz_.folder.filename()))).text;
        }
    }
    int added = 0;
    at = std::min(at, quiz_.questions.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const fs::path& file = files[i];
        const std::string name = pathToUtf8(file);
        if (!kinds[i]) {
            diagnostics.warning(name, 0, "file", "not a picture, MP3 or AVI file: left out");
            continue;
        }
        if (*kinds[i] != quiz_.layout.value) {
            diagnostics.warning(name, 0, "file",
                                "a quiz shows pictures, sounds or videos, not a mix: left out");
            continue;
        }
        const std::optional<fs::path> stored = copiedIntoFolder(file, diagnostics);
        if (!stored)
            continue;
        QuestionSource& question = *quiz_.questions.emplace(quiz_.questions.begin() + at++);
        question.answers.resize(quiz_.answerFieldCount);
        question.answers[0].value =
            utf8ToCp1252(answerFromFileName(pathToUtf8(file.filename()))).text;
        question.media.path = relativeMediaPath(*stored, quiz_.folder);
        ++added;
    }
    if (added > 0) {
        QuizSource after = std::move(quiz_);
        quiz_ = before;
        remember();
        quiz_ = std::move(after);
    }
    return added;
}

std::optional<fs::path> QuizDocument::copiedIntoFolder(const fs::path& file,
                                                       Diagnostics& diagnostics) const {
    std::error_code failure;
    if (quiz_.folder.empty() || fs::equivalent(file.parent_path(), quiz_.folder, failure))
        return file;
    const std::string name = pathToUtf8(file);
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!readWholeFile(file, bytes, reason, kMaxMediaFileBytes)) {
        diagnostics.warning(name, 0, "file", "cannot be read: " + reason + ": left out");
        return std::nullopt;
    }
    // The same photo dropped twice is not copied twice.
    for (int n = 1; n < 1000; ++n) {
        const fs::path target = quiz_.folder / numberedName(file.filename(), n);
        if (fs::exists(target, failure)) {
            if (holdsBytes(target, bytes))
                return target;
            continue;
        }
        if (writeNewFile(target, bytes, reason))
            return target;
        if (!fs::exists(target, failure))
            break;
    }
    diagnostics.warning(name, 0, "file",
                        "cannot be copied into " + pathToUtf8(quiz_.folder) + ": " + reason +
                            ": left out");
    return std::nullopt;
}

void QuizDocument::removeQuestion(int index) {
    if (index < 0 || index >= static_cast<int>(quiz_.questions.size()))
        return;
    remember();
    quiz_.questions.erase(quiz_.questions.begin() + index);
}

void QuizDocument::moveQuestion(int index, int target) {
    auto& questions = quiz_.questions;
    const int count = static_cast<int>(questions.size());
    if (index == target || index < 0 || target < 0 || index >= count || target >= count)
        return;
    remember();
    if (index < target)
        std::rotate(questions.begin() + index, questions.begin() + index + 1,
                    questions.begin() + target + 1);
    else
        std::rotate(questions.begin() + target, questions.begin() + index,
                    questions.begin() + index + 1);
}

void QuizDocument::setAnswerFieldCount(int count) {
    if (count == quiz_.answerFieldCount)
        return;
    remember();
    quiz_.answerFieldCount = count;
    for (QuestionSource& question : quiz_.questions)
        question.answers.resize(count);
}

void QuizDocument::turnPicture(int index, bool reward, int degrees) {
    if (index < 0 || index >= static_cast<int>(quiz_.questions.size()))
        return;
    remember();
    QuestionSource& question = quiz_.questions[index];
    int& turn = (reward ? question.rewardPicture : question.media).turnDegrees;
    turn = ((turn + degrees) % 360 + 360) % 360;
}

bool QuizDocument::setRewardPicture(int index, const fs::path& file, Diagnostics& diagnostics) {
    if (index < 0 || index >= static_cast<int>(quiz_.questions.size()))
        return false;
    if (mediaKindOfFile(file) != kMediaPictures) {
        diagnostics.warning(pathToUtf8(file), 0, "file", "not a picture: left out");
        return false;
    }
    const std::optional<fs::path> stored = copiedIntoFolder(file, diagnostics);
    if (!stored)
        return false;
    remember();
    MediaFile& picture = quiz_.questions[index].rewardPicture;
    picture.path = relativeMediaPath(*stored, quiz_.folder);
    picture.turnDegrees = 0;
    return true;
}

Diagnostics QuizDocument::check() const {
    Diagnostics diagnostics;
    for (const Diagnostic& problem : sourceErrors_)
        diagnostics.error(problem.file, problem.line, problem.field, problem.message);
    if (quiz_.questions.empty())
        diagnostics.error(quiz_.file, 0, "question", "the quiz has no question yet");
    checkQuizSource(quiz_, diagnostics);
    answerVariantWarnings(quiz_, diagnostics);
    return diagnostics;
}

bool QuizDocument::save(const fs::path& toml, Diagnostics& diagnostics) {
    const fs::path folder = toml.parent_path().empty() ? fs::path(".") : toml.parent_path();
    std::vector<const QuizSource*> everyStep = {&quiz_};
    for (const std::vector<Step>* steps : {&undo_, &redo_}) {
        for (const Step& step : *steps)
            everyStep.push_back(&step.quiz);
    }
    if (mediaAreTemporary() && !copyMedia(everyStep, folder, diagnostics))
        return false;
    // The quiz as it was before each change moves along, so that undoing finds its media.
    const auto moved = [&](QuizSource quiz) {
        if (!mediaAreTemporary()) {
            for (QuestionSource& question : quiz.questions) {
                rebase(question.media, quiz.folder, folder);
                rebase(question.rewardPicture, quiz.folder, folder);
            }
        }
        quiz.file = pathToUtf8(toml);
        quiz.folder = folder;
        return quiz;
    };
    QuizSource saved = moved(quiz_);
    if (!replaceFileAtOnce(toml, writeQuizToml(saved), diagnostics))
        return false;
    quiz_ = std::move(saved);
    for (std::vector<Step>* steps : {&undo_, &redo_}) {
        for (Step& step : *steps)
            step.quiz = moved(std::move(step.quiz));
    }
    temporaryMedia_ = OwnedFolder();
    sourceErrors_.clear();
    savePath_ = toml;
    origin_ = pathToUtf8(toml.filename());
    savedState_ = state_;
    typingIn_.clear();
    return true;
}

std::optional<int> questionOfField(const std::string& field) {
    constexpr std::string_view kPrefix = "question[";
    if (!field.starts_with(kPrefix))
        return std::nullopt;
    const int number = std::atoi(field.c_str() + kPrefix.size());
    return number >= 1 ? std::optional<int>(number - 1) : std::nullopt;
}

namespace {

// A diagnostic of a part of the quiz, told of the question it is about in the whole quiz.
void reportShifted(const Diagnostic& problem, int first, Diagnostics& diagnostics) {
    std::string field = problem.field;
    if (const std::optional<int> index = questionOfField(field))
        field = "question[" + std::to_string(*index + first + 1) + field.substr(field.find(']'));
    diagnostics.error(problem.file, problem.line, field, problem.message);
}

} // namespace

std::optional<QuizResources> buildDocumentResources(const QuizSource& quiz,
                                                    Diagnostics& diagnostics, std::stop_token stop,
                                                    const BuildProgress& progress) {
    std::optional<QuizResources> resources =
        buildQuizResources(quiz, diagnostics, MediaHandling::kLeaveOut);
    if (!resources)
        return std::nullopt;
    const int total = static_cast<int>(quiz.questions.size());
    // buildQuizResources prepares the pictures of one call side by side.
    const int batch = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    QuizSource part = quiz;
    for (int first = 0; first < total; first += batch) {
        if (stop.stop_requested())
            return std::nullopt;
        const int count = std::min(batch, total - first);
        part.questions.assign(quiz.questions.begin() + first,
                              quiz.questions.begin() + first + count);
        Diagnostics partDiagnostics;
        std::optional<QuizResources> media =
            buildQuizResources(part, partDiagnostics, MediaHandling::kPreparePictures);
        if (!media) {
            for (const Diagnostic& problem : partDiagnostics.all())
                reportShifted(problem, first, diagnostics);
            return std::nullopt;
        }
        for (int i = 0; i < count; ++i) {
            for (auto [from, to] : {std::pair{questionMediaId(i), questionMediaId(first + i)},
                                    std::pair{rewardPictureId(i), rewardPictureId(first + i)}}) {
                if (auto found = media->images.find(from); found != media->images.end())
                    resources->images[to] = std::move(found->second);
            }
        }
        if (progress)
            progress(first + count, total);
    }
    return stop.stop_requested() ? std::nullopt : resources;
}
