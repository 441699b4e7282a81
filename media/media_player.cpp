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

#include <optional>
#include <set>
#include <string>

namespace {

constexpr int kClipKindSound = 1;
constexpr int kClipKindVideo = 2;
constexpr const char* kInformationCaption = "Information";
constexpr int kWideNameSize = 512;
// Names of the clip folder tried before giving up, each one already taken.
constexpr int kClipFolderAttempts = 1000;
constexpr int kButtonIconSize = 16;

// AtlAxAttachControl: makes a plain window the host (container) of an ActiveX control.
using AttachControlFunction = HRESULT(WINAPI*)(IUnknown* control, HWND host, IUnknown** container);

void noteStep(const std::string& step);

// The clip files of this run, in a folder of its own under the user's temporary folder: the
// current folder may be read-only, or hold files of the same names that are not this run's
// (another quiz's clips, the player's own plimo5.mp3). Made at the first clip; only files this
// run wrote are deleted, and the folder goes only if that leaves it empty.
class ClipFolder {
  public:
    ClipFolder() = default;
    ~ClipFolder() { removeAll(); }
    ClipFolder(const ClipFolder&) = delete;
    ClipFolder& operator=(const ClipFolder&) = delete;

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

// Everything media acquires, from start-up to shut-down. The members are released in the
// reverse order of their declaration, which is the order shut-down needs: the control's
// transport; the clip files and their folder; our reference to the control; the main window,
// whose host window lets the control's last reference go as it is destroyed with the board,
// while COM and atl.dll (whose code runs the host) are still there; COM; atl.dll; and last the
// button icons, whose buttons went with the main window.
struct MediaSession {
    // Loaded at a size of our choosing, so ours to destroy.
    UniqueIcon playIcon;
    UniqueIcon stopIcon;
    UniqueModule atlLibrary;
    AttachControlFunction attachControl = nullptr;
    UniqueComInitialization com;
    // Handed over by shut-down, so that it goes at its place in the order.
    UniqueWindow mainWindow;
    // A child of the board, which destroys it.
    HWND playerHost = nullptr;
    ComPtr<wmp::IWMPPlayer> player;
    ClipFolder clipFolder;
    ComPtr<wmp::IWMPControls> playerControls;
    int playerUnavailable = 0;
    int currentClip = 0;
};

// The media state: made when start-up, a board or a clip first needs it, ended by shut-down.
std::optional<MediaSession> mediaSession;

// Test seams.
bool controlMissingForTesting = false;
ShellOpenFunction shellOpen = ShellExecuteA;
MediaStepObserver stepObserver = nullptr;

MediaSession& media() {
    if (!mediaSession)
        mediaSession.emplace();
    return *mediaSession;
}

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
bool hostPlayerControl(MediaSession& session) {
    if (!session.attachControl || !session.playerHost)
        return false;
    ComPtr<wmp::IWMPPlayer>& player = session.player;
    HRESULT created =
        controlMissingForTesting
            ? REGDB_E_CLASSNOTREG
            : CoCreateInstance(wmp::kClsidWindowsMediaPlayer, nullptr,
                               CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                               wmp::kIidPlayer, player.putVoid());
    if (created != S_OK || !player)
        return false;
    // An unhosted control or one without its transport cannot play: the shell does instead.
    if (FAILED(session.attachControl(player.get(), session.playerHost, nullptr)) ||
        FAILED(player->get_controls(session.playerControls.put())) || !session.playerControls)
        return false;
    // No buttons, seek bar or status of the control's own. Wine answers E_NOTIMPL, which
    // changes nothing here: the host window is 0 x 0.
    const UniqueBstr uiMode(SysAllocString(L"none"));
    player->put_uiMode(uiMode.get());
    return true;
}

HICON loadButtonIcon(HINSTANCE instance, int id) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                         kButtonIconSize, kButtonIconSize, LR_DEFAULTCOLOR));
}

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
    ClipFolder& folder = media().clipFolder;
    const std::string name = clipFileName(clipKind, question);
    const std::string path = folder.pathOf(name);
    if (path.empty() || !writeClipFile(path.c_str(), bytes, size)) {
        reportUnwrittenClip(path.empty() ? name : path);
        return "";
    }
    folder.wrote(name);
    noteStep("write " + path);
    return path;
}

