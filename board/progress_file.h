// The progress file: the typed answers, kept between runs in the current folder.
#pragma once

#include "board/progress_lines.h"
#include "win/handles.h"

#include <windows.h>

#include <string>

// The executable's own file name (no folder) with its last three characters replaced by
// "txt": plimo.exe gives plimo.txt. It lies in the current folder. The name is the file
// system's own (UTF-16); the contents are the answer fields' ANSI bytes.
std::wstring progressFileName();

// Writes one line per answer field of the board. The old file is replaced only once the new
// one is whole on disk, and only when the save could have written it; otherwise the player is
// told and the old file stays as it was. Returns false when nothing was written.
bool saveProgress(HWND board);

// Start-up allows saving only when the board shows a quiz that could be read; while it is not
// allowed, saveProgress writes nothing and says nothing.
void allowProgressSaving(bool allowed);

// The saved answers, read while the board is built. A missing, empty or unreadable file gives
// empty lines.
class ProgressRestore {
  public:
    ProgressRestore();

    void nextLine(char (&text)[kQuizTextSize]) { reader_.nextLine(text); }

  private:
    // Released in the reverse order: the view, its mapping, the file.
    UniqueFile file_;
    UniqueKernelObject mapping_;
    UniqueMappedView view_;
    ProgressLineReader reader_;
};
