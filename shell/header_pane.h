// The strip across the top of the main window: score and code, title and explanation, the
// "Sauver" button, the link to the maker's web site and the quiz's creator.
#pragma once

#include "resources/resource_ids.h"

#include <windows.h>

// Shown as the link's text and opened when the link is clicked: the shell takes a "www."
// address for a web address, and the short form fits the link's 115 pixels.
inline constexpr const char* kMakerWebAddress = "www.plimo.example";

inline constexpr COLORREF kHeaderColour = RGB(128, 128, 255);
inline constexpr COLORREF kLinkColour = RGB(50, 50, 255);

INT_PTR CALLBACK headerPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);

// Underlined font sized from the control's height, and the hand cursor on its class.
void styleLink(HWND link);
