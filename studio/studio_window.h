// The studio's main window: a quiz being made, its questions, its checks, saving and building.
#pragma once

#include "studio/studio_dialogs.h"

#include <windows.h>

#include <filesystem>

constexpr const wchar_t* kStudioWindowClass = L"PlimoStudio";

// Makes and shows the main window. Its place and last folder are read from and written to
// `settingsFile` (empty: nothing is remembered). Null when the window cannot be made.
HWND createStudioWindow(StudioDialogs& dialogs, const std::filesystem::path& settingsFile,
                        int show);

// Opens a folder, a quiz.toml or a quiz .exe in the window, as dropping it does; false when it
// was not opened (refused, or the author kept the quiz he had).
bool openInStudio(HWND window, const std::filesystem::path& path);

// Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+Shift+S, Alt+Up and Alt+Down; the caller destroys it.
HACCEL createStudioAccelerators();
