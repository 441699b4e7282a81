// Clips of sound and video quizzes, played in the real media player control under Wine. Each
// test builds a real board with the board's own dialog procedure for a quiz record made by
// hand, with an empty current folder of its own (clip files go to the run's clip folder, never
// there). The clips are the IMG resources of test_clips.rc: questions 8 and 9 have sounds, 10
// and 11 videos.
//
// Wine's control plays through the sound device; the test runner gives Wine a null ALSA
// device, without which Wine's play crashes the process.
#include "board/board_dialog.h"
#include "board/board_layout.h"
#include "media/media_player.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "tests/windows/message_box_capture.h"
#include "tests/windows/test_files.h"
#include "win/handles.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

namespace {

constexpr int kSoundClip = 8;
constexpr int kOtherSoundClip = 9;
constexpr int kVideoClip = 10;
constexpr int kOtherVideoClip = 11;
constexpr int kQuestions = 12;

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// The bytes of a question's clip, as the test executable carries them.
std::string clipResource(int question) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(400 + question), "IMG");
    if (!found)
        return "";
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    return std::string(bytes, SizeofResource(nullptr, found));
}

// Lets the control run for a while, answering the messages it posts.
void waitAndPump(int milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    do {
        pumpMessages();
        Sleep(20);
    } while (int(end - GetTickCount()) > 0);
}

// Whether the control plays: its position moves on. Wine's control answers E_NOTIMPL to
// get_playState, and reports no position at all once stopped.
bool controlPlays() {
    const double before = mediaPositionForTesting();
    waitAndPump(300);
    return before >= 0 && mediaPositionForTesting() > before;
}

struct ShellCall {
    HWND owner;
    std::string verb;
    std::string file;
    bool withParameters;
    bool withFolder;
    int show;
};
std::vector<ShellCall> shellCalls;

std::vector<std::string> mediaSteps;

void recordMediaStep(const std::string& step) {
    mediaSteps.push_back(step);
}

std::vector<std::string> takeMediaSteps() {
    return std::exchange(mediaSteps, {});
}

std::string temporaryFolder() {
    char path[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, path);
    return path;
}

std::wstring wide(const std::string& text) {
    wchar_t converted[MAX_PATH * 2] = L"";
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, converted, MAX_PATH * 2);
    return converted;
}

// Stands in for ShellExecuteA in every test: no test starts another program.
HINSTANCE WINAPI recordShellOpen(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                 LPCSTR folder, INT show) {
    shellCalls.push_back({owner, verb ? verb : "", file ? file : "", parameters != nullptr,
                          folder != nullptr, show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42)); // success is above 32
}

class Media : public testing::Test {
  protected:
    void SetUp() override {
        GetCurrentDirectoryA(MAX_PATH, previousFolder);
        SetCurrentDirectoryA(folder.path().c_str());
        shellCalls.clear();
        replaceShellOpenForTesting(recordShellOpen);
        mediaSteps.clear();
        observeMediaStepsForTesting(recordMediaStep);
    }

    void TearDown() override {
        if (quizRecord == &record)
            shutDown();
        else if (quizRecord) // the player's own start-up
            shutDownPlayer(GetModuleHandleA(nullptr), playerWindow);
        simulateMissingMediaControlForTesting(false);
        replaceShellOpenForTesting(nullptr);
        observeMediaStepsForTesting(nullptr);
        SetCurrentDirectoryA(previousFolder);
    }