// Stops the clip that plays and deletes its file. On Windows a stopped control keeps the file
// open, so that it can be neither written again nor deleted, until close; Wine's stop lets go
// already (and its close answers E_NOTIMPL).
void dropCurrentClip() {
    MediaSession& session = media();
    if (session.playerControls) {
        session.playerControls->stop();
        noteStep("stop");
        session.player->close();
        noteStep("close");
    }
    if (session.currentClip >= 1)
        session.clipFolder.remove(clipFileName(clipKindOfQuiz(), session.currentClip));
    session.currentClip = 0;
}

// Gives the clip file to the control, or without one to whatever program the user has for
// this kind of file.
void openClip(HWND board, const std::string& path) {
    MediaSession& session = media();
    if (!session.playerControls) {
        shellOpen(board, "open", path.c_str(), nullptr, nullptr, SW_HIDE);
        return;
    }
    wchar_t wideName[kWideNameSize];
    if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wideName, kWideNameSize))
        return;
    const UniqueBstr url(SysAllocString(wideName));
    // A URL the control refused would leave it on the previous clip, whose file is gone.
    if (SUCCEEDED(session.player->put_URL(url.get())))
        session.playerControls->play();
}

} // namespace

HICON playIcon() {
    return media().playIcon.get();
}

HICON stopIcon() {
    return media().stopIcon.get();
}

void startMedia() {
    if (!isMediaQuiz())
        return;
    MediaSession& session = media();
    session.atlLibrary.reset(LoadLibraryA("atl.dll"));
    if (!session.atlLibrary)
        return; // without a host for the control, COM is not needed: clips go to the shell
    // Through a function type that matches every other: GCC warns about a direct cast.
    session.attachControl = reinterpret_cast<AttachControlFunction>(reinterpret_cast<void (*)()>(
        GetProcAddress(session.atlLibrary.get(), "AtlAxAttachControl")));
    session.com = initializeCom();
}

void createMediaPlayer(HWND board) {
    MediaSession& session = media();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The buttons are 20 x 20: at its own 32 x 32 an icon shows only a corner in them.
    session.playIcon.reset(loadButtonIcon(instance, IDI_PLAY));
    session.stopIcon.reset(loadButtonIcon(instance, IDI_STOP));

    session.playerControls.reset();
    session.player.reset();
    session.playerHost =
        createControl(board, IDC_PLAYER_HOST, "STATIC", "", WS_BORDER, {0, 0, 0, 0});
    if (hostPlayerControl(session)) {
        session.playerUnavailable = 0;
        return;
    }
    session.playerControls.reset();
    session.player.reset();
    session.playerUnavailable = 1;
}

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
    media().currentClip = question;
    openClip(board, path);
}

void stopClip(int) {
    // Every stop button stops the clip that plays, whichever question it belongs to. A clip
    // that the shell opened cannot be stopped from here; its file stays until shut-down.
    const MediaSession& session = media();
    if (!isMediaQuiz() || session.playerUnavailable || !session.playerControls)
        return;
    dropCurrentClip();
}

void shutdownMedia(HWND mainWindow) {
    if (!isMediaQuiz())
        return;
    // A playing control may hold its clip open, and Windows does not delete a file that is
    // open without delete sharing.
    dropCurrentClip();
    media().mainWindow.reset(mainWindow);
    mediaSession.reset(); // in the order that MediaSession declares
}

std::wstring mediaPlayerUrlForTesting() {
    const ComPtr<wmp::IWMPPlayer>& player = media().player;
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
    const ComPtr<wmp::IWMPControls>& playerControls = media().playerControls;
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
