// The built player as a player starts it: its own process, its own main window.
#include "shell/main_window.h"
#include "tests/windows/test_files.h"

#include <gtest/gtest.h>

namespace {

class RunningPlayer {
  public:
    explicit RunningPlayer(const std::string& folder) {
        std::string command = "\"" + executableFolder() + "plimo.exe\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  folder.c_str(), &startup, &process_);
    }
    ~RunningPlayer() {
        if (!started_)
            return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    bool started() const { return started_; }

    // The process's main window, once it exists (waits up to 15 seconds).
    HWND waitForMainWindow() {
        for (int attempt = 0; attempt < 150; ++attempt) {
            struct Search {
                DWORD processId;
                HWND found;
            } search{process_.dwProcessId, nullptr};
            EnumWindows(
                [](HWND window, LPARAM data) -> BOOL {
                    auto* search = reinterpret_cast<Search*>(data);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    char name[64] = "";
                    GetClassNameA(window, name, sizeof name);
                    if (owner == search->processId && strcmp(name, kMainWindowClass) == 0 &&
                        IsWindowVisible(window)) {
                        search->found = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                // Visible comes before the first layout: wait until start-up is over.
                WaitForInputIdle(process_.hProcess, 10000);
                return search.found;
            }
            Sleep(100);
        }
        return nullptr;
    }

    // The exit code, or STILL_ACTIVE when the process has not ended within 15 seconds.
    DWORD waitForExit() {
        WaitForSingleObject(process_.hProcess, 15000);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

std::string textOf(HWND window) {
    char text[300] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST(Player, OpensTheDefaultQuizCentredAndClosesCleanly) {
    TemporaryFolder folder;
    RunningPlayer player(folder.path());
    ASSERT_TRUE(player.started()) << "error " << GetLastError();
    HWND window = player.waitForMainWindow();
    ASSERT_NE(window, nullptr) << "no main window appeared";

    EXPECT_EQ(textOf(window), "Nom du plimo");
    RECT frame, desktop;
    GetWindowRect(window, &frame);
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(frame.right - frame.left, kMainWindowWidth);
    EXPECT_EQ(frame.bottom - frame.top, kMainWindowHeight);
    EXPECT_NEAR(frame.left - desktop.left, desktop.right - frame.right, 1);
    EXPECT_NEAR(frame.top - desktop.top, desktop.bottom - frame.bottom, 1);

    HWND status = GetDlgItem(window, kStatusLineId);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(textOf(status), "R\xE9"
                              "alis\xE9 avec la version 2.1.3  ");
    RECT client, line;
    GetClientRect(window, &client);
    GetWindowRect(status, &line);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&line), 2);
    EXPECT_EQ(line.left, client.right - 145);
    EXPECT_EQ(line.top, client.bottom - 16);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(player.waitForExit(), 0u);
}

} // namespace