    // Start-up as the player does it for a quiz of this kind: media support, then a main
    // window and the board in it.
    void start(int mediaKind) {
        record.mediaKind = mediaKind;
        record.answerFieldCount = 1;
        record.questionCount = kQuestions;
        for (int question = 1; question <= kQuestions; ++question)
            addQuestion(record, "reponse", "", "question");
        quizRecord = &record;
        startMedia();
        mainWindow = createTestWindow("media", 0, 0, 900, 600);
        ASSERT_NE(mainWindow, nullptr);
        board = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BOARD),
                                   mainWindow, boardDialogProc, 0);
        ASSERT_NE(board, nullptr);
        ShowWindow(mainWindow, SW_SHOWNORMAL);
        ShowWindow(board, SW_SHOWNORMAL);
        pumpMessages();
    }

    void shutDown() {
        shutdownMedia(mainWindow);
        // Only a sound or video quiz's shut-down destroys the main window; the player's own
        // shut-down destroys it for the others.
        if (IsWindow(mainWindow))
            DestroyWindow(mainWindow);
        mainWindow = board = nullptr;
        quizRecord = nullptr;
    }

    void press(int id, WORD notification = BN_CLICKED) {
        SendMessageA(board, WM_COMMAND, MAKEWPARAM(id, notification),
                     reinterpret_cast<LPARAM>(GetDlgItem(board, id)));
        pumpMessages();
    }

    // The run's clip folder, as the first clip written names it; empty before.
    static std::string clipFolder() {
        for (const std::string& step : mediaSteps)
            if (step.starts_with("write "))
                return step.substr(6, step.find_last_of('\\') - 6);
        return "";
    }

    static std::string clipFile(int question, const char* extension = "mp3") {
        return clipFolder() + "\\plimo" + std::to_string(question) + "." + extension;
    }

    static std::wstring clipUrl(int question, const char* extension = "mp3") {
        return wide(clipFile(question, extension));
    }

    TemporaryFolder folder;
    char previousFolder[MAX_PATH] = "";
    QuizRecord record;
    HWND mainWindow = nullptr;
    HWND board = nullptr;
    HWND playerWindow = nullptr;
};

TEST_F(Media, SoundBoardHostsTheControlInAZeroSizeChild) {
    start(kMediaSound);
    EXPECT_NE(GetModuleHandleA("atl.dll"), nullptr);
    HWND host = GetDlgItem(board, IDC_PLAYER_HOST);
    ASSERT_NE(host, nullptr);
    char className[32] = "";
    GetClassNameA(host, className, sizeof className);
    EXPECT_STRCASEEQ(className, "Static");
    const DWORD style = GetWindowLongA(host, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_BORDER),
              DWORD(WS_CHILD | WS_VISIBLE | WS_BORDER));
    RECT rect;
    GetWindowRect(host, &rect);
    EXPECT_EQ(rect.right - rect.left, 0);
    EXPECT_EQ(rect.bottom - rect.top, 0);
    // The control answers through the declared slots: get_URL gives nothing before any play.
    EXPECT_EQ(mediaPlayerUrlForTesting(), L"");
    EXPECT_FALSE(controlPlays());
    // The play and stop buttons carry the icons that were loaded for them.
    EXPECT_NE(playIcon(), nullptr);
    EXPECT_EQ(SendDlgItemMessageA(board, IDC_PLAY_BASE + 1, BM_GETIMAGE, IMAGE_ICON, 0),
              reinterpret_cast<LRESULT>(playIcon()));
    EXPECT_EQ(SendDlgItemMessageA(board, IDC_STOP_BASE + 1, BM_GETIMAGE, IMAGE_ICON, 0),
              reinterpret_cast<LRESULT>(stopIcon()));
}

TEST_F(Media, PlayWritesTheQuestionsClipAndGivesItToTheControl) {
    start(kMediaSound);
    press(IDC_PLAY_BASE + kSoundClip);
    ASSERT_TRUE(fileExists(clipFile(kSoundClip)));
    EXPECT_EQ(readFileText(clipFile(kSoundClip)), clipResource(kSoundClip));
    EXPECT_EQ(mediaPlayerUrlForTesting(), clipUrl(kSoundClip));
    EXPECT_TRUE(controlPlays());
    EXPECT_TRUE(shellCalls.empty());
}

TEST_F(Media, PlayingAnotherQuestionDeletesThePreviousClip) {
    start(kMediaSound);
    press(IDC_PLAY_BASE + kSoundClip);
    ASSERT_TRUE(fileExists(clipFile(kSoundClip)));
    press(IDC_PLAY_BASE + kOtherSoundClip);
    EXPECT_FALSE(fileExists(clipFile(kSoundClip)));
    ASSERT_TRUE(fileExists(clipFile(kOtherSoundClip)));
    EXPECT_EQ(readFileText(clipFile(kOtherSoundClip)), clipResource(kOtherSoundClip));
    EXPECT_EQ(mediaPlayerUrlForTesting(), clipUrl(kOtherSoundClip));
    EXPECT_TRUE(controlPlays());
}

