#include "studio/build_window.h"

#include "maker/executable_io_win.h"
#include "maker/quiz_document.h"
#include "studio/controls.h"
#include "studio/studio_ids.h"
#include "studio/studio_texts.h"
#include "studio/wide_text.h"
#include "win/handles.h"

#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <thread>

namespace {

namespace fs = std::filesystem;

// One build at a time, for a file or for a try.
void enableBuilding(HWND owner, bool enabled) {
    EnableWindow(GetDlgItem(owner, kBuildButton), enabled);
    EnableWindow(GetDlgItem(owner, kTryButton), enabled);
}

struct BuildOutcome {
    bool built = false;
    bool cancelled = false;
    std::wstring problems; // one per line
};

class BuildWindow {
  public:
    BuildWindow(QuizSource quiz, fs::path output)
        : quiz_(std::move(quiz)), output_(std::move(output)) {}

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* self =
                static_cast<BuildWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<BuildWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self)
            return DefWindowProcW(window, message, wParam, lParam);
        switch (message) {
        case WM_CREATE:
            return self->onCreate();
        case WM_COMMAND:
            self->onCommand(LOWORD(wParam));
            return 0;
        case kBuildAdvanced:
            self->onAdvanced(int(wParam), int(lParam));
            return 0;
        case kBuildFinished:
            self->onFinished(
                std::unique_ptr<BuildOutcome>(reinterpret_cast<BuildOutcome*>(lParam)));
            return 0;
        case WM_CLOSE:
            self->onCommand(self->worker_.joinable() && !self->finished_ ? kBuildCancel
                                                                         : kBuildClose);
            return 0;
        case WM_NCDESTROY:
            delete self; // stops and waits for the worker
            return DefWindowProcW(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
        }
    }

    ~BuildWindow() {
        worker_.request_stop();
        if (worker_.joinable())
            worker_.join();
        MSG left;
        while (PeekMessageW(&left, window_, kBuildFinished, kBuildFinished, PM_REMOVE))
            delete reinterpret_cast<BuildOutcome*>(left.lParam);
        if (owner_)
            enableBuilding(owner_, true);
    }

    HWND owner_ = nullptr;

  private:
    LRESULT onCreate() {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
        HFONT font = font_.get();
        status_ = makeControl(window_, kBuildStatus, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, font);
        progress_ = makeControl(window_, kBuildProgress, PROGRESS_CLASSW, L"", 0, font);
        const std::pair<int, const wchar_t*> buttons[] = {{kBuildPlay, texts::kPlay},
                                                          {kBuildShowFolder, texts::kShowFolder},
                                                          {kBuildCancel, texts::kCancel}};
        int x = 12;
        for (auto [id, label] : buttons) {
            HWND button = makeButton(window_, id, label, font);
            place(button, x, 100, 140, 28);
            EnableWindow(button, id == kBuildCancel);
            x += 150;
        }
        place(status_, 12, 12, 440, 48);
        place(progress_, 12, 64, 440, 22);
        setText(status_, formatText(texts::kPreparing, 0, int(quiz_.questions.size())));
        worker_ =
            std::jthread([this, window = window_](std::stop_token stop) { build(window, stop); });
        return 0;
    }

    // On the worker: touches nothing but its copy of the quiz, and posts to the window.
    void build(HWND window, std::stop_token stop) {
        auto outcome = std::make_unique<BuildOutcome>();
        Diagnostics diagnostics;
        std::optional<QuizResources> resources =
            buildDocumentResources(quiz_, diagnostics, stop, [window](int done, int total) {
                PostMessageW(window, kBuildAdvanced, done, total);
            });
        if (resources && trial()) {
            // The studio window writes and starts the try: the resources go to it.
            auto owned = std::make_unique<QuizResources>(std::move(*resources));
            outcome->built =
                PostMessageW(owner_, kTrialReady, 0, reinterpret_cast<LPARAM>(owned.get()));
            if (outcome->built)
                owned.release();
        } else if (resources) {
            const ExecutableResult written =
                WindowsExecutableIo().writeQuiz(output_, {}, *resources);
            outcome->built = written.ok();
            if (!written.ok())
                outcome->problems = widen(written.message);
        }
        outcome->cancelled = !resources && !diagnostics.hasErrors();
        for (const Diagnostic& problem : diagnostics.sorted())
            outcome->problems += widen(formatDiagnostic(problem)) + L"\n";
        if (PostMessageW(window, kBuildFinished, 0, reinterpret_cast<LPARAM>(outcome.get())))
            outcome.release();
    }

