#include "tests/windows/support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

std::string readFileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void writeFileText(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string textOfControl(HWND dialog, int id) {
    char text[300] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::vector<int> placeOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// A plain static window is parent enough: the panes' notifications to it are dropped.
HWND createTestWindow(int width, int height) {
    return CreateWindowExA(0, "Static", "test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width,
                           height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

ChildProcess startProcess(std::string command, DWORD flags, const char* folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, flags, nullptr, folder,
                        &startup, &started))
        return {};
    return {UniqueKernelObject(started.hProcess), UniqueKernelObject(started.hThread),
            started.dwProcessId};
}

DWORD exitCodeOf(const ChildProcess& child) {
    WaitForSingleObject(child.process.get(), 60000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(child.process.get(), &code);
    return code;
}

std::string executableFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

TemporaryFolder::TemporaryFolder(bool enter) {
    static int counter = 0;
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    // Wine reuses process ids: a folder left by an earlier, killed run may hold the name.
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        std::string path = std::string(base) + "plimo-test-" +
                           std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
        if (CreateDirectoryA(path.c_str(), nullptr))
            path_ = path;
    }
    EXPECT_FALSE(path_.empty()) << "no temporary folder, error " << GetLastError();
    if (enter) {
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, current);
        previous_ = current;
        SetCurrentDirectoryA(path_.c_str());
    }
}

TemporaryFolder::~TemporaryFolder() {
    if (!previous_.empty())
        SetCurrentDirectoryA(previous_.c_str());
    for (const std::string& name : filesIn(path_))
        DeleteFileA(file(name).c_str());
    RemoveDirectoryA(path_.c_str());
}

namespace {

thread_local MessageBoxCapture* activeCapture = nullptr;

std::string windowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string className(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

} // namespace

MessageBoxCapture::MessageBoxCapture() : previous_(activeCapture) {
    activeCapture = this;
    hook_ = SetWindowsHookExA(WH_CBT, onCbtEvent, nullptr, GetCurrentThreadId());
}

MessageBoxCapture::~MessageBoxCapture() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    activeCapture = previous_;
}

LRESULT CALLBACK MessageBoxCapture::onCbtEvent(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    // A box is activated again when a box opened over it closes: it is recorded once.
    if (code == HCBT_ACTIVATE && activeCapture && className(window) == "#32770" &&
        activeCapture->open_.insert(window).second)
        activeCapture->record(window);
    if (code == HCBT_DESTROYWND && activeCapture)
        activeCapture->open_.erase(window);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxCapture::record(HWND box) {
    CapturedBox captured;
    captured.caption = windowText(box);
    captured.hasOwner = GetWindow(box, GW_OWNER) != nullptr;
    captured.overAnotherBox = open_.size() > 1;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM data) -> BOOL {
            auto* captured = reinterpret_cast<CapturedBox*>(data);
            if (className(child) == "Static" && !windowText(child).empty())
                captured->text = windowText(child);
            else if (className(child) == "Button")
                ++captured->buttonCount;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&captured));
    boxes_.push_back(captured);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    if (onEachBox)
        onEachBox(captured);
}
