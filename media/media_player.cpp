#include "media/media_player.h"

#include "board/board_layout.h"
#include "media/wmp_interfaces.h"
#include "resources/quiz_resource_ids.h"
#include "resources/resource_ids.h"
#include "win/com_ptr.h"
#include "win/controls.h"
#include "win/handles.h"
#include "win/player_state.h"

#include <oleauto.h>
#include <shellapi.h>

#include <set>
#include <string>

HICON playIcon = nullptr;
HICON stopIcon = nullptr;

namespace {

constexpr int kClipKindSound = 1;
constexpr int kClipKindVideo = 2;
constexpr const char* kInformationCaption = "Information";
constexpr int kWideNameSize = 512;
// Names of the clip folder tried before giving up, each one already taken.
constexpr int kClipFolderAttempts = 1000;

// AtlAxAttachControl: makes a plain window the host (container) of an ActiveX control.
using AttachControlFunction = HRESULT(WINAPI*)(IUnknown* control, HWND host, IUnknown** container);

// The media state, from start-up to shut-down.
HMODULE atlLibrary = nullptr;
AttachControlFunction attachControl = nullptr;
// CoInitialize's answer; only a success is balanced by CoUninitialize.
HRESULT comStarted = CO_E_NOTINITIALIZED;
HWND playerHost = nullptr;
ComPtr<wmp::IWMPPlayer> player;
ComPtr<wmp::IWMPControls> playerControls;
int playerUnavailable = 0;
int currentClip = 0;

bool controlMissingForTesting = false;
ShellOpenFunction shellOpen = ShellExecuteA;
MediaStepObserver stepObserver = nullptr;

void noteStep(const std::string& step) {
    if (stepObserver)
        stepObserver(step);
}

bool isMediaQuiz() {
    return quizRecord &&
           (quizRecord->mediaKind == kMediaSound || quizRecord->mediaKind == kMediaVideo);
}

int clipKindOfQuiz() {
    return quizRecord->mediaKind - 1;
}

const char* clipExtension(int clipKind) {
    return clipKind == kClipKindVideo ? "avi" : "mp3";
}

std::string clipFileName(int clipKind, int question) {
    return "plimo" + std::to_string(question) + "." + clipExtension(clipKind);
}

// The clip files of this run, in a folder of its own under the user's temporary folder: the
// current folder may be read-only, or hold files of the same names that are not this run's
// (another quiz's clips, the player's own plimo5.mp3). Made at the first clip; only files this
// run wrote are deleted, and the folder goes only if that leaves it empty.
class ClipFolder {
  public:
    // The full name of a clip file in the folder, made first if need be; empty when the folder
    // cannot be made.
    std::string pathOf(const std::string& name) {
        if (path_.empty())
            path_ = makeFolder();
        return path_.empty() ? "" : path_ + "\\" + name;
    }

    void wrote(const std::string& name) { written_.insert(name); }

    // A file that cannot be deleted yet (a program the shell started may hold it) is tried
    // again at shut-down.
    void remove(const std::string& name) {
        if (written_.contains(name) && deleteFile(name))
            written_.erase(name);
    }

    void removeAll() {
        for (const std::string& name : written_)
            deleteFile(name);
        written_.clear();
        // Fails, as it should, when something else put a file into the folder.
        if (!path_.empty())
            RemoveDirectoryA(path_.c_str());
        path_.clear();
    }

  private:
    bool deleteFile(const std::string& name) {
        const std::string path = pathOf(name);
        if (!DeleteFileA(path.c_str()))
            return false;
        noteStep("delete " + path);
        return true;
    }

    // plimo-<process id>-<n>, never a folder that exists already: process ids are reused, and a
    // run that was killed leaves its folder behind.
    static std::string makeFolder() {
        char temporary[MAX_PATH];
        const DWORD length = GetTempPathA(MAX_PATH, temporary);
        if (length == 0 || length >= MAX_PATH)
            return "";
        const std::string stem =
            std::string(temporary) + "plimo-" + std::to_string(GetCurrentProcessId()) + "-";
        for (int attempt = 1; attempt <= kClipFolderAttempts; ++attempt) {
            std::string path = stem + std::to_string(attempt);
            if (CreateDirectoryA(path.c_str(), nullptr))
                return path;
            if (GetLastError() != ERROR_ALREADY_EXISTS)
                return "";
        }
        return "";
    }

