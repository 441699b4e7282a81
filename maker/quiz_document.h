// A quiz being edited in a window: opened from a folder of media (as `new` makes it), a
// quiz.toml (as the reader reads it) or a quiz executable (as `extract` writes it), changed
// question by question, checked after each change, saved back as a quiz.toml and built.
#pragma once

#include "maker/diagnostics.h"
#include "maker/executable_io.h"
#include "maker/quiz_resources.h"
#include "maker/quiz_source.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

// A folder the document made for itself and removes with it: the media of an executable.
class OwnedFolder {
  public:
    OwnedFolder() = default;
    explicit OwnedFolder(std::filesystem::path path) : path_(std::move(path)) {}
    ~OwnedFolder();
    OwnedFolder(OwnedFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}
    OwnedFolder& operator=(OwnedFolder&& other) noexcept;
    OwnedFolder(const OwnedFolder&) = delete;
    OwnedFolder& operator=(const OwnedFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    bool empty() const { return path_.empty(); }

  private:
    std::filesystem::path path_;
};

class QuizDocument {
  public:
    // An empty quiz, never saved.
    QuizDocument();

    // One question per picture, MP3 or AVI file, as `new` writes it; the quiz.toml a folder
    // already holds is opened instead. Nothing, with errors, when the folder makes no quiz.
    static std::optional<QuizDocument> fromFolder(const std::filesystem::path& folder,
                                                  Diagnostics& diagnostics);
    // The quiz as the reader reads it. A source whose text does not parse is opened with its
    // errors kept among the checks, and is never saved over without asking for a file.
    static QuizDocument fromSource(const std::filesystem::path& toml, Diagnostics& diagnostics);
    // The quiz that an executable carries, its media in a folder of the document's own until
    // it is saved. Nothing, with errors, when the executable carries no quiz.
    static std::optional<QuizDocument> fromExecutable(const std::filesystem::path& executable,
                                                      ExecutableIo& executables,
                                                      Diagnostics& diagnostics);

    // A quiz brought back from a recovery file, unsaved, to be saved as `savedAs` (empty: a
    // file is asked for).
    static QuizDocument recovered(QuizSource quiz, std::filesystem::path savedAs);

    const QuizSource& quiz() const { return quiz_; }
    // The quiz to change: the document counts as changed from now on, and the change can be
    // undone. Calls one after the other with the same `typingIn` (a field's name, as a field
    // is typed letter by letter) are undone as one step.
    QuizSource& edit(std::string_view typingIn = {});
    bool changed() const { return state_ != savedState_; }

    // Every change goes back and comes again in order, kUndoLevels deep.
    static constexpr size_t kUndoLevels = 200;
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    bool undo();
    bool redo();

    // Where Save writes without asking; empty when a file must be chosen first.
    const std::filesystem::path& savePath() const { return savePath_; }
    // The name a window shows: the file, the executable or the folder it came from.
    std::string displayName() const;
    // Whether the media live in the document's own folder: saving copies them beside the source.
    bool mediaAreTemporary() const { return !temporaryMedia_.empty(); }

    // The file of question `index`'s picture or clip, or of its reward picture; empty when it
    // has none.
    std::filesystem::path mediaFile(int index, bool reward = false) const;

    // Adds one question per file before question `at` (at the end when `at` is past it), in
    // name order, answered by its file name. Files
    // of another kind than the quiz's are left out with a warning. A file from another folder
    // is copied into the quiz's folder first under a name no file has there, so that the quiz
    // stays one folder; an empty quiz without a folder takes the first file's. The number added.
    int addMediaFiles(std::vector<std::filesystem::path> files, Diagnostics& diagnostics,
                      size_t at = SIZE_MAX);
    void removeQuestion(int index);
    // Moves question `index` to `target`, the others keeping their order.
    void moveQuestion(int index, int target);
    // One or two answers per question: every question gets that many.
    void setAnswerFieldCount(int count);
    // Turns question `index`'s picture, or its reward picture, by `degrees` (a multiple of 90)
    // clockwise more; the photo file is never changed.
    void turnPicture(int index, bool reward, int degrees);
    // Question `index`'s reward picture becomes `file`, copied into the quiz's folder as added
    // files are. False, with a warning naming it, when it is no picture or cannot be copied.
    bool setRewardPicture(int index, const std::filesystem::path& file, Diagnostics& diagnostics);

    // Every error and warning of the quiz as it stands, and the ways pupils type an answer
    // that the player would not take.
    Diagnostics check() const;

    // Writes the source to `toml` (UTF-8), media paths made relative to its folder and the
    // media of an executable copied beside it first. A failed save leaves no cut file and
    // changes nothing. False with errors naming the file.
    bool save(const std::filesystem::path& toml, Diagnostics& diagnostics);

  private:
    struct Step {
        QuizSource quiz;
        int state;
    };
    // Keeps the quiz as it is now for undo, before a change.
    void remember(std::string_view typingIn = {});
    // The quiz of the last step of `from` becomes the document's; its own goes on `to`.
    void stepTo(std::vector<Step>& from, std::vector<Step>& to);
    std::optional<std::filesystem::path> copiedIntoFolder(const std::filesystem::path& file,
                                                          Diagnostics& diagnostics) const;

    QuizSource quiz_;
    std::filesystem::path savePath_;
    std::string origin_; // UTF-8 name of what was opened
    OwnedFolder temporaryMedia_;
    std::vector<Diagnostic> sourceErrors_; // of a source that did not parse
    std::vector<Step> undo_, redo_;
    std::string typingIn_; // the field of the last change, while it is typed in
    int state_ = 0, nextState_ = 1;
    int savedState_ = 0; // the state of the file on disk; -1 when there is none
};

// The index (from 0) of the question a diagnostic field names ("question[3].answer": 2), or
// nothing for a field of the whole quiz.
std::optional<int> questionOfField(const std::string& field);

// Called after each question's media are stored: done and total questions.
using BuildProgress = std::function<void(int done, int total)>;

// The resources of a checked quiz, as buildQuizResources makes them with pictures prepared,
// made a few questions at a time so that `progress` is told and a stop request is heard
// between them. Nothing after a stop request (without errors) or with errors.
std::optional<QuizResources> buildDocumentResources(const QuizSource& quiz,
                                                    Diagnostics& diagnostics, std::stop_token stop,
                                                    const BuildProgress& progress);
