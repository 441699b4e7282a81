// Clips of sound and video quizzes in the real media player control under Wine, on a real
// board built by the board's own dialog procedure, from an empty current folder of its own.
// The clips are the IMG resources of test_clips.rc: questions 8 and 9 have sounds, 10 and 11
// videos. The test runner gives Wine a null ALSA device, without which Wine's play crashes.
#include "board/board_dialog.h"
#include "board/board_layout.h"
#include "media/media_player.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "tests/windows/support.h"
#include "win/player_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

namespace {

using Steps = std::vector<std::string>;

// Whether the control plays: its position moves on. Wine's control answers E_NOTIMPL to
// get_playState, and reports no position at all once stopped.
bool controlPlays() {
    const double before = mediaPositionForTesting();
    for (const DWORD end = GetTickCount() + 300; int(end - GetTickCount()) > 0; Sleep(20))
        pumpMessages();
    return before >= 0 && mediaPositionForTesting() > before;
}

Steps steps;

class Media : public testing::Test {
  protected:
    void SetUp() override {
        steps.clear();
        observeMediaStepsForTesting([](const std::string& step) { steps.push_back(step); });
    }
    void TearDown() override {
        if (quizRecord == &record)
            shutDown();
        observeMediaStepsForTesting(nullptr);
        simulateMissingMediaControlForTesting(false);
        replaceShellOpenForTesting(nullptr);
    }

    // Start-up as the player does it: media support, then a main window and the board in it.
    void start(int mediaKind) {
        record.mediaKind = mediaKind; // one answer field, as a record starts
        record.questionCount = 12;
        for (int question = 1; question <= 12; ++question)
            addQuestion(record, "reponse", "", "question");
        quizRecord = &record;
        startMedia();
        mainWindow = createTestWindow(900, 600);
        board = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_BOARD), mainWindow,
                                   boardDialogProc, 0);
        ASSERT_NE(board, nullptr);
        pumpMessages();
    }
    void shutDown() {
        shutdownMedia(mainWindow); // a sound or video quiz's shut-down destroys the window
        quizRecord = nullptr;
    }
    void press(int id, WORD notification = BN_CLICKED) {
        SendMessageA(board, WM_COMMAND, MAKEWPARAM(id, notification),
                     LPARAM(GetDlgItem(board, id)));
        pumpMessages();
    }
    // The run's clip folder, as the first clip written names it.
    static std::string clipFolder() {
        for (const std::string& step : steps)
            if (step.starts_with("write "))
                return step.substr(6, step.find_last_of('\\') - 6);
        return "";
    }
    static std::string clip(int question, const char* extension = "mp3") {
        return clipFolder() + "\\plimo" + std::to_string(question) + "." + extension;
    }

    TemporaryFolder folder{true};
    QuizRecord record;
    HWND mainWindow = nullptr, board = nullptr;
};

TEST_F(Media, SoundClipsPlayFromAFolderOfTheRunsOwnAndAreDeletedInOrder) {
    // A file of a clip's name in the current folder, and clip folders left by earlier runs that
    // were killed. Start-up removes only the folder of a process that is gone (no process has
    // the id 4294967292 here) and that holds nothing but clip files. The first is the folder
    // that this process would try first for its own clips.
    writeFileContent("plimo8.mp3", "the player's own file");
    const std::filesystem::path temporary = std::filesystem::temp_directory_path();
    const std::string leftBehind = "plimo-" + std::to_string(GetCurrentProcessId()) + "-1";
    const struct {
        std::string name;
        std::set<std::string> files;
        bool removed;
    } leftFolders[] = {
        {leftBehind, {"plimo8.mp3"}, false},
        {"plimo-4294967292-1", {"plimo3.mp3", "plimo12.avi"}, true},
        {"plimo-4294967292-2", {"plimo3.mp3", "notes.txt"}, false},
        {"plimo-4294967292", {"plimo3.mp3"}, false},
    };
    for (const auto& left : leftFolders) {
        std::filesystem::create_directory(temporary / left.name);
        for (const std::string& file : left.files)
            writeFileContent(temporary / left.name / file, "left behind");
    }
    start(kMediaSound);
    for (const auto& left : leftFolders) {
        const std::filesystem::path path = temporary / left.name;
        EXPECT_EQ(left.removed ? std::set<std::string>() : left.files,
                  std::filesystem::exists(path) ? filesIn(path.string()) : std::set<std::string>())
            << left.name;
    }
    HWND host = GetDlgItem(board, IDC_PLAYER_HOST);
    ASSERT_TRUE(host && stopIcon());
    // Play and stop buttons share one branch: a stop button with the stop icon pins both.
    EXPECT_EQ(SendDlgItemMessageA(board, IDC_STOP_BASE + 1, BM_GETIMAGE, IMAGE_ICON, 0),
              LRESULT(stopIcon()));
    // Only a click plays: the whole wParam is compared.
    press(IDC_PLAY_BASE + 8, 1);
    EXPECT_TRUE(steps.empty());

    press(IDC_PLAY_BASE + 8);
    const std::string folderOfClips = clipFolder();
    const std::string firstTried = (temporary / leftBehind).string();
    EXPECT_TRUE(folderOfClips.starts_with(firstTried.substr(0, firstTried.size() - 1)));
    EXPECT_NE(folderOfClips, firstTried);
    EXPECT_EQ(readFileContent(clip(8)),
              readFileContent(PLIMO_SOURCE_DIR "/tests/windows/clips/vache.mp3"));
    EXPECT_TRUE(controlPlays());
    press(IDC_STOP_BASE + 8, 1); // neither another notification on stop nor Enter's IDOK stops
    press(IDOK);
    EXPECT_TRUE(controlPlays());
    const double playedFor = mediaPositionForTesting();
    steps.clear();
    press(IDC_PLAY_BASE + 8);
    EXPECT_LT(mediaPositionForTesting(), playedFor) << "from the start again";
    press(IDC_PLAY_BASE + 9);
    press(IDC_STOP_BASE + 1); // any stop button stops the clip that plays
    EXPECT_FALSE(controlPlays());
    // The control lets go of a clip before its file is written again or deleted: on Windows a
    // stopped control keeps it open until close. Wine's stop lets go already.
    EXPECT_EQ(steps, Steps({"stop", "close", "delete " + clip(8), "write " + clip(8), "stop",
                            "close", "delete " + clip(8), "write " + clip(9), "stop", "close",
                            "delete " + clip(9)}));
    MessageBoxCapture capture;
    press(IDC_PLAY_BASE + 8);
    press(IDC_PLAY_BASE + 12); // no clip: the one before stops all the same, and nothing is said
    EXPECT_TRUE(capture.boxes().empty());
    EXPECT_FALSE(fileExists(clip(8)) || fileExists(clip(12)) || controlPlays());

    press(IDC_PLAY_BASE + 9);
    steps.clear();
    shutDown(); // while it plays
    EXPECT_EQ(steps, Steps({"stop", "close", "delete " + folderOfClips + "\\plimo9.mp3"}));
    EXPECT_FALSE(IsWindow(host) || IsWindow(mainWindow) || fileExists(folderOfClips));
    EXPECT_EQ(CoInitialize(nullptr), S_OK) << "COM was ended";
    CoUninitialize();
    EXPECT_EQ(filesIn(folder.path()), std::set<std::string>({"plimo8.mp3"}));
    EXPECT_EQ(readFileContent("plimo8.mp3"), "the player's own file");
    EXPECT_EQ(readFileContent(temporary / leftBehind / "plimo8.mp3"), "left behind");
    for (const auto& left : leftFolders)
        std::filesystem::remove_all(temporary / left.name);
}