    std::string path_;
    std::set<std::string> written_;
};

ClipFolder clipFolder;

// Writes the whole clip or leaves no file: a cut-off clip would play cut off, or not at all.
bool writeClipFile(const char* name, const void* bytes, DWORD size) {
    DWORD written = 0;
    BOOL wrote = FALSE;
    {
        const UniqueFile file(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        // Fails when the name is taken by something this program may not overwrite, such as
        // a file another player still holds open: that file is not this clip.
        if (!file)
            return false;
        wrote = WriteFile(file.get(), bytes, size, &written, nullptr);
    }
    if (wrote && written == size)
        return true;
    DeleteFileA(name);
    return false;
}

void reportUnwrittenClip(const std::string& name) {
    const std::string text = "Impossible d'\xE9"
                             "crire le fichier " +
                             name + ".";
    MessageBoxA(nullptr, text.c_str(), kInformationCaption, MB_OK);
}

// Creates the control and hosts it in playerHost. False leaves no control behind.
bool hostPlayerControl() {
    if (!attachControl || !playerHost)
        return false;
    HRESULT created =
        controlMissingForTesting
            ? REGDB_E_CLASSNOTREG
            : CoCreateInstance(wmp::kClsidWindowsMediaPlayer, nullptr,
                               CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                               wmp::kIidPlayer, player.putVoid());
    if (created != S_OK || !player)
        return false;
    // An unhosted control or one without its transport cannot play: the shell does instead.
    if (FAILED(attachControl(player.get(), playerHost, nullptr)) ||
        FAILED(player->get_controls(playerControls.put())) || !playerControls)
        return false;
    // No buttons, seek bar or status of the control's own. Wine answers E_NOTIMPL, which
    // changes nothing here: the host window is 0 x 0.
    const UniqueBstr uiMode(SysAllocString(L"none"));
    player->put_uiMode(uiMode.get());
    return true;
}

} // namespace

void startMedia() {
    if (!isMediaQuiz())
        return;
    atlLibrary = LoadLibraryA("atl.dll");
    if (!atlLibrary)
        return; // without a host for the control, COM is not needed: clips go to the shell
    // Through a function type that matches every other: GCC warns about a direct cast.
    attachControl = reinterpret_cast<AttachControlFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(atlLibrary, "AtlAxAttachControl")));
    comStarted = CoInitialize(nullptr);
}

namespace {

constexpr int kButtonIconSize = 16;

HICON loadButtonIcon(HINSTANCE instance, int id) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                         kButtonIconSize, kButtonIconSize, LR_DEFAULTCOLOR));
}

// Icons loaded at a size of our choosing are ours to destroy.
void destroyButtonIcons() {
    for (HICON* icon : {&playIcon, &stopIcon}) {
        if (*icon)
            DestroyIcon(*icon);
        *icon = nullptr;
    }
}

} // namespace

void createMediaPlayer(HWND board) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The buttons are 20 x 20: at its own 32 x 32 an icon shows only a corner in them.
    destroyButtonIcons();
    playIcon = loadButtonIcon(instance, IDI_PLAY);
    stopIcon = loadButtonIcon(instance, IDI_STOP);

    playerControls.reset();
    player.reset();
    playerHost = createControl(board, IDC_PLAYER_HOST, "STATIC", "", WS_BORDER, {0, 0, 0, 0});
    if (hostPlayerControl()) {
        playerUnavailable = 0;
        return;
    }
    playerControls.reset();
    player.reset();
    playerUnavailable = 1;
}

namespace {

// Writes a question's clip to its file in the clip folder. Returns the file's full name, or
// empty when the quiz has no such clip or it was not written whole.
std::string writeClip(int question, int clipKind) {
    if (clipKind != kClipKindSound && clipKind != kClipKindVideo)
        return "";
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_QUESTION_MEDIA_BASE + question),
                                kMediaResourceType);
    if (!found)
        return "";
    const DWORD size = SizeofResource(nullptr, found);
    HGLOBAL loaded = LoadResource(nullptr, found);
    if (!loaded) {
        MessageBoxA(nullptr,
                    clipKind == kClipKindSound ? "Impossible de charger le fichier audio."
                                               : "Impossible de charger le fichier vid\xE9o.",
                    kInformationCaption, MB_OK);
        return "";
    }
    // A resource stays mapped with its module: there is nothing to free (FreeResource is a
    // no-op since 32-bit Windows).
    const void* bytes = LockResource(loaded);
    if (!bytes)
        return "";
    const std::string name = clipFileName(clipKind, question);
    const std::string path = clipFolder.pathOf(name);
    if (path.empty() || !writeClipFile(path.c_str(), bytes, size)) {
        reportUnwrittenClip(path.empty() ? name : path);
        return "";
    }
    clipFolder.wrote(name);
    noteStep("write " + path);
    return path;
}

