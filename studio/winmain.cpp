// plimo-studio.exe: a window to make, edit and build a quiz. Started with a folder, a
// quiz.toml or a quiz .exe (what Windows passes when one is dropped on its icon), it opens it.
#include "studio/studio_dialogs.h"
#include "studio/studio_settings.h"
#include "studio/studio_window.h"
#include "win/handles.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windows.h>

namespace {

struct AcceleratorTraits : NullIsInvalid<HACCEL> {
    static void release(HACCEL table) { DestroyAcceleratorTable(table); }
};

struct ArgumentsTraits : NullIsInvalid<wchar_t**> {
    static void release(wchar_t** arguments) { LocalFree(arguments); }
};

int runMessageLoop(HWND window) {
    const UniqueHandle<AcceleratorTraits> keys(createStudioAccelerators());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The keys of the whole window first, then Tab between its controls.
        if (TranslateAcceleratorW(window, keys.get(), &message))
            continue;
        if (IsWindow(window) && GetAncestor(message.hwnd, GA_ROOT) == window &&
            IsDialogMessageW(window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                             ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const UniqueComInitialization com = initializeCom(); // the folder and file dialogs
    WindowsDialogs dialogs;
    HWND window = createStudioWindow(dialogs, defaultSettingsFile(), defaultRecoveryFolder(), show);
    if (!window)
        return 1;
    int count = 0;
    const UniqueHandle<ArgumentsTraits> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    if (arguments && count > 1)
        openInStudio(window, arguments.get()[1]);
    return runMessageLoop(window);
}