// A file of the clip's name in the clip folder that cannot be replaced (another program holds
// it open) is not this clip: nothing plays, the player is told, and shut-down leaves it.
TEST_F(Media, VideoClipThatCannotBeWrittenIsNotPlayed) {
    start(kMediaVideo);
    press(IDC_PLAY_BASE + 11);
    ASSERT_EQ(mediaPlayerUrlForTesting(), std::filesystem::path(clip(11, "avi")).wstring());
    EXPECT_TRUE(controlPlays());
    writeFileContent(clip(10, "avi"), "someone else's file");
    UniqueFile held(CreateFileA(clip(10, "avi").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    MessageBoxCapture capture;
    press(IDC_PLAY_BASE + 10);
    held.reset();
    EXPECT_NE(mediaPlayerUrlForTesting(), std::filesystem::path(clip(10, "avi")).wstring());
    EXPECT_FALSE(controlPlays());
    ASSERT_EQ(capture.boxes().size(), 1u);
    const CapturedBox& box = capture.boxes()[0];
    EXPECT_TRUE(box.caption == "Information" && box.buttonCount == 1 &&
                box.text.find("plimo10.avi") != std::string::npos);
    shutDown();
    EXPECT_EQ(filesIn(clipFolder()), std::set<std::string>{"plimo10.avi"});
    EXPECT_EQ(readFileContent(clip(10, "avi")), "someone else's file");
    std::filesystem::remove_all(clipFolder());
}

// Without the control, the shell opens the clip with the user's own program for it, hidden.
// The board cannot stop that program: the file stays until shut-down.
TEST_F(Media, WithoutTheControlTheShellOpensTheClip) {
    static std::vector<std::string> opened;
    simulateMissingMediaControlForTesting(true);
    replaceShellOpenForTesting(
        [](HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show) {
            opened.push_back(std::filesystem::path(verb).string() + " " +
                             std::filesystem::path(file).string() + " " +
                             std::to_string(owner && !parameters && !folder && show == SW_HIDE));
            return HINSTANCE(33); // success
        });
    start(kMediaVideo);
    press(IDC_PLAY_BASE + 10);
    press(IDC_STOP_BASE + 10);
    EXPECT_EQ(opened, std::vector<std::string>({"open " + clip(10, "avi") + " 1"}));
    EXPECT_TRUE(readFileContent(clip(10, "avi")) ==
                readFileContent(PLIMO_SOURCE_DIR "/tests/windows/clips/orange.avi"));
    shutDown();
    EXPECT_FALSE(fileExists(clipFolder()));
}

// The user's temporary folder may be named with letters outside the ANSI code page.
TEST_F(Media, ClipsPlayFromATemporaryFolderNamedOutsideTheCodePage) {
    const std::filesystem::path temporary = std::filesystem::path(folder.path()) / L"\u81E8\u6642";
    std::filesystem::create_directory(temporary);
    wchar_t previous[MAX_PATH] = L"";
    GetEnvironmentVariableW(L"TMP", previous, MAX_PATH);
    SetEnvironmentVariableW(L"TMP", temporary.c_str());
    MessageBoxCapture capture;
    start(kMediaSound);
    press(IDC_PLAY_BASE + 8);
    EXPECT_TRUE(controlPlays());
    EXPECT_EQ(std::filesystem::path(mediaPlayerUrlForTesting()).parent_path().parent_path(),
              temporary);
    shutDown();
    SetEnvironmentVariableW(L"TMP", *previous ? previous : nullptr);
    EXPECT_TRUE(capture.boxes().empty());
    EXPECT_TRUE(std::filesystem::is_empty(temporary));
}

} // namespace
