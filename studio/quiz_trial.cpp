#include "studio/quiz_trial.h"

#include "board/board_layout.h"
#include "board/scroll_arithmetic.h"
#include "content/lzw_codec.h"
#include "content/quiz_text.h"
#include "maker/executable_io_win.h"
#include "studio/wide_text.h"
#include "win/process_folders.h"

#include <memory>

namespace {

constexpr const wchar_t* kTrialFolderPrefix = L"plimo-trial-";
constexpr const wchar_t* kTrialExecutable = L"quiz.exe";
// The player's progress file is named after its executable, and written through a fresh file
// beside it first: quiz.txt.<process id>-<n>.new.
constexpr const wchar_t* kTrialProgress = L"quiz.txt";
constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kCloseTimeoutMs = 5000;
constexpr DWORD kPollMs = 50;
constexpr UINT kMessageTimeoutMs = 5000;
// Enough line and wheel steps to cross the tallest board.
constexpr int kMaxScrollSteps = 2000;

bool isTrialFileName(std::wstring_view name) {
    return name == kTrialExecutable || name == kTrialProgress ||
           (name.starts_with(std::wstring(kTrialProgress) + L".") && name.ends_with(L".new"));
}

// Answer fields per question, as the board that the quiz text makes has them.
int fieldsPerQuestion(const QuizResources& resources) {
    std::vector<uint8_t> text;
    // The record is large (its code table alone is 25 KB): keep it off the stack.
    auto record = std::make_unique<QuizRecord>();
    if (!resources.quizText || lzwDecode(*resources.quizText, text) != kLzwOk ||
        parseQuizText(text, *record) != QuizTextStatus::kOk)
        return 1;
    return answerFieldsPerQuestion(*record);
}

struct WindowSearch {
    DWORD processId;
    HWND found = nullptr;
};

// The board is the child dialog that holds the answer fields.
HWND boardOf(HWND window) {
    for (HWND child = FindWindowExW(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExW(window, child, nullptr, nullptr))
        if (GetDlgItem(child, answerFieldId(1)))
            return child;
    return nullptr;
}

BOOL CALLBACK findPlayerWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search.processId || !IsWindowVisible(window) || !boardOf(window))
        return TRUE;
    search.found = window;
    return FALSE;
}

// The player's main window once its board stands, or null when the process ended or never
// showed one.
HWND waitForPlayerWindow(HANDLE process, DWORD processId) {
    WaitForInputIdle(process, kStartTimeoutMs);
    for (DWORD waited = 0; waited < kStartTimeoutMs; waited += kPollMs) {
        WindowSearch search{processId};
        EnumWindows(findPlayerWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        if (WaitForSingleObject(process, kPollMs) != WAIT_TIMEOUT)
            return nullptr;
    }
    return nullptr;
}

LONG topOnScreen(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    return rect.top;
}

// The top of the board's client area on the screen.
LONG clientTopOnScreen(HWND board) {
    POINT origin{0, 0};
    ClientToScreen(board, &origin);
    return origin.y;
}

// The top of a question's row: its picture above its answer field, when it has one.
LONG rowTopOnScreen(HWND board, int question, HWND field) {
    HWND picture = GetDlgItem(board, pictureFieldId(question));
    const LONG top = topOnScreen(field);
    return picture ? std::min(top, topOnScreen(picture)) : top;
}

// Scrolls down as a player does, a line and then a wheel notch at a time, until the question's
// row starts at most a wheel step below the board's top: a line step never takes it above the
// top, nor does a wheel step from there. The player has no request that scrolls to a place.
void scrollToQuestion(HWND board, int question, HWND field) {
    for (int step = 0; step < kMaxScrollSteps; ++step) {
        const LONG before = rowTopOnScreen(board, question, field);
        const LONG below = before - clientTopOnScreen(board) - kWheelStep;
        if (below <= 0)
            return;
        const WPARAM request = below >= kVerticalLineStep ? SB_LINEDOWN : kScrollCodeWheelDown;
        DWORD_PTR ignored;
        SendMessageTimeoutW(board, WM_VSCROLL, request, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                            &ignored);
        if (rowTopOnScreen(board, question, field) == before)
            return; // the board's end
    }
}

// The focus belongs to the player's thread: attached to it for a moment, this one may set it.
void focusField(HWND window, HWND field) {
    const DWORD playerThread = GetWindowThreadProcessId(field, nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    SetForegroundWindow(window);
    if (!AttachThreadInput(ownThread, playerThread, TRUE))
        return;
    SetFocus(field);
    AttachThreadInput(ownThread, playerThread, FALSE);
}

} // namespace

bool QuizTrial::start(const QuizResources& resources, int questionIndex, std::wstring& error) {
    close();
    removeLeftProcessFolders(kTrialFolderPrefix, isTrialFileName);
    folder_ = makeProcessFolder(kTrialFolderPrefix);
    if (folder_.empty()) {
        error = L"Impossible de cr\u00e9er un dossier temporaire pour essayer le quiz.";
        return false;
    }
    const std::wstring executable = folder_ + L"\\" + kTrialExecutable;
    const ExecutableResult written = WindowsExecutableIo().writeQuiz(executable, {}, resources);
    if (!written.ok()) {
        error = L"Impossible d'\u00e9crire le quiz \u00e0 essayer : " + widen(written.message);
        removeFolder();
        return false;
    }
    if (!launch(executable, error)) {
        close();
        return false;
    }
    const int fields = fieldsPerQuestion(resources);
    const int question = questionIndex + 1;
    if (HWND field = GetDlgItem(board_, answerFieldId(fieldIndexOf({question, 1}, fields)))) {
        scrollToQuestion(board_, question, field);
        focusField(playerWindow_, field);
    }
    return true;
}

bool QuizTrial::launch(const std::wstring& executable, std::wstring& error) {
    // The player writes its progress file in the current folder: the try's own.
    std::wstring commandLine = L"\"" + executable + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.c_str(), &startup, &started)) {
        error = L"Impossible de lancer le quiz \u00e0 essayer.";
        return false;
    }
    CloseHandle(started.hThread);
    process_.reset(started.hProcess);
    processId_ = started.dwProcessId;
    playerWindow_ = waitForPlayerWindow(process_.get(), processId_);
    board_ = playerWindow_ ? boardOf(playerWindow_) : nullptr;
    if (!board_) {
        error = L"Le quiz \u00e0 essayer ne s'est pas ouvert.";
        return false;
    }
    return true;
}

void QuizTrial::close() {
    if (process_) {
        if (playerWindow_)
            PostMessageW(playerWindow_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.get(), kCloseTimeoutMs) == WAIT_TIMEOUT) {
            TerminateProcess(process_.get(), 1);
            WaitForSingleObject(process_.get(), kCloseTimeoutMs);
        }
        process_.reset();
    }
    processId_ = 0;
    playerWindow_ = board_ = nullptr;
    removeFolder();
}

// Only the files the try wrote go; the folder stays when anything else is in it.
void QuizTrial::removeFolder() {
    if (folder_.empty())
        return;
    for (const WIN32_FIND_DATAW& entry : entriesMatching(folder_ + L"\\*"))
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            isTrialFileName(entry.cFileName))
            DeleteFileW((folder_ + L"\\" + entry.cFileName).c_str());
    RemoveDirectoryW(folder_.c_str());
    folder_.clear();
}
