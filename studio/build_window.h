// Building a quiz executable: pictures prepared on a worker thread while a small window shows
// the progress and offers to cancel, then to play the quiz or show its folder.
#pragma once

#include "maker/quiz_source.h"

#include <windows.h>

#include <filesystem>

// Opens the build window over `owner` and starts building `quiz` into `output`. Null when the
// window cannot be made.
HWND startBuild(HWND owner, QuizSource quiz, std::filesystem::path output);

// Opens the build window over `owner` and prepares `quiz` for a try: once it is ready, `owner`
// is sent kTrialReady with the resources, which it then owns, and the window closes.
HWND startTrialBuild(HWND owner, QuizSource quiz);

// The class of the build window, for finding it.
constexpr const wchar_t* kBuildWindowClass = L"PlimoStudioBuild";
