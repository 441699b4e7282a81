#include "board/progress_file.h"

#include "board/board_layout.h"
#include "content/platform.h"
#include "win/control_text.h"
#include "win/handles.h"
#include "win/player_state.h"

#include <cstring>
#include <vector>

namespace {

constexpr const char* kSaveFailedCaption = "Plimo";

// Cleared when start-up found no readable quiz: the board's fields then hold nothing of the
// player's, and saving them would empty the answers kept from an earlier run.
bool progressSavingAllowed = true;

int progressLineCount() {
    return quizRecord->questionCount * quizRecord->answerFieldCount;
}

// Every answer field's text with CR LF after it: questionCount x answerFieldCount lines, as
// files written by every version hold, even where the board shows fewer fields.
std::string progressText(HWND board) {
    std::string text;
    const int lines = progressLineCount();
    for (int field = 1; field <= lines; ++field) {
        char answer[kQuizTextSize];
        readControlText(board, answerFieldId(field), answer);
        text += answer;
        text += "\r\n";
    }
    return text;
}

bool writeWholeFile(const std::string& name, const std::string& text) {
    const UniqueFile file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    if (!text.empty() &&
        (!WriteFile(file.get(), text.data(), DWORD(text.size()), &written, nullptr) ||
         written != text.size()))
        return false;
    return FlushFileBuffers(file.get()) != 0;
}

enum class ExistingFile { kNone, kProgress, kSomeoneElses, kUnreadable };

// The file of that name is the executable's name with "txt": a quiz renamed notes.exe must not
// cut the player's own notes.txt. Only a file the save could have written is replaced.
ExistingFile inspectExistingFile(const std::string& name) {
    const UniqueFile file(CreateFileA(name.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? ExistingFile::kNone
                   : ExistingFile::kUnreadable;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return ExistingFile::kUnreadable;
    if (uint64_t(size.QuadPart) > progressTextSizeLimit(progressLineCount()))
        return ExistingFile::kSomeoneElses;
    std::vector<uint8_t> bytes(size_t(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        return ExistingFile::kUnreadable;
    return couldBeProgressText(bytes, progressLineCount()) ? ExistingFile::kProgress
                                                           : ExistingFile::kSomeoneElses;
}

void reportSaveFailure(const std::string& name) {
    std::string message = "Impossible d'enregistrer les r\xE9ponses dans le fichier " + name + ".";
    showMessageBox(message.c_str(), kSaveFailedCaption);
}

void reportSomeoneElsesFile(const std::string& name) {
    std::string message = "Le fichier " + name +
                          " n'a pas \xE9t\xE9 \xE9"
                          "crit par ce plimo : il est laiss\xE9 tel quel"
                          " et les r\xE9ponses ne sont pas enregistr\xE9"
                          "es.";
    showMessageBox(message.c_str(), kSaveFailedCaption);
}

bool replaceWithAnswers(const std::string& name, HWND board) {
    // The new answers go to a file of their own first: a save cut short (a full disk, a
    // killed process) must never leave the player with an emptied file.
    const std::string temporary = name + ".new";
    if (writeWholeFile(temporary, progressText(board)) &&
        MoveFileExA(temporary.c_str(), name.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

} // namespace

std::string progressFileName() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path);
    name = name.substr(name.find_last_of("\\/") + 1);
    name.resize(name.size() >= 3 ? name.size() - 3 : 0);
    return name + "txt";
}

void allowProgressSaving(bool allowed) {
    progressSavingAllowed = allowed;
}

bool saveProgress(HWND board) {
    if (!progressSavingAllowed)
        return false;
    const std::string name = progressFileName();
    switch (inspectExistingFile(name)) {
    case ExistingFile::kSomeoneElses:
        reportSomeoneElsesFile(name);
        return false;
    case ExistingFile::kUnreadable:
        reportSaveFailure(name);
        return false;
    default:
        break;
    }
    if (replaceWithAnswers(name, board))
        return true;
    reportSaveFailure(name);
    return false;
}

ProgressRestore::ProgressRestore()
    : file_(CreateFileA(progressFileName().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!file_)
        return;
    const DWORD size = GetFileSize(file_.get(), nullptr);
    if (size == 0 || size == INVALID_FILE_SIZE)
        return; // an empty file cannot be mapped, and holds nothing anyway
    mapping_.reset(CreateFileMappingA(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (mapping_)
        view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0));
    if (view_)
        reader_ = ProgressLineReader({static_cast<const uint8_t*>(view_.get()), size});
}
