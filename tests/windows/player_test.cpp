// The built player as a player starts it: its own process, its own main window.
#include "board/board_layout.h"
#include "resources/quiz_resource_ids.h"
#include "resources/resource_ids.h"
#include "shell/header_pane.h"
#include "shell/main_window.h"
#include "tests/windows/test_files.h"

#include <gtest/gtest.h>

namespace {

// The first visible top-level window of `processId` with that class, or null.
HWND findProcessWindow(DWORD processId, const char* windowClass) {
    struct Search {
        DWORD processId;
        const char* windowClass;
        HWND found;
    } search{processId, windowClass, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* search = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char name[64] = "";
            GetClassNameA(window, name, sizeof name);
            if (owner == search->processId && strcmp(name, search->windowClass) == 0 &&
                IsWindowVisible(window)) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The dialog child of `window` (the header pane or the board) that holds control `id`.
HWND childDialogWith(HWND window, int id) {
    for (HWND child = FindWindowExA(window, nullptr, "#32770", nullptr); child;
         child = FindWindowExA(window, child, "#32770", nullptr))
        if (GetDlgItem(child, id))
            return child;
    return nullptr;
}

class RunningPlayer {
  public:
    explicit RunningPlayer(const std::string& folder,
                           const std::string& executable = executableFolder() + "plimo.exe")
        : child_(startProcess("\"" + executable + "\"", 0, folder.c_str())) {}
    // A test that failed half-way leaves no player running.
    ~RunningPlayer() {
        if (child_.process && WaitForSingleObject(child_.process.get(), 0) == WAIT_TIMEOUT)
            TerminateProcess(child_.process.get(), 99);
    }
    RunningPlayer(const RunningPlayer&) = delete;
    RunningPlayer& operator=(const RunningPlayer&) = delete;

    bool started() const { return bool(child_.process); }

    // The process's window of that class, once it exists (waits up to 15 seconds).
    HWND waitForWindow(const char* windowClass) {
        for (int attempt = 0; attempt < 150; ++attempt) {
            if (HWND found = findProcessWindow(child_.id, windowClass))
                return found;
            Sleep(100);
        }
        return nullptr;
    }

    // The process's main window, once start-up is over.
    HWND waitForMainWindow() {
        HWND window = waitForWindow(kMainWindowClass);
        // Visible comes before the first layout: wait until start-up is over.
        if (window)
            WaitForInputIdle(child_.process.get(), 10000);
        return window;
    }

    // The exit code, or STILL_ACTIVE when the process has not ended within 15 seconds.
    DWORD waitForExit() {
        WaitForSingleObject(child_.process.get(), 15000);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(child_.process.get(), &code);
        return code;
    }

  private:
    ChildProcess child_;
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

TEST(Player, AQuizThatCannotBeReadNeverSavesOverTheAnswers) {
    TemporaryFolder folder;
    const std::string quiz = folder.file("quiz.exe");
    ASSERT_TRUE(CopyFileA((executableFolder() + "plimo.exe").c_str(), quiz.c_str(), FALSE));
    // A quiz text that stops before its end code.
    ASSERT_TRUE(writePatchResources(quiz, {{IDR_QUIZ_TEXT, {0x30, 0xC0}}}));
    const std::string answers = "Paris\r\nRome\r\nBerlin\r\nMadrid\r\n";
    writeFileText(folder.file("quiz.txt"), answers);

    RunningPlayer player(folder.path(), quiz);
    ASSERT_TRUE(player.started()) << "error " << GetLastError();
    HWND box = player.waitForWindow("#32770");
    ASSERT_NE(box, nullptr) << "the loader told nothing";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND window = player.waitForMainWindow();
    ASSERT_NE(window, nullptr);

    // F2 in an answer field, the save button, then closing: none of them writes.
    HWND header = childDialogWith(window, kSaveButtonId);
    HWND field = GetDlgItem(childDialogWith(window, IDC_ANSWER_BASE + 1), IDC_ANSWER_BASE + 1);
    ASSERT_NE(header, nullptr);
    ASSERT_NE(field, nullptr);
    SendMessageA(field, WM_KEYUP, VK_F2, 0xC0000001);
    SendMessageA(header, WM_COMMAND, kSaveButtonId, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(player.waitForExit(), 0u);
    EXPECT_EQ(readFileText(folder.file("quiz.txt")), answers);
    EXPECT_EQ(GetFileAttributesA(folder.file("quiz.txt.new").c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