TEST_F(Media, AnyStopButtonStopsTheCurrentClipAndDeletesItsFile) {
    start(kMediaSound);
    press(IDC_PLAY_BASE + kOtherSoundClip);
    ASSERT_TRUE(fileExists(clipFile(kOtherSoundClip)));
    ASSERT_TRUE(controlPlays());
    press(IDC_STOP_BASE + 1);
    EXPECT_FALSE(controlPlays());
    EXPECT_FALSE(fileExists(clipFile(kOtherSoundClip)));
    // The stop button's own question has no file to lose.
    EXPECT_FALSE(fileExists(clipFile(1)));
}

TEST_F(Media, PlayingTwiceStartsTheSameClipAgainFromItsFile) {
    start(kMediaSound);
    press(IDC_PLAY_BASE + kSoundClip);
    waitAndPump(600);
    const double playedFor = mediaPositionForTesting();
    ASSERT_GT(playedFor, 0.3);
    press(IDC_PLAY_BASE + kSoundClip);
    // From the start again, of a file deleted and written again whole.
    EXPECT_LT(mediaPositionForTesting(), playedFor);
    EXPECT_TRUE(controlPlays());
    ASSERT_TRUE(fileExists(clipFile(kSoundClip)));
    EXPECT_EQ(readFileText(clipFile(kSoundClip)), clipResource(kSoundClip));
    EXPECT_EQ(mediaPlayerUrlForTesting(), clipUrl(kSoundClip));
    // And it stops like any clip.
    press(IDC_STOP_BASE + kSoundClip);
    EXPECT_FALSE(fileExists(clipFile(kSoundClip)));
}

// On Windows a stopped control keeps its file open until close: a clip could then be neither
// written again nor deleted, and nothing would play. Wine's stop lets go already, so only the
// order of the calls shows it here.
TEST_F(Media, ControlClosesAClipBeforeItsFileIsWrittenAgainOrDeleted) {
    using Steps = std::vector<std::string>;
    start(kMediaSound);
    press(IDC_PLAY_BASE + kSoundClip);
    const std::string sound = clipFile(kSoundClip);
    const std::string otherSound = clipFile(kOtherSoundClip);
    takeMediaSteps();
    press(IDC_PLAY_BASE + kOtherSoundClip);
    EXPECT_EQ(takeMediaSteps(), Steps({"stop", "close", "delete " + sound, "write " + otherSound}));
    press(IDC_PLAY_BASE + kOtherSoundClip);
    EXPECT_EQ(takeMediaSteps(),
              Steps({"stop", "close", "delete " + otherSound, "write " + otherSound}));
    press(IDC_STOP_BASE + 1);
    EXPECT_EQ(takeMediaSteps(), Steps({"stop", "close", "delete " + otherSound}));
    press(IDC_PLAY_BASE + kSoundClip);
    takeMediaSteps();
    shutDown(); // while it plays
    EXPECT_EQ(takeMediaSteps(), Steps({"stop", "close", "delete " + sound}));
}

TEST_F(Media, VideoQuizWritesPlaysAndDeletesAviFiles) {
    start(kMediaVideo);
    press(IDC_PLAY_BASE + kVideoClip);
    ASSERT_TRUE(fileExists(clipFile(kVideoClip, "avi")));
    EXPECT_EQ(readFileText(clipFile(kVideoClip, "avi")), clipResource(kVideoClip));
    EXPECT_EQ(mediaPlayerUrlForTesting(), clipUrl(kVideoClip, "avi"));
    EXPECT_TRUE(controlPlays());
    press(IDC_PLAY_BASE + kOtherVideoClip);
    EXPECT_FALSE(fileExists(clipFile(kVideoClip, "avi")));
    EXPECT_EQ(mediaPlayerUrlForTesting(), clipUrl(kOtherVideoClip, "avi"));
    press(IDC_STOP_BASE + kOtherVideoClip);
    EXPECT_FALSE(fileExists(clipFile(kOtherVideoClip, "avi")));
}

