// The studio's main window: a quiz being made, its questions, its checks, saving and building.
#pragma once

#include "studio/studio_dialogs.h"

#include <windows.h>

#include <filesystem>

constexpr const wchar_t* kStudioWindowClass = L"PlimoStudio";

// Makes and shows the main window. Its place and last folder are read from and written to
// `settingsFile` (empty: nothing is remembered). The quiz is kept in `recoveryFolder` a moment
// after each change until it is saved, and what a studio ended without saving left there is
// offered back at start (empty: nothing is kept). Null when the window cannot be made.
HWND createStudioWindow(StudioDialogs& dialogs, const std::filesystem::path& settingsFile,
                        const std::filesystem::path& recoveryFolder, int show);

// Opens a folder, a quiz.toml or a quiz .exe in the window, as dropping it does; false when it
// was not opened (refused, or the author kept the quiz he had).
bool openInStudio(HWND window, const std::filesystem::path& path);

// Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+Shift+S, Alt+Up, Alt+Down, Ctrl+Z and Ctrl+Y (undo, redo),
// Ctrl+L and Ctrl+R (turn the picture left, right), F5 (try the quiz); the caller destroys it.
HACCEL createStudioAccelerators();
