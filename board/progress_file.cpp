#include "board/progress_file.h"

#include "board/board_layout.h"
#include "content/platform.h"
#include "win/control_text.h"
#include "win/handles.h"
#include "win/player_state.h"
#include "win/wide_text.h"

#include <cstring>
#include <vector>

namespace {

constexpr const char* kSaveFailedCaption = "Plimo";
// Names tried for the save's temporary file before giving up, each one already taken.
constexpr int kTemporaryNameAttempts = 1000;
// The longest path Windows gives, in UTF-16 units with the terminator.
constexpr DWORD kLongestPath = 32768;

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

bool writeWholeFile(HANDLE file, const std::string& text) {
    DWORD written = 0;
    if (!text.empty() && (!WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr) ||
                          written != text.size()))
        return false;
    return FlushFileBuffers(file) != 0;
}

// A new file beside the progress file, under a name that this call made: whatever already
// bears a name (someone else's file, a link to one) is never opened, let alone replaced.
UniqueFile createTemporaryBeside(const std::wstring& name, std::wstring& temporary) {
    const std::wstring stem = name + L"." + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (int attempt = 1; attempt <= kTemporaryNameAttempts; ++attempt) {
        temporary = stem + std::to_wstring(attempt) + L".new";
        UniqueFile file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            return file;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    temporary.clear();
    return {};
}

enum class ExistingFile { kNone, kProgress, kSomeoneElses, kUnreadable };

// The file of that name is the executable's name with "txt": a quiz renamed notes.exe must not
// cut the player's own notes.txt. Only a file the save could have written is replaced.
ExistingFile inspectExistingFile(const std::wstring& name) {
    const UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ,
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

// Messages name the file in the ANSI code page, where letters outside it show as '?'.
void reportSaveFailure(const std::wstring& name) {
    std::string message = "Impossible d'enregistrer les r\xE9ponses dans le fichier " +
                          narrowText(name, CP_ACP) + ".";
    showMessageBox(message.c_str(), kSaveFailedCaption);
}

void reportSomeoneElsesFile(const std::wstring& name) {
    std::string message = "Le fichier " + narrowText(name, CP_ACP) +
                          " n'a pas \xE9t\xE9 \xE9"
                          "crit par ce plimo : il est laiss\xE9 tel quel"
                          " et les r\xE9ponses ne sont pas enregistr\xE9"
                          "es.";
    showMessageBox(message.c_str(), kSaveFailedCaption);
}

bool replaceWithAnswers(const std::wstring& name, HWND board) {
    // The new answers go to a file of their own first: a save cut short (a full disk, a
    // killed process) must never leave the player with an emptied file.
    std::wstring temporary;
    bool written = false;
    {
        const UniqueFile file = createTemporaryBeside(name, temporary);
        if (!file)
            return false;
        written = writeWholeFile(file.get(), progressText(board));
    }
    if (written && MoveFileExW(temporary.c_str(), name.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

} // namespace

std::wstring progressFileName() {
    // Wide: a quiz renamed with letters outside the ANSI code page keeps its own name.
    std::wstring path(kLongestPath, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), kLongestPath));
    std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    name.resize(name.size() >= 3 ? name.size() - 3 : 0);
    return name + L"txt";
}

void allowProgressSaving(bool allowed) {
    progressSavingAllowed = allowed;
}

bool saveProgress(HWND board) {
    if (!progressSavingAllowed)
        return false;
    const std::wstring name = progressFileName();
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
    : file_(CreateFileW(progressFileName().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
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