// The current folder may be read-only or hold files of the clips' names that are not the
// run's: clips go to a new folder under the temporary folder, which shut-down removes.
TEST_F(Media, ClipsLiveInAFolderOfTheRunsOwnUntilShutDown) {
    const std::map<std::string, std::string> bystanders = {{"plimo5.mp3", "the player's own file"},
                                                           {"plimo8.mp3", "another quiz's clip"}};
    for (const auto& [name, content] : bystanders)
        writeFileText(folder.file(name), content);
    // The name a run of this process id would try first, left by an earlier run that was killed.
    const std::string leftBehind =
        temporaryFolder() + "plimo-" + std::to_string(GetCurrentProcessId()) + "-1";
    CreateDirectoryA(leftBehind.c_str(), nullptr);
    writeFileText(leftBehind + "\\plimo8.mp3", "left behind");
    start(kMediaSound);
    press(IDC_PLAY_BASE + kOtherSoundClip);
    press(IDC_PLAY_BASE + kSoundClip); // still playing when the window closes

    const std::string clips = clipFolder();
    ASSERT_FALSE(clips.empty());
    EXPECT_EQ(clips.substr(0, clips.find_last_of('\\') + 1), temporaryFolder());
    EXPECT_TRUE(clips.starts_with(temporaryFolder() + "plimo-" +
                                  std::to_string(GetCurrentProcessId()) + "-"));
    EXPECT_NE(clips, leftBehind);
    EXPECT_EQ(mediaPlayerUrlForTesting(), wide(clips + "\\plimo8.mp3"));
    EXPECT_EQ(readFileText(clips + "\\plimo8.mp3"), clipResource(kSoundClip));
    EXPECT_TRUE(controlPlays());
    shutDown();

    EXPECT_FALSE(fileExists(clips));
    EXPECT_EQ(filesIn(folder.path()).size(), bystanders.size());
    for (const auto& [name, content] : bystanders)
        EXPECT_EQ(readFileText(folder.file(name)), content);
    EXPECT_EQ(readFileText(leftBehind + "\\plimo8.mp3"), "left behind");
    DeleteFileA((leftBehind + "\\plimo8.mp3").c_str());
    RemoveDirectoryA(leftBehind.c_str());
}

TEST_F(Media, ShutDownReleasesTheControlComAndAtl) {
    const bool atlLoadedBefore = GetModuleHandleA("atl.dll") != nullptr;
    start(kMediaSound);
    press(IDC_PLAY_BASE + kSoundClip);
    HWND host = GetDlgItem(board, IDC_PLAYER_HOST);
    ASSERT_NE(host, nullptr);
    HWND window = mainWindow;
    shutDown();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(host));
    EXPECT_EQ(mediaPlayerUrlForTesting(), L""); // no control is held any more
    if (!atlLoadedBefore) {
        EXPECT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    }
    // COM was ended: this thread's first CoInitialize again is a fresh one.
    const HRESULT again = CoInitialize(nullptr);
    EXPECT_EQ(again, S_OK);
    if (SUCCEEDED(again))
        CoUninitialize();
}

TEST_F(Media, PlayButtonClickPlaysAndOtherNotificationsDoNot) {
    start(kMediaSound);
    // Any notification but a click leaves the clip alone: the whole wParam is compared.
    press(IDC_PLAY_BASE + kSoundClip, BN_DOUBLECLICKED);
    press(IDC_PLAY_BASE + kSoundClip, 1);
    EXPECT_TRUE(mediaSteps.empty()); // no clip written
    EXPECT_EQ(mediaPlayerUrlForTesting(), L"");
    // A real click on the button.
    SendDlgItemMessageA(board, IDC_PLAY_BASE + kSoundClip, BM_CLICK, 0, 0);
    pumpMessages();
    EXPECT_TRUE(fileExists(clipFile(kSoundClip)));
    EXPECT_EQ(mediaPlayerUrlForTesting(), clipUrl(kSoundClip));
    // A stop with another notification does not stop it either.
    press(IDC_STOP_BASE + kSoundClip, 1);
    EXPECT_TRUE(fileExists(clipFile(kSoundClip)));
    // Enter's IDOK is no media button.
    press(IDOK);
    EXPECT_TRUE(fileExists(clipFile(kSoundClip)));
}

TEST_F(Media, QuestionWithoutClipPlaysNothingAndSaysNothing) {
    start(kMediaSound);
    press(IDC_PLAY_BASE + kSoundClip);
    MessageBoxCapture capture;
    press(IDC_PLAY_BASE + kQuestions); // no resource 412
    EXPECT_TRUE(capture.boxes().empty());
    EXPECT_FALSE(fileExists(clipFile(kQuestions)));
    // The clip before was stopped and its file deleted all the same.
    EXPECT_FALSE(fileExists(clipFile(kSoundClip)));
    EXPECT_FALSE(controlPlays());
}

