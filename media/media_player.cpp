#include "media/media_player.h"

#include "board/board_layout.h"
#include "media/wmp_interfaces.h"
#include "resources/quiz_resource_ids.h"
#include "resources/resource_ids.h"
#include "win/com_ptr.h"
#include "win/controls.h"
#include "win/handles.h"
#include "win/player_state.h"
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
// Names of the clip folder tried before giving up, each one already taken.
constexpr int kClipFolderAttempts = 1000;
constexpr int kButtonIconSize = 16;

// AtlAxAttachControl: makes a plain window the host (container) of an ActiveX control.
using AttachControlFunction = HRESULT(WINAPI*)(IUnknown* control, HWND host, IUnknown** container);

void noteStep(const std::string& step);

// Steps name files in UTF-8, which keeps every letter of a folder's name.
void noteFileStep(const char* step, const std::wstring& path) {
    noteStep(step + (" " + narrowText(path, CP_UTF8)));
}

// The user's temporary folder, with its trailing backslash; empty when there is none. Wide: its
// name may hold letters outside the ANSI code page.
std::wstring temporaryFolder() {
    wchar_t path[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    return length == 0 || length > MAX_PATH ? L"" : std::wstring(path, length);
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
            path_ = makeFolder();
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

    // plimo-<process id>-<n>, never a folder that exists already: process ids are reused, and a
    // run that was killed leaves its folder behind.
    static std::wstring makeFolder() {
        const std::wstring temporary = temporaryFolder();
        if (temporary.empty())
            return L"";
        const std::wstring stem =
            temporary + kClipFolderPrefix + std::to_wstring(GetCurrentProcessId()) + L"-";
        for (int attempt = 1; attempt <= kClipFolderAttempts; ++attempt) {
            std::wstring path = stem + std::to_wstring(attempt);
            if (CreateDirectoryW(path.c_str(), nullptr))
                return path;
            if (GetLastError() != ERROR_ALREADY_EXISTS)
                return L"";
        }
        return L"";
    }

    std::wstring path_;
    std::set<std::wstring> written_;
};

// Reads the decimal number at the start of `text` into `value` and drops it from `text`; false
// when there is none or it does not fit.
bool takeNumber(std::wstring_view& text, DWORD& value) {
    size_t digits = 0;
    value = 0;
    for (; digits < text.size() && text[digits] >= L'0' && text[digits] <= L'9'; ++digits) {
        const DWORD digit = text[digits] - L'0';
        if (value > (MAXDWORD - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    text.remove_prefix(digits);
    return digits > 0;
}

bool takePrefix(std::wstring_view& text, std::wstring_view prefix) {
    if (!text.starts_with(prefix))
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

// The process id of a clip folder's name, plimo-<process id>-<n>; none for any other name.
std::optional<DWORD> clipFolderOwner(std::wstring_view name) {
    DWORD processId = 0, attempt = 0;
    if (takePrefix(name, kClipFolderPrefix) && takeNumber(name, processId) &&
        takePrefix(name, L"-") && takeNumber(name, attempt) && name.empty())
        return processId;
    return std::nullopt;
}

// plimo<n>.mp3 or plimo<n>.avi, as this program names its clip files.
bool isClipFileName(std::wstring_view name) {
    DWORD question = 0;
    return takePrefix(name, kClipFilePrefix) && takeNumber(name, question) &&
           (name == L".mp3" || name == L".avi");
}

// A process of another user, which this one may not open, counts as running.
bool processRuns(DWORD processId) {
    const UniqueKernelObject process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

bool isPlainFolder(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The entries that `pattern` (a folder and a name with wildcards) finds, "." and ".." aside.
std::vector<WIN32_FIND_DATAW> entriesMatching(const std::wstring& pattern) {
    std::vector<WIN32_FIND_DATAW> entries;
    WIN32_FIND_DATAW entry;
    const UniqueFind search(FindFirstFileW(pattern.c_str(), &entry));
    for (bool found = bool(search); found; found = FindNextFileW(search.get(), &entry))
        if (std::wstring_view(entry.cFileName) != L"." &&
            std::wstring_view(entry.cFileName) != L"..")
            entries.push_back(entry);
    return entries;
}

// Empties and removes a clip folder that a run which ended without its shut-down left behind,
// but only when it holds nothing but clip files: anything else in it was not put there by this
// program, and the folder stays as it is.
void removeLeftClipFolder(const std::wstring& folder) {
    const std::vector<WIN32_FIND_DATAW> entries = entriesMatching(folder + L"\\*");
    for (const WIN32_FIND_DATAW& entry : entries)
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
            !isClipFileName(entry.cFileName))
            return;
    for (const WIN32_FIND_DATAW& entry : entries)
        DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
    RemoveDirectoryW(folder.c_str());
}

// A killed player leaves its clip folder under the temporary folder: each start removes those
// whose process is gone. A running player's folder is its own.
void removeLeftClipFolders() {
    const std::wstring temporary = temporaryFolder();
    if (temporary.empty())
        return;
    for (const WIN32_FIND_DATAW& entry : entriesMatching(temporary + kClipFolderPrefix + L"*")) {
        const std::optional<DWORD> owner = clipFolderOwner(entry.cFileName);
        if (isPlainFolder(entry) && owner && !processRuns(*owner))
            removeLeftClipFolder(temporary + entry.cFileName);
    }
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
