#include "media/media_player.h"

#include "board/board_layout.h"
#include "media/wmp_interfaces.h"
#include "resources/quiz_resource_ids.h"
#include "resources/resource_ids.h"
#include "win/com_ptr.h"
#include "win/controls.h"
#include "win/handles.h"
#include "win/player_state.h"
#include "win/process_folders.h"
#include "win/wide_text.h"

#include <oleauto.h>
#include <shellapi.h>

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kClipKindSound = 1;
constexpr int kClipKindVideo = 2;
constexpr const char* kInformationCaption = "Information";
constexpr const wchar_t* kClipFolderPrefix = L"plimo-";
constexpr const wchar_t* kClipFilePrefix = L"plimo";
constexpr int kButtonIconSize = 16;

// AtlAxAttachControl: makes a plain window the host (container) of an ActiveX control.
using AttachControlFunction = HRESULT(WINAPI*)(IUnknown* control, HWND host, IUnknown** container);

void noteStep(const std::string& step);

// Steps name files in UTF-8, which keeps every letter of a folder's name.
void noteFileStep(const char* step, const std::wstring& path) {
    noteStep(step + (" " + narrowText(path, CP_UTF8)));
}

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
    std::wstring pathOf(const std::wstring& name) {
        if (path_.empty())
            path_ = makeProcessFolder(kClipFolderPrefix);
        return path_.empty() ? L"" : path_ + L"\\" + name;
    }

    void wrote(const std::wstring& name) { written_.insert(name); }

    // A file that cannot be deleted yet (a program the shell started may hold it) is tried
    // again at shut-down.
    void remove(const std::wstring& name) {
        if (written_.contains(name) && deleteFile(name))
            written_.erase(name);
    }

    void removeAll() {
        for (const std::wstring& name : written_)
            deleteFile(name);
        written_.clear();
        // Fails, as it should, when something else put a file into the folder.
        if (!path_.empty())
            RemoveDirectoryW(path_.c_str());
        path_.clear();
    }

  private:
    bool deleteFile(const std::wstring& name) {
        const std::wstring path = pathOf(name);
        if (!DeleteFileW(path.c_str()))
            return false;
        noteFileStep("delete", path);
        return true;
    }

    std::wstring path_;
    std::set<std::wstring> written_;
};

// plimo<n>.mp3 or plimo<n>.avi, as this program names its clip files.
bool isClipFileName(std::wstring_view name) {
    DWORD question = 0;
    return takePrefix(name, kClipFilePrefix) && takeNumber(name, question) &&
           (name == L".mp3" || name == L".avi");
}

// A killed player leaves its clip folder under the temporary folder: each start removes those
// whose process is gone. A running player's folder is its own.
void removeLeftClipFolders() {
    removeLeftProcessFolders(kClipFolderPrefix, isClipFileName);
}

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
ShellOpenFunction shellOpen = ShellExecuteW;
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

const wchar_t* clipExtension(int clipKind) {
    return clipKind == kClipKindVideo ? L"avi" : L"mp3";
}

std::wstring clipFileName(int clipKind, int question) {
    return kClipFilePrefix + std::to_wstring(question) + L"." + clipExtension(clipKind);
}

// Writes the whole clip or leaves no file: a cut-off clip would play cut off, or not at all.
bool writeClipFile(const std::wstring& name, const void* bytes, DWORD size) {
    DWORD written = 0;
    BOOL wrote = FALSE;
    {
        const UniqueFile file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        // Fails when the name is taken by something this program may not overwrite, such as
        // a file another player still holds open: that file is not this clip.
        if (!file)
            return false;
        wrote = WriteFile(file.get(), bytes, size, &written, nullptr);
    }
    if (wrote && written == size)
        return true;
    DeleteFileW(name.c_str());
    return false;
}

// The message names the file in the ANSI code page, where letters outside it show as '?'.
void reportUnwrittenClip(const std::wstring& name) {
    const std::string text = "Impossible d'\xE9"
                             "crire le fichier " +
                             narrowText(name, CP_ACP) + ".";
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
void openClip(HWND board, const std::wstring& path) {
    MediaSession& session = media();
    if (!session.playerControls) {
        shellOpen(board, L"open", path.c_str(), nullptr, nullptr, SW_HIDE);
        return;
    }
    const UniqueBstr url(SysAllocString(path.c_str()));
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
    removeLeftClipFolders();
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
    if (clipKind != kClipKindSound && clipKind != kClipKindVideo)
        return 0;
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(resourceId), kMediaResourceType);
    if (!found)
        return 0;
    const DWORD size = SizeofResource(nullptr, found);
    HGLOBAL loaded = LoadResource(nullptr, found);
    if (!loaded) {
        MessageBoxA(nullptr,
                    clipKind == kClipKindSound ? "Impossible de charger le fichier audio."
                                               : "Impossible de charger le fichier vid\xE9o.",
                    kInformationCaption, MB_OK);
        return 0;
    }
    // A resource stays mapped with its module: there is nothing to free (FreeResource is a
    // no-op since 32-bit Windows).
    const void* bytes = LockResource(loaded);
    if (!bytes)
        return 0;
    ClipFolder& folder = media().clipFolder;
    const std::wstring name = clipFileName(clipKind, resourceId - IDR_QUESTION_MEDIA_BASE);
    const std::wstring path = folder.pathOf(name);
    if (path.empty() || !writeClipFile(path, bytes, size)) {
        reportUnwrittenClip(path.empty() ? name : path);
        return 0;
    }
    folder.wrote(name);
    noteFileStep("write", path);
    return 1;
}

void playClip(HWND board, int question) {
    if (!isMediaQuiz())
        return;
    dropCurrentClip();
    // Only a file written whole just now is played: one that could not be replaced is not
    // this clip.
    const int clipKind = clipKindOfQuiz();
    if (!extractMediaClip(board, IDR_QUESTION_MEDIA_BASE + question, clipKind))
        return;
    media().currentClip = question;
    openClip(board, media().clipFolder.pathOf(clipFileName(clipKind, question)));
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
    shellOpen = open ? open : ShellExecuteW;
}

void observeMediaStepsForTesting(MediaStepObserver observer) {
    stepObserver = observer;
}
