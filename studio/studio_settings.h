// What the studio remembers between sessions: where its window was and the last folder used,
// in a file of its own under %APPDATA%\plimo.
#pragma once

#include <windows.h>

#include <filesystem>

struct StudioSettings {
    RECT place{}; // empty: Windows chooses
    bool maximized = false;
    std::filesystem::path lastFolder;
};

// %APPDATA%\plimo\studio.ini; empty when there is no such folder.
std::filesystem::path defaultSettingsFile();
// %LOCALAPPDATA%\plimo\recovery, where the quiz being edited is kept until it is saved;
// empty when there is no such folder.
std::filesystem::path defaultRecoveryFolder();
StudioSettings loadSettings(const std::filesystem::path& file);
void saveSettings(const std::filesystem::path& file, const StudioSettings& settings);
