#include "tests/windows/test_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

std::string readFileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

void writeFileText(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

HWND createTestWindow(const char* title, int x, int y, int width, int height) {
    static const char* const kClass = "PlimoTestWindow";
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClass;
        return RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
    return CreateWindowExA(0, kClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
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

std::string executableFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

TemporaryFolder::TemporaryFolder() {
    static int counter = 0;
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    // Wine reuses process ids: a folder left by an earlier, killed run may hold the name.
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = std::string(base) + "plimo-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    ADD_FAILURE() << "cannot create " << path_ << ", error " << GetLastError();
}

TemporaryFolder::~TemporaryFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA(file(found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

QuizModule::QuizModule(const std::string& fixture, const Resources& patches) {
    const std::string path = folder_.file("quiz.dll");
    if (!CopyFileA((executableFolder() + fixture).c_str(), path.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy " << fixture << ", error " << GetLastError();
        return;
    }
    // Wine's UpdateResource cannot write a resource of size 0: such cases use a fixture.
    if (!patches.empty() && !writePatchResources(path, patches))
        return;
    module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(module_, nullptr) << "cannot load " << path << ", error " << GetLastError();
}

bool writePatchResources(const std::string& path,
                         const std::map<int, std::vector<uint8_t>>& patches) {
    HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
    if (!update) {
        ADD_FAILURE() << "BeginUpdateResource, error " << GetLastError();
        return false;
    }
    for (const auto& [id, bytes] : patches) {
        if (!UpdateResourceA(update, "PATCH", MAKEINTRESOURCEA(id),
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                             const_cast<uint8_t*>(bytes.data()), DWORD(bytes.size()))) {
            ADD_FAILURE() << "UpdateResource " << id << ", error " << GetLastError();
            EndUpdateResourceA(update, TRUE);
            return false;
        }
    }
    if (!EndUpdateResourceA(update, FALSE)) {
        ADD_FAILURE() << "EndUpdateResource, error " << GetLastError();
        return false;
    }
    return true;
}

QuizModule::~QuizModule() {
    if (module_)
        FreeLibrary(module_);
}