// A file of the clip's name in the clip folder that cannot be replaced (here another program
// put it there and holds it open) is not this clip: nothing plays, and the player is told.
// Shut-down leaves it, and so the folder.
TEST_F(Media, ClipThatCannotBeWrittenIsNotPlayed) {
    start(kMediaSound);
    press(IDC_PLAY_BASE + kOtherSoundClip);
    ASSERT_EQ(mediaPlayerUrlForTesting(), clipUrl(kOtherSoundClip));
    writeFileText(clipFile(kSoundClip), "someone else's file");
    UniqueFile held(CreateFileA(clipFile(kSoundClip).c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    MessageBoxCapture capture;
    press(IDC_PLAY_BASE + kSoundClip);
    held.reset();
    EXPECT_NE(mediaPlayerUrlForTesting(), clipUrl(kSoundClip));
    EXPECT_FALSE(controlPlays());
    ASSERT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(capture.boxes()[0].caption, "Information");
    EXPECT_NE(capture.boxes()[0].text.find("plimo8.mp3"), std::string::npos);
    EXPECT_EQ(capture.boxes()[0].buttonCount, 1);
    shutDown();
    EXPECT_EQ(filesIn(clipFolder()), std::set<std::string>{"plimo8.mp3"});
    EXPECT_EQ(readFileText(clipFile(kSoundClip)), "someone else's file");
    DeleteFileA(clipFile(kSoundClip).c_str());
    RemoveDirectoryA(clipFolder().c_str());
}

TEST_F(Media, WithoutTheControlTheShellOpensTheClipAndStopDoesNothing) {
    simulateMissingMediaControlForTesting(true);
    start(kMediaSound);
    EXPECT_NE(GetDlgItem(board, IDC_PLAYER_HOST), nullptr); // the board is built the same way
    press(IDC_PLAY_BASE + kSoundClip);
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].owner, board);
    EXPECT_EQ(shellCalls[0].verb, "open");
    EXPECT_EQ(shellCalls[0].file, clipFile(kSoundClip));
    EXPECT_FALSE(shellCalls[0].withParameters);
    EXPECT_FALSE(shellCalls[0].withFolder);
    EXPECT_EQ(shellCalls[0].show, SW_HIDE);
    EXPECT_EQ(readFileText(clipFile(kSoundClip)), clipResource(kSoundClip));
    EXPECT_EQ(mediaPlayerUrlForTesting(), L"");

    // A clip that the shell opened cannot be stopped from the board: its file stays.
    press(IDC_STOP_BASE + kSoundClip);
    EXPECT_TRUE(fileExists(clipFile(kSoundClip)));
    EXPECT_EQ(shellCalls.size(), 1u);

    press(IDC_PLAY_BASE + kOtherSoundClip);
    EXPECT_FALSE(fileExists(clipFile(kSoundClip)));
    ASSERT_EQ(shellCalls.size(), 2u);
    EXPECT_EQ(shellCalls[1].file, clipFile(kOtherSoundClip));
    shutDown();
    EXPECT_FALSE(fileExists(clipFolder()));
    EXPECT_TRUE(filesIn(folder.path()).empty());
}

// A temporary folder that is not there: no clip folder, so no clip, and the player is told.
TEST_F(Media, WithoutTheControlAClipThatCannotBeWrittenIsNotOpened) {
    char previousTmp[MAX_PATH] = "";
    const bool hadTmp = GetEnvironmentVariableA("TMP", previousTmp, MAX_PATH) != 0;
    SetEnvironmentVariableA("TMP", folder.file("missing").c_str());
    simulateMissingMediaControlForTesting(true);
    start(kMediaSound);
    MessageBoxCapture capture;
    press(IDC_PLAY_BASE + kSoundClip);
    SetEnvironmentVariableA("TMP", hadTmp ? previousTmp : nullptr);
    EXPECT_TRUE(shellCalls.empty());
    ASSERT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(capture.boxes()[0].caption, "Information");
    EXPECT_NE(capture.boxes()[0].text.find("plimo8.mp3"), std::string::npos);
    EXPECT_TRUE(filesIn(folder.path()).empty());
}

