#include "board/progress_file.h"

#include "board/board_layout.h"
#include "content/platform.h"
#include "shell/control_text.h"
#include "shell/main_window.h"
#include "shell/scoped_handles.h"

#include <cstring>

namespace {

constexpr const char* kSaveFailedCaption = "Plimo";

// Every answer field's text with CR LF after it: questionCount x answerFieldCount lines, as
// files written by every version hold, even where the board shows fewer fields.
std::string progressText(HWND board) {
    std::string text;
    const int lines = quizRecord->questionCount * quizRecord->answerFieldCount;
    for (int field = 1; field <= lines; ++field) {
        char answer[kQuizTextSize];
        readControlText(board, answerFieldId(field), answer);
        text += answer;
        text += "\r\n";
    }
    return text;
}

bool writeWholeFile(const std::string& name, const std::string& text) {
    ScopedFile file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return false;
    DWORD written = 0;
    if (!text.empty() &&
        (!WriteFile(file.get(), text.data(), DWORD(text.size()), &written, nullptr) ||
         written != text.size()))
        return false;
    return FlushFileBuffers(file.get()) != 0;
}

void reportSaveFailure(const std::string& name) {
    std::string message = "Impossible d'enregistrer les r\xE9ponses dans le fichier " + name + ".";
    showMessageBox(message.c_str(), kSaveFailedCaption);
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

bool saveProgress(HWND board) {
    const std::string name = progressFileName();
    // The new answers go to a file of their own first: a save cut short (a full disk, a
    // killed process) must never leave the player with an emptied file.
    const std::string temporary = name + ".new";
    if (writeWholeFile(temporary, progressText(board)) &&
        MoveFileExA(temporary.c_str(), name.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    reportSaveFailure(name);
    return false;
}

ProgressRestore::ProgressRestore() {
    file_ = CreateFileA(progressFileName().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
        return;
    const DWORD size = GetFileSize(file_, nullptr);
    if (size == 0 || size == INVALID_FILE_SIZE)
        return; // an empty file cannot be mapped, and holds nothing anyway
    mapping_ = CreateFileMappingA(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping_)
        view_ = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0);
    if (view_)
        reader_ = ProgressLineReader({static_cast<const uint8_t*>(view_), size});
}

ProgressRestore::~ProgressRestore() {
    if (view_)
        UnmapViewOfFile(view_);
    if (mapping_)
        CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
}
