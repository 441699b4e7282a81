// The progress file: the typed answers, kept between runs beside the quiz.
#pragma once

#include "board/progress_lines.h"

#include <windows.h>

#include <string>

// The executable's own file name (no folder) with its last three characters replaced by
// "txt": plimo.exe gives plimo.txt. It lies in the current folder.
std::string progressFileName();

// Writes one line per answer field of the board. The old file is replaced only once the new
// one is whole on disk; when that fails the player is told and the old file stays as it was.
// Returns false on failure.
bool saveProgress(HWND board);

// The saved answers, read while the board is built. A missing, empty or unreadable file gives
// empty lines.
class ProgressRestore {
  public:
    ProgressRestore();
    ~ProgressRestore();
    ProgressRestore(const ProgressRestore&) = delete;
    ProgressRestore& operator=(const ProgressRestore&) = delete;

    void nextLine(char (&text)[kQuizTextSize]) { reader_.nextLine(text); }

  private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE mapping_ = nullptr;
    const void* view_ = nullptr;
    ProgressLineReader reader_;
};
