#include "shell/main_window.h"

#include "board/board_dialog.h"
#include "board/board_scroll.h"
#include "board/progress_file.h"
#include "content/quiz_loader.h"
#include "judge/answer_judge.h"
#include "media/media_player.h"
#include "resources/resource_ids.h"
#include "shell/header_pane.h"
#include "win/controls.h"

#include <memory>

QuizRecord* quizRecord = nullptr;
UniqueGdiObject<HBRUSH> appBackgroundBrush;
HWND headerPaneWindow = nullptr;
HWND boardWindow = nullptr;

namespace {

// The record that start-up loads and quizRecord points at until shut-down.
std::unique_ptr<QuizRecord> loadedRecord;

bool registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // A system colour index plus one stands for that colour's brush.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

void centreOnDesktop(HWND window) {
    RECT desktop, own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    int left = desktop.left + ((desktop.right - desktop.left) - (own.right - own.left)) / 2;
    int top = desktop.top + ((desktop.bottom - desktop.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

int runMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (boardWindow && IsDialogMessageA(boardWindow, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

LRESULT onCreate(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    setFont(createControl(window, kStatusLineId, "Static", kStatusLineText, 0,
                          {725, client.bottom - 16, 130, 15}),
            defaultGuiFont(), true);
    SendMessageA(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_QUESTION)));
    return 0;
}

LRESULT onSize(HWND window, WPARAM sizeType, int width, int height) {
    if (sizeType == SIZE_MINIMIZED)
        return 0;
    if (boardWindow)
        SetWindowPos(boardWindow, nullptr, 5, 50, width - 11, height - 68, SWP_NOZORDER);
    if (headerPaneWindow)
        SetWindowPos(headerPaneWindow, nullptr, 5, 2, width - 11, 49, SWP_NOZORDER);
    SetWindowPos(GetDlgItem(window, kStatusLineId), HWND_TOP, width - 145, height - 16, 140, 15,
                 SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return 0;
}

LRESULT onCtlColorStatic(HDC dc, HWND control) {
    if (GetWindowLongA(control, GWL_ID) != kStatusLineId)
        return 0;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(appBackgroundBrush.get());
}

} // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_SIZE:
        return onSize(window, wParam, LOWORD(lParam), HIWORD(lParam));
    case WM_CLOSE:
        // The answers are saved before anything is torn down; a failed save has told the
        // player, and the window closes all the same.
        if (boardWindow)
            saveProgress(boardWindow);
        silenceRewardMessages(true);
        PostQuitMessage(0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_CTLCOLORSTATIC:
        return onCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_MOUSEWHEEL:
        if (boardWindow)
            forwardWheel(boardWindow, wParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND startPlayer(HINSTANCE instance) {
    if (!registerMainWindowClass(instance))
        return nullptr;
    appBackgroundBrush.reset(CreateSolidBrush(kAppBackgroundColour));
    loadedRecord = std::make_unique<QuizRecord>();
    quizRecord = loadedRecord.get();
    allowProgressSaving(loadQuiz(*quizRecord));
    silenceRewardMessages(false);
    startMedia();

    HWND mainWindow = CreateWindowExA(0, kMainWindowClass, quizRecord->title, WS_OVERLAPPEDWINDOW,
                                      CW_USEDEFAULT, CW_USEDEFAULT, kMainWindowWidth,
                                      kMainWindowHeight, nullptr, nullptr, instance, nullptr);
    if (!mainWindow) {
        shutdownPlayer(instance, nullptr);
        return nullptr;
    }
    centreOnDesktop(mainWindow);

    // The header comes first: building the board judges the restored answers, which writes
    // the score and the code into the header.
    headerPaneWindow =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_HEADER), mainWindow, headerPaneProc, 0);
    ShowWindow(headerPaneWindow, SW_SHOWNORMAL);
    quizRecord->headerPane = headerPaneWindow;
    boardWindow =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_BOARD), mainWindow, boardDialogProc, 0);

    ShowWindow(mainWindow, SW_SHOWNORMAL);
    ShowWindow(boardWindow, SW_SHOWNORMAL);
    // Building the board left the focus on its last field: open at the first question.
    SendMessageA(boardWindow, WM_VSCROLL, SB_TOP, 0);
    return mainWindow;
}

void shutdownPlayer(HINSTANCE instance, HWND mainWindow) {
    // The board is hidden here and goes with the main window: it holds the clip control's host
    // window, which must outlive shutdownMedia's stop of the clip. Hiding it moves the focus out
    // of its last field, which is judged once more, with the reward messages already silenced
    // by WM_CLOSE; the answers were saved there too.
    if (boardWindow)
        ShowWindow(boardWindow, SW_HIDE);
    if (headerPaneWindow)
        DestroyWindow(headerPaneWindow);
    shutdownMedia(mainWindow);
    // Every window goes before the record whose brushes and fonts they draw with.
    if (mainWindow && IsWindow(mainWindow))
        DestroyWindow(mainWindow);
    headerPaneWindow = nullptr;
    boardWindow = nullptr;

    appBackgroundBrush.reset();
    quizRecord = nullptr;
    loadedRecord.reset();
    UnregisterClassA(kMainWindowClass, instance);
}

int runPlayer(HINSTANCE instance) {
    HWND mainWindow = startPlayer(instance);
    if (!mainWindow)
        return 0;
    const int quitCode = runMessageLoop();
    shutdownPlayer(instance, mainWindow);
    return quitCode;
}
