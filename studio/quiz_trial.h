// Trying the quiz being edited (F5): built into a private folder under the temporary folder and
// played there, open at the question the author is on, without a file name asked for. The
// player keeps its progress file beside itself, so that file goes with the folder; nothing of
// the author's is written or removed.
#pragma once

#include "maker/quiz_resources.h"
#include "win/handles.h"

#include <windows.h>

#include <string>

class QuizTrial {
  public:
    QuizTrial() = default;
    ~QuizTrial() { close(); }
    QuizTrial(const QuizTrial&) = delete;
    QuizTrial& operator=(const QuizTrial&) = delete;

    // Closes the try still open, then writes the quiz and starts it with question
    // `questionIndex` (from 0) brought into view and its first answer field focused. False with
    // a message for the author when the quiz cannot be written or started; nothing is left.
    bool start(const QuizResources& resources, int questionIndex, std::wstring& error);
    // Closes the player (ended when it does not close by itself) and removes its folder.
    void close();

    DWORD processId() const { return processId_; }
    // The player's main window and its board; null once closed.
    HWND playerWindow() const { return playerWindow_; }
    HWND board() const { return board_; }
    // The folder the try runs in; empty once closed.
    const std::wstring& folder() const { return folder_; }

  private:
    bool launch(const std::wstring& executable, std::wstring& error);
    void removeFolder();

    std::wstring folder_;
    UniqueKernelObject process_;
    DWORD processId_ = 0;
    HWND playerWindow_ = nullptr;
    HWND board_ = nullptr;
};
