#include "win/process_folders.h"

#include "win/handles.h"

#include <optional>

namespace {

// Names of a folder tried before giving up, each one already taken.
constexpr int kFolderAttempts = 1000;

// The process id of a folder's name, PREFIX<process id>-<n>; none for any other name.
std::optional<DWORD> folderOwner(std::wstring_view name, std::wstring_view prefix) {
    DWORD processId = 0, attempt = 0;
    if (takePrefix(name, prefix) && takeNumber(name, processId) && takePrefix(name, L"-") &&
        takeNumber(name, attempt) && name.empty())
        return processId;
    return std::nullopt;
}

bool isPlainFolder(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void removeLeftFolder(const std::wstring& folder,
                      const std::function<bool(std::wstring_view)>& isOwnFile) {
    const std::vector<WIN32_FIND_DATAW> entries = entriesMatching(folder + L"\\*");
    for (const WIN32_FIND_DATAW& entry : entries)
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
            !isOwnFile(entry.cFileName))
            return;
    for (const WIN32_FIND_DATAW& entry : entries)
        DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
    RemoveDirectoryW(folder.c_str());
}

} // namespace

std::wstring temporaryFolder() {
    wchar_t path[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    return length == 0 || length > MAX_PATH ? L"" : std::wstring(path, length);
}

std::wstring makeProcessFolder(std::wstring_view prefix) {
    const std::wstring temporary = temporaryFolder();
    if (temporary.empty())
        return L"";
    const std::wstring stem =
        temporary + std::wstring(prefix) + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (int attempt = 1; attempt <= kFolderAttempts; ++attempt) {
        std::wstring path = stem + std::to_wstring(attempt);
        if (CreateDirectoryW(path.c_str(), nullptr))
            return path;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return L"";
    }
    return L"";
}

bool takeNumber(std::wstring_view& text, DWORD& value) {
    size_t digits = 0;
    value = 0;
    for (; digits < text.size() && text[digits] >= L'0' && text[digits] <= L'9'; ++digits) {
        const DWORD digit = text[digits] - L'0';
        if (value > (MAXDWORD - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    text.remove_prefix(digits);
    return digits > 0;
}

bool takePrefix(std::wstring_view& text, std::wstring_view prefix) {
    if (!text.starts_with(prefix))
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

std::vector<WIN32_FIND_DATAW> entriesMatching(const std::wstring& pattern) {
    std::vector<WIN32_FIND_DATAW> entries;
    WIN32_FIND_DATAW entry;
    const UniqueFind search(FindFirstFileW(pattern.c_str(), &entry));
    for (bool found = bool(search); found; found = FindNextFileW(search.get(), &entry))
        if (std::wstring_view(entry.cFileName) != L"." &&
            std::wstring_view(entry.cFileName) != L"..")
            entries.push_back(entry);
    return entries;
}

void removeLeftProcessFolders(std::wstring_view prefix,
                              const std::function<bool(std::wstring_view)>& isOwnFile) {
    const std::wstring temporary = temporaryFolder();
    if (temporary.empty())
        return;
    for (const WIN32_FIND_DATAW& entry : entriesMatching(temporary + std::wstring(prefix) + L"*")) {
        const std::optional<DWORD> owner = folderOwner(entry.cFileName, prefix);
        if (isPlainFolder(entry) && owner && !processRuns(*owner))
            removeLeftFolder(temporary + entry.cFileName, isOwnFile);
    }
}

bool processRuns(DWORD processId) {
    const UniqueKernelObject process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}