    void onAdvanced(int done, int total) {
        SendMessageW(progress_, PBM_SETRANGE32, 0, total);
        SendMessageW(progress_, PBM_SETPOS, done, 0);
        setText(status_, done < total ? formatText(texts::kPreparing, done, total)
                                      : formatText(texts::kWriting, output_.filename().c_str()));
    }

    void onFinished(std::unique_ptr<BuildOutcome> outcome) {
        finished_ = true;
        if (trial() && outcome->built) {
            DestroyWindow(window_);
            return;
        }
        if (outcome->built)
            setText(status_, formatText(texts::kBuilt, output_.filename().c_str()));
        else if (outcome->cancelled)
            setText(status_, texts::kCancelled);
        else
            setText(status_, std::wstring(texts::kBuildFailed) + L"\n" + outcome->problems);
        EnableWindow(GetDlgItem(window_, kBuildPlay), outcome->built);
        EnableWindow(GetDlgItem(window_, kBuildShowFolder), outcome->built);
        SetDlgItemTextW(window_, kBuildCancel, texts::kClose);
        EnableWindow(GetDlgItem(window_, kBuildCancel), TRUE);
        SetFocus(GetDlgItem(window_, outcome->built ? kBuildPlay : kBuildCancel));
    }

    void onCommand(int id) {
        switch (id) {
        case kBuildCancel:
            if (!finished_) {
                worker_.request_stop();
                EnableWindow(GetDlgItem(window_, kBuildCancel), FALSE);
                return;
            }
            [[fallthrough]];
        case kBuildClose:
            DestroyWindow(window_);
            return;
        case kBuildPlay:
            ShellExecuteW(window_, L"open", output_.c_str(), nullptr, output_.parent_path().c_str(),
                          SW_SHOWNORMAL);
            return;
        case kBuildShowFolder: {
            const std::wstring select = L"/select,\"" + output_.wstring() + L"\"";
            ShellExecuteW(window_, L"open", L"explorer.exe", select.c_str(), nullptr,
                          SW_SHOWNORMAL);
            return;
        }
        default:
            return;
        }
    }

    // Building for a try: no file of the author's is written.
    bool trial() const { return output_.empty(); }

    HWND window_ = nullptr, status_ = nullptr, progress_ = nullptr;
    UniqueGdiObject<HFONT> font_;
    QuizSource quiz_;
    fs::path output_;
    std::jthread worker_;
    bool finished_ = false;
};

void registerClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BuildWindow::procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kBuildWindowClass;
    RegisterClassExW(&windowClass);
}

// The build window over `owner`, building into `output` (empty: for a try).
HWND openBuildWindow(HWND owner, QuizSource quiz, fs::path output, const wchar_t* caption) {
    registerClass();
    auto* self = new BuildWindow(std::move(quiz), std::move(output));
    self->owner_ = owner;
    RECT frame = {0, 0, 464, 140};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    RECT ownerPlace;
    GetWindowRect(owner, &ownerPlace);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME, kBuildWindowClass, caption,
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                                  (ownerPlace.left + ownerPlace.right - width) / 2,
                                  (ownerPlace.top + ownerPlace.bottom - height) / 2, width, height,
                                  owner, nullptr, GetModuleHandleW(nullptr), self);
    if (!window) {
        delete self;
        return nullptr;
    }
    enableBuilding(owner, false);
    return window;
}

} // namespace

HWND startBuild(HWND owner, QuizSource quiz, fs::path output) {
    return openBuildWindow(owner, std::move(quiz), std::move(output), texts::kBuilding);
}

HWND startTrialBuild(HWND owner, QuizSource quiz) {
    return openBuildWindow(owner, std::move(quiz), {}, texts::kTrying);
}