// Stops the clip that plays and deletes its file. On Windows a stopped control keeps the file
// open, so that it can be neither written again nor deleted, until close; Wine's stop lets go
// already (and its close answers E_NOTIMPL).
void dropCurrentClip() {
    if (playerControls) {
        playerControls->stop();
        noteStep("stop");
        player->close();
        noteStep("close");
    }
    if (currentClip >= 1)
        clipFolder.remove(clipFileName(clipKindOfQuiz(), currentClip));
    currentClip = 0;
}

} // namespace

int extractMediaClip(HWND, int resourceId, int clipKind) {
    return writeClip(resourceId - IDR_QUESTION_MEDIA_BASE, clipKind).empty() ? 0 : 1;
}

void playClip(HWND board, int question) {
    if (!isMediaQuiz())
        return;
    dropCurrentClip();
    // Only a file written whole just now is played: one that could not be replaced is not
    // this clip.
    const std::string path = writeClip(question, clipKindOfQuiz());
    if (path.empty())
        return;
    currentClip = question;
    if (playerControls) {
        wchar_t wideName[kWideNameSize];
        if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wideName, kWideNameSize))
            return;
        const UniqueBstr url(SysAllocString(wideName));
        // A URL the control refused would leave it on the previous clip, whose file is gone.
        if (SUCCEEDED(player->put_URL(url.get())))
            playerControls->play();
        return;
    }
    // No control: whatever program the user has for this kind of file plays it.
    shellOpen(board, "open", path.c_str(), nullptr, nullptr, SW_HIDE);
}

void stopClip(int) {
    // Every stop button stops the clip that plays, whichever question it belongs to. A clip
    // that the shell opened cannot be stopped from here; its file stays until shut-down.
    if (!isMediaQuiz() || playerUnavailable || !playerControls)
        return;
    dropCurrentClip();
}

void shutdownMedia(HWND mainWindow) {
    if (!isMediaQuiz())
        return;
    // A playing control may hold its clip open, and Windows does not delete a file that is
    // open without delete sharing.
    dropCurrentClip();
    playerControls.reset();
    clipFolder.removeAll();
    // The host window holds the control's last reference and lets it go as it is destroyed,
    // with the board, while COM and atl.dll (whose code runs the host) are still there.
    player.reset();
    if (mainWindow)
        DestroyWindow(mainWindow);
    playerHost = nullptr;
    if (SUCCEEDED(comStarted))
        CoUninitialize();
    comStarted = CO_E_NOTINITIALIZED;
    if (atlLibrary)
        FreeLibrary(atlLibrary);
    atlLibrary = nullptr;
    attachControl = nullptr;
    playerUnavailable = 0;
    destroyButtonIcons(); // the buttons went with the main window
}

std::wstring mediaPlayerUrlForTesting() {
    if (!player)
        return L"";
    BSTR url = nullptr;
    const HRESULT got = player->get_URL(&url);
    const UniqueBstr owned(url);
    if (FAILED(got) || !owned)
        return L"";
    return std::wstring(url, SysStringLen(url));
}

double mediaPositionForTesting() {
    double seconds = -1;
    // S_FALSE: nothing loaded, as after stop under Wine.
    if (!playerControls || playerControls->get_currentPosition(&seconds) != S_OK)
        return -1;
    return seconds;
}

void simulateMissingMediaControlForTesting(bool missing) {
    controlMissingForTesting = missing;
}

void replaceShellOpenForTesting(ShellOpenFunction open) {
    shellOpen = open ? open : ShellExecuteA;
}

void observeMediaStepsForTesting(MediaStepObserver observer) {
    stepObserver = observer;
}
