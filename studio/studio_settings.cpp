#include "studio/studio_settings.h"

#include "maker/file_io.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kSection = L"studio";

int readNumber(const std::filesystem::path& file, const wchar_t* key) {
    return static_cast<int>(GetPrivateProfileIntW(kSection, key, 0, file.c_str()));
}

void writeText(const std::filesystem::path& file, const wchar_t* key, const std::wstring& value) {
    WritePrivateProfileStringW(kSection, key, value.c_str(), file.c_str());
}

// The studio's own folder in one of the user's known folders; empty when there is none.
std::filesystem::path plimoFolderIn(int knownFolder) {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, knownFolder, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return std::filesystem::path(folder) / L"plimo";
}

// The profile functions write a file that starts with the UTF-16 byte order mark in UTF-16,
// any other in the ANSI code page, which loses a folder named in another script: the file is
// started afresh with the mark when it has none. Every key is written again after it.
void startUnicodeFile(const std::filesystem::path& file) {
    static constexpr uint8_t kByteOrderMark[] = {0xFF, 0xFE};
    std::vector<uint8_t> head;
    std::string reason;
    if (readFileHead(file, 2, head, reason) && std::ranges::equal(head, kByteOrderMark))
        return;
    replaceWholeFile(file, kByteOrderMark, reason);
}

} // namespace

std::filesystem::path defaultSettingsFile() {
    const std::filesystem::path roaming = plimoFolderIn(CSIDL_APPDATA);
    return roaming.empty() ? roaming : roaming / L"studio.ini";
}

std::filesystem::path defaultRecoveryFolder() {
    const std::filesystem::path local = plimoFolderIn(CSIDL_LOCAL_APPDATA);
    return local.empty() ? local : local / L"recovery";
}

StudioSettings loadSettings(const std::filesystem::path& file) {
    StudioSettings settings;
    if (file.empty())
        return settings;
    settings.place = {readNumber(file, L"left"), readNumber(file, L"top"),
                      readNumber(file, L"right"), readNumber(file, L"bottom")};
    settings.maximized = readNumber(file, L"maximized") != 0;
    wchar_t folder[MAX_PATH * 4] = {};
    GetPrivateProfileStringW(kSection, L"folder", L"", folder, MAX_PATH * 4, file.c_str());
    settings.lastFolder = folder;
    return settings;
}

void saveSettings(const std::filesystem::path& file, const StudioSettings& settings) {
    if (file.empty())
        return;
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    startUnicodeFile(file);
    const std::pair<const wchar_t*, LONG> numbers[] = {{L"left", settings.place.left},
                                                       {L"top", settings.place.top},
                                                       {L"right", settings.place.right},
                                                       {L"bottom", settings.place.bottom},
                                                       {L"maximized", settings.maximized}};
    for (auto [key, value] : numbers)
        writeText(file, key, std::to_wstring(value));
    writeText(file, L"folder", settings.lastFolder.wstring());
}
