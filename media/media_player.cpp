#include "media/media_player.h"

#include "board/board_layout.h"
#include "media/wmp_interfaces.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "shell/scoped_handles.h"

#include <oleauto.h>
#include <shellapi.h>

#include <cstdio>

HICON playIcon = nullptr;
HICON stopIcon = nullptr;

namespace {

constexpr int kClipKindSound = 1;
constexpr int kClipKindVideo = 2;
constexpr const char* kClipResourceType = "img"; // resource type names ignore case: finds IMG
constexpr const char* kInformationCaption = "Information";
constexpr int kWideNameSize = 512;

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

// A clip's file name: bare, so it lies in (and is resolved against) the current folder.
struct ClipName {
    char text[MAX_PATH];
};

ClipName clipName(int clipKind, int question) {
    ClipName name;
    snprintf(name.text, sizeof name.text, "plimo%d.%s", question, clipExtension(clipKind));
    return name;
}

// A wide string owned as a BSTR, as the control's string properties want it.
class ScopedBstr {
  public:
    explicit ScopedBstr(const wchar_t* text) : bstr_(SysAllocString(text)) {}
    ~ScopedBstr() { SysFreeString(bstr_); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    BSTR get() const { return bstr_; }

  private:
    BSTR bstr_;
};

// Writes the whole clip or leaves no file: a cut-off clip would play cut off, or not at all.
bool writeClipFile(const char* name, const void* bytes, DWORD size) {
    DWORD written = 0;
    BOOL wrote = FALSE;
    {
        ScopedFile file(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        // Fails when the name is taken by something this program may not overwrite, such as
        // a file another player still holds open: that file is not this clip.
        if (file.get() == INVALID_HANDLE_VALUE)
            return false;
        wrote = WriteFile(file.get(), bytes, size, &written, nullptr);
    }
    if (wrote && written == size)
        return true;
    DeleteFileA(name);
    return false;
}

void reportUnwrittenClip(const char* name) {
    char text[MAX_PATH + 64];
    snprintf(text, sizeof text,
             "Impossible d'\xE9"
             "crire le fichier %s.",
             name);
    MessageBoxA(nullptr, text, kInformationCaption, MB_OK);
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
    ScopedBstr uiMode(L"none");
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
    playerHost = CreateWindowExA(
        0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 0, 0, board,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PLAYER_HOST)), instance, nullptr);
    if (hostPlayerControl()) {
        playerUnavailable = 0;
        return;
    }
    playerControls.reset();
    player.reset();
    playerUnavailable = 1;
}

int extractMediaClip(HWND, int resourceId, int clipKind) {
    if (clipKind != kClipKindSound && clipKind != kClipKindVideo)
        return 0;
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(resourceId), kClipResourceType);
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
    char name[sizeof QuizRecord::mediaDir + MAX_PATH];
    snprintf(name, sizeof name, "%splimo%d.%s", quizRecord ? quizRecord->mediaDir : "",
             resourceId - IDR_QUESTION_MEDIA_BASE, clipExtension(clipKind));
    if (!writeClipFile(name, bytes, size)) {
        reportUnwrittenClip(name);
        return 0;
    }
    return 1;
}

void playClip(HWND board, int question) {
    if (!isMediaQuiz())
        return;
    const int clipKind = clipKindOfQuiz();
    if (playerControls)
        playerControls->stop();
    // Stopped, the control lets go of the file.
    if (currentClip >= 1)
        DeleteFileA(clipName(clipKind, currentClip).text);
    currentClip = question;
    // Only a file written whole just now is played: a file of that name that could not be
    // replaced may be anything, another quiz's clip among them.
    if (extractMediaClip(board, IDR_QUESTION_MEDIA_BASE + question, clipKind) != 1)
        return;
    const ClipName name = clipName(clipKind, question);
    if (playerControls) {
        wchar_t wideName[kWideNameSize];
        if (!MultiByteToWideChar(CP_ACP, 0, name.text, -1, wideName, kWideNameSize))
            return;
        ScopedBstr url(wideName);
        // A URL the control refused would leave it on the previous clip, whose file is gone.
        if (SUCCEEDED(player->put_URL(url.get())))
            playerControls->play();
        return;
    }
    // No control: whatever program the user has for this kind of file plays it.
    shellOpen(board, "open", name.text, nullptr, nullptr, SW_HIDE);
}

void stopClip(int) {
    // Every stop button stops the clip that plays, whichever question it belongs to. A clip
    // that the shell opened cannot be stopped from here; its file stays until shut-down.
    if (!isMediaQuiz() || playerUnavailable || !playerControls)
        return;
    playerControls->stop();
    if (currentClip >= 1)
        DeleteFileA(clipName(clipKindOfQuiz(), currentClip).text);
}

void shutdownMedia(HWND mainWindow) {
    if (!isMediaQuiz())
        return;
    const int clipKind = clipKindOfQuiz();
    // A playing control may hold its clip open, and Windows does not delete a file that is
    // open without delete sharing.
    if (playerControls)
        playerControls->stop();
    playerControls.reset();
    // Every number, whatever the question count: a quiz run before may have left more.
    for (int question = 1; question <= kMaxQuestions; ++question)
        DeleteFileA(clipName(clipKind, question).text);
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
    currentClip = 0;
    destroyButtonIcons(); // the buttons went with the main window
}

std::wstring mediaPlayerUrlForTesting() {
    if (!player)
        return L"";
    BSTR url = nullptr;
    if (FAILED(player->get_URL(&url)) || !url)
        return L"";
    std::wstring copy(url, SysStringLen(url));
    SysFreeString(url);
    return copy;
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
