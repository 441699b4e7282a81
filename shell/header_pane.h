// The strip across the top of the main window: score and code, title and explanation, the
// "Sauver" button, the link to the maker's web site and the quiz's creator.
#pragma once

#include <windows.h>

// Shown as the link's text and opened when the link is clicked: the shell takes a "www."
// address for a web address, and the short form fits the link's 115 pixels.
inline constexpr const char* kMakerWebAddress = "www.plimo.example";

inline constexpr int kLinkId = 24;
inline constexpr int kByLabelId = 25;
inline constexpr int kCreatorId = 26;
inline constexpr int kSaveButtonId = 27;
inline constexpr int kExplanationId = 28;
inline constexpr int kTitleId = 29;
inline constexpr int kCodeLabelId = 31;
inline constexpr int kScoreRuleId = 120;
inline constexpr int kLeftRuleId = 121;
inline constexpr int kRightRuleId = 122;
inline constexpr COLORREF kHeaderColour = RGB(128, 128, 255);
inline constexpr COLORREF kLinkColour = RGB(50, 50, 255);
inline constexpr int kLinkCursorId = 1003;

INT_PTR CALLBACK headerPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);

// Underlined font sized from the control's height, and the hand cursor on its class.
void styleLink(HWND link);
