// Start-up, the main window and the message loop.
#pragma once

#include "resources/version.h"
#include "win/player_state.h"

#include <windows.h>

inline constexpr const char* kMainWindowClass = "WindowsApp";
inline constexpr int kStatusLineId = 8000;
inline constexpr const char* kStatusLineText = "R\xE9"
                                               "alis\xE9 avec la version " PLIMO_VERSION "  ";
inline constexpr COLORREF kAppBackgroundColour = RGB(212, 208, 200);
inline constexpr int kMainWindowWidth = 544;
inline constexpr int kMainWindowHeight = 375;

// Runs the whole program: start-up, the message loop and shut-down. Returns the quit code.
int runPlayer(HINSTANCE instance);

// Start-up up to the message loop: the record, the quiz, the main window and both panes.
// Returns the main window, or null when none could be made: nothing is then left behind.
HWND startPlayer(HINSTANCE instance);

// Shut-down after the loop: windows, media, brushes and the record, in that order.
void shutdownPlayer(HINSTANCE instance, HWND mainWindow);

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