TEST_F(Media, ExtractionWritesTheClipOfTheKindAsked) {
    record.mediaKind = kMediaSound;
    quizRecord = &record;
    EXPECT_EQ(extractMediaClip(nullptr, 400 + kVideoClip, 2), 1);
    EXPECT_EQ(readFileText(clipFile(kVideoClip, "avi")), clipResource(kVideoClip));
    // An existing file is overwritten.
    writeFileText(clipFile(kSoundClip), "stale");
    EXPECT_EQ(extractMediaClip(nullptr, 400 + kSoundClip, 1), 1);
    EXPECT_EQ(readFileText(clipFile(kSoundClip)), clipResource(kSoundClip));
    MessageBoxCapture capture;
    EXPECT_EQ(extractMediaClip(nullptr, 400 + kQuestions, 1), 0);
    EXPECT_TRUE(capture.boxes().empty());
    EXPECT_EQ(filesIn(clipFolder()), (std::set<std::string>{"plimo10.avi", "plimo8.mp3"}));
    EXPECT_TRUE(filesIn(folder.path()).empty());
    shutDown();
    EXPECT_FALSE(fileExists(clipFolder()));
}

// Whether the control's library is loaded. A sound quiz's shut-down unloads atl.dll, but Wine
// keeps wmp.dll loaded once the control was created, whatever was released: only a process
// that never created it (as each test under ctest) can tell whether a quiz creates it.
bool controlLibraryLoaded() {
    return GetModuleHandleA("wmp.dll") != nullptr;
}

// Clip files that a sound or video quiz would write or delete; they must come through a quiz
// of another kind untouched.
void writeBystanderClips(const TemporaryFolder& folder) {
    for (const char* name : {"plimo1.mp3", "plimo3.mp3", "plimo3.avi", "plimo96.avi"})
        writeFileText(folder.file(name), name);
}

void expectBystanderClipsUntouched(const TemporaryFolder& folder) {
    const std::set<std::string> names = {"plimo1.mp3", "plimo3.mp3", "plimo3.avi", "plimo96.avi"};
    EXPECT_EQ(filesIn(folder.path()), names);
    for (const std::string& name : names)
        EXPECT_EQ(readFileText(folder.file(name)), name);
}

TEST_F(Media, TextQuizIgnoresMediaButtonsAndLoadsNoControl) {
    ASSERT_EQ(GetModuleHandleA("atl.dll"), nullptr) << "loaded before the test: nothing to see";
    const bool controlLoadedBefore = controlLibraryLoaded();
    writeBystanderClips(folder);
    start(kMediaTextList);
    EXPECT_EQ(GetDlgItem(board, IDC_PLAYER_HOST), nullptr);
    EXPECT_EQ(SendMessageA(board, WM_COMMAND, IDC_PLAY_BASE + 3, 0), 0);
    EXPECT_EQ(SendMessageA(board, WM_COMMAND, IDC_STOP_BASE + 1, 0), 0);
    playClip(board, 3); // even a direct call does nothing for this kind of quiz
    stopClip(1);
    EXPECT_TRUE(shellCalls.empty());
    shutDown();
    EXPECT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    if (!controlLoadedBefore) {
        EXPECT_FALSE(controlLibraryLoaded());
    }
    expectBystanderClipsUntouched(folder);
}

// The player's own start-up and shut-down: the test executable carries no quiz, so it shows
// the built-in one, a picture grid.
TEST_F(Media, PictureQuizIgnoresMediaButtonsAndLoadsNoControl) {
    ASSERT_EQ(GetModuleHandleA("atl.dll"), nullptr) << "loaded before the test: nothing to see";
    const bool controlLoadedBefore = controlLibraryLoaded();
    writeBystanderClips(folder);
    HWND window = playerWindow = startPlayer(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(quizRecord->mediaKind, kMediaPictures);
    pumpMessages();
    EXPECT_EQ(GetDlgItem(boardWindow, IDC_PLAYER_HOST), nullptr);
    EXPECT_EQ(SendMessageA(boardWindow, WM_COMMAND, IDC_PLAY_BASE + 3, 0), 0);
    EXPECT_EQ(SendMessageA(boardWindow, WM_COMMAND, IDC_STOP_BASE + 1, 0), 0);
    pumpMessages();
    shutDownPlayer(GetModuleHandleA(nullptr), window);
    playerWindow = nullptr;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(shellCalls.empty());
    EXPECT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    if (!controlLoadedBefore) {
        EXPECT_FALSE(controlLibraryLoaded());
    }
    expectBystanderClipsUntouched(folder);
}

} // namespace
