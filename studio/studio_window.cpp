#include "studio/studio_window.h"

#include "board/board_layout.h"
#include "maker/executable_io_win.h"
#include "maker/quiz_document.h"
#include "maker/recovery_file.h"
#include "studio/build_window.h"
#include "studio/controls.h"
#include "studio/question_pane.h"
#include "studio/quiz_pane.h"
#include "studio/quiz_trial.h"
#include "studio/studio_ids.h"
#include "studio/studio_settings.h"
#include "studio/studio_texts.h"
#include "studio/wide_text.h"
#include "win/handles.h"
#include "win/process_folders.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cwchar>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kBaseDpi = 96;
constexpr int kThumbnailSize = 96;
constexpr size_t kProblemsShown = 12;

std::wstring lowerExtension(const fs::path& path) {
    std::wstring extension = path.extension().wstring();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::towlower);
    return extension;
}

// The problems of `diagnostics`, one per line, the first few.
std::wstring problemLines(const Diagnostics& diagnostics) {
    std::wstring lines;
    size_t shown = 0;
    for (const Diagnostic& problem : diagnostics.sorted()) {
        if (shown++ == kProblemsShown)
            return lines + L"...";
        lines += L"\n" + widen(formatDiagnostic(problem));
    }
    return lines;
}

// "07/12/2026 18:03", in local time.
std::wstring timeText(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_s(&local, &seconds);
    wchar_t text[40] = L"";
    std::wcsftime(text, std::size(text), L"%d/%m/%Y %H:%M", &local);
    return text;
}

// A file name made of a quiz's title: characters that names cannot hold become spaces.
std::wstring executableName(const std::string& title) {
    std::wstring name = quizTextToWide(title);
    for (wchar_t& c : name) {
        if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
            c = L' ';
    }
    return (name.empty() ? L"quiz" : name) + L".exe";
}

// A field of the quiz named as the window names it: "question[3].answers[2]" is "question 3,
// R\u00e9ponse 2".
std::wstring fieldName(const std::string& field) {
    const std::pair<std::string_view, const wchar_t*> names[] = {
        {"answers[", L"R\u00e9ponse "},      {"answer", texts::kAnswer},
        {"reward_text", texts::kRewardText}, {"reward_picture", L"Image de r\u00e9compense"},
        {"text", texts::kQuestionText},      {"title", texts::kTitle},
        {"creator", texts::kCreator},        {"explanation", texts::kExplanation},
        {"answer_labels", texts::kLabels},   {"codes", L"Codes"}};
    const std::optional<int> question = questionOfField(field);
    const size_t dot = field.find("].");
    const std::string key = question && dot != std::string::npos ? field.substr(dot + 2) : field;
    std::wstring name = widen(key);
    for (auto [word, text] : names) {
        if (key.starts_with(word)) {
            name = text + widen(key.substr(word.size()));
            break;
        }
    }
    std::replace(name.begin(), name.end(), L']', L' ');
    std::replace(name.begin(), name.end(), L'[', L' ');
    while (!name.empty() && name.back() == L' ')
        name.pop_back();
    return question ? texts::kQuestion + (L" " + std::to_wstring(*question + 1) + L", " + name)
                    : name;
}

// A problem as the list of checks shows it.
std::wstring checkLine(const Diagnostic& problem) {
    return std::wstring(problem.severity == Severity::kError ? texts::kError : texts::kWarning) +
           L" \u2014 " + fieldName(problem.field) + L" : " + widen(problem.message);
}

class StudioWindow {
  public:
    StudioWindow(StudioDialogs& dialogs, fs::path settingsFile, fs::path recoveryFolder)
        : dialogs_(dialogs), settingsFile_(std::move(settingsFile)),
          settings_(loadSettings(settingsFile_)), recoveryFolder_(std::move(recoveryFolder)) {}

    const StudioSettings& settings() const { return settings_; }

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
            auto* self = static_cast<StudioWindow*>(created->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<StudioWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self)
            return DefWindowProcW(window, message, wParam, lParam);
        switch (message) {
        case WM_CREATE:
            return self->onCreate();
        case WM_SIZE:
            self->layout();
            return 0;
        case WM_GETMINMAXINFO:
            self->onMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_COMMAND:
            self->onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return self->onNotify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush = self->questions_.staticColour(reinterpret_cast<HWND>(lParam),
                                                             reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<LRESULT>(brush);
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_DRAWITEM:
            self->onDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_TIMER:
            if (wParam == kCheckTimer)
                self->runChecks();
            else if (wParam == kRecoveryTimer)
                self->keepForRecovery();
            return 0;
        case kTrialReady:
            self->startTrial(
                std::unique_ptr<QuizResources>(reinterpret_cast<QuizResources*>(lParam)));
            return 0;
        case kOfferRecovery:
            self->offerRecovery();
            return 0;
        case WM_MOUSEMOVE:
            if (self->questions_.dragging())
                self->questions_.dragOver({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_LBUTTONUP:
            if (self->questions_.dragging() &&
                self->questions_.drop({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                                      self->document_))
                self->changed();
            return 0;
        case WM_CAPTURECHANGED:
            self->questions_.cancelDrag();
            return 0;
        case WM_DROPFILES:
            self->onDrop(reinterpret_cast<HDROP>(wParam));
            return 0;
        case kThumbnailReady:
            self->questions_.takeThumbnail(
                std::unique_ptr<PreparedThumbnail>(reinterpret_cast<PreparedThumbnail*>(lParam)),
                self->document_);
            return 0;
        case kOpenPath:
            return self->open(*reinterpret_cast<const fs::path*>(lParam));
        case WM_DPICHANGED:
            self->onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            if (self->confirmDiscard())
                DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            self->onDestroy();
            return 0;
        case WM_NCDESTROY:
            delete self;
            return DefWindowProcW(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
        }
    }

  private:
    double scale() const { return double(dpi_) / kBaseDpi; }
    int scaled(int pixels) const { return int(pixels * scale() + 0.5); }

    void makeFonts() {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        LOGFONTW face = metrics.lfMessageFont;
        face.lfHeight = -MulDiv(9, dpi_, 72);
        font_.reset(CreateFontIndirectW(&face));
        face.lfHeight = -MulDiv(14, dpi_, 72);
        face.lfWeight = FW_BOLD;
        dropFont_.reset(CreateFontIndirectW(&face));
    }

    LRESULT onCreate() {
        dpi_ = GetDpiForWindow(window_);
        makeFonts();
        HFONT font = font_.get();
        const std::pair<int, const wchar_t*> tools[] = {
            {kNewButton, texts::kNew},         {kOpenButton, texts::kOpen},
            {kAddButton, texts::kAddPictures}, {kSaveButton, texts::kSave},
            {kSaveAsButton, texts::kSaveAs},   {kBuildButton, texts::kBuild},
            {kTryButton, texts::kTry}};
        for (auto [id, label] : tools)
            toolbar_.push_back(makeButton(window_, id, label, font));
        quiz_.create(window_, font);
        questions_.create(window_, font, scaled(kThumbnailSize));
        dropHint_ = makeControl(window_, kDropHint, L"STATIC", texts::kDropHint,
                                SS_CENTER | SS_NOPREFIX | WS_BORDER, dropFont_.get());
        const std::pair<int, const wchar_t*> opens[] = {
            {kOpenFolderButton, texts::kOpenFolder},
            {kOpenSourceButton, texts::kOpenSource},
            {kOpenExecutableButton, texts::kOpenExecutable}};
        for (auto [id, label] : opens)
            dropButtons_.push_back(makeButton(window_, id, label, font));
        checks_ =
            makeControl(window_, kCheckList, L"LISTBOX", L"",
                        WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                        font, WS_EX_CLIENTEDGE);
        summary_ = makeControl(window_, kCheckSummary, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, font);
        DragAcceptFiles(window_, TRUE);
        showDocument();
        // Once the window shows, and after a quiz named on the command line is open.
        PostMessageW(window_, kOfferRecovery, 0, 0);
        return 0;
    }

    void onMinMaxInfo(MINMAXINFO& limits) const {
        limits.ptMinTrackSize = {scaled(900), scaled(600)};
    }

    void layout() {
        RECT client;
        GetClientRect(window_, &client);
        const int pad = scaled(8), row = scaled(24), gap = scaled(6);
        // The buttons share the window's width, up to a comfortable width each.
        const int buttons = int(toolbar_.size());
        const int buttonWidth = std::min<int>(
            scaled(140), (client.right - 2 * pad - (buttons - 1) * gap) / std::max(buttons, 1));
        int x = pad;
        for (HWND button : toolbar_) {
            place(button, x, pad, buttonWidth, row + gap);
            x += buttonWidth + gap;
        }
        const int top = pad + row + gap + pad;
        const int summaryTop = client.bottom - pad - row;
        const int checksTop = summaryTop - gap - scaled(96);
        place(summary_, pad, summaryTop, client.right - 2 * pad, row);
        place(checks_, pad, checksTop, client.right - 2 * pad, scaled(96));
        const int quizWidth = scaled(270);
        quiz_.layout(pad, top, quizWidth, row);
        const RECT area = {pad + quizWidth + 2 * pad, top, client.right - pad, checksTop - pad};
        questions_.layout(area, row, scaled(kPictureBox));
        const int listWidth = area.right - area.left - scaled(kPictureBox) - 2 - row / 3;
        place(dropHint_, area.left, area.top, listWidth, (area.bottom - area.top) * 2 / 3);
        int buttonTop = area.top + (area.bottom - area.top) * 2 / 3 + gap;
        for (HWND button : dropButtons_) {
            place(button, area.left + (listWidth - scaled(260)) / 2, buttonTop, scaled(260),
                  row + gap);
            buttonTop += row + 2 * gap;
        }
        questions_.fitColumns(document_.quiz());
    }

    void onDpiChanged(int dpi, const RECT& suggested) {
        dpi_ = dpi;
        makeFonts();
        for (HWND child = GetWindow(window_, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            SendMessageW(
                child, WM_SETFONT,
                reinterpret_cast<WPARAM>(child == dropHint_ ? dropFont_.get() : font_.get()), TRUE);
        SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void onCommand(int id, int code) {
        switch (id) {
        case kNewButton:
            if (confirmDiscard())
                replaceDocument(QuizDocument());
            return;
        case kOpenButton:
        case kOpenCommand:
            return chooseAndOpen(texts::kQuizFilter);
        case kOpenSourceButton:
            return chooseAndOpen(texts::kSourceFilter);
        case kOpenExecutableButton:
            return chooseAndOpen(texts::kExecutableFilter);
        case kOpenFolderButton:
            if (auto folder =
                    dialogs_.chooseFolder(window_, texts::kChooseFolder, settings_.lastFolder))
                open(*folder);
            return;
        case kRewardPictureButton:
            return chooseRewardPicture();
        case kAddButton:
            return addFiles(dialogs_.chooseFiles(window_, texts::kChooseMedia, texts::kMediaFilter,
                                                 settings_.lastFolder));
        case kSaveButton:
            save(false);
            return;
        case kSaveAsButton:
            save(true);
            return;
        case kBuildButton:
            return build();
        case kTryButton:
            if (refuseWhileErrors())
                return;
            startTrialBuild(window_, document_.quiz());
            return;
        case kUndoCommand:
        case kRedoCommand:
            if (id == kUndoCommand ? document_.undo() : document_.redo()) {
                showDocument();
                scheduleRecovery();
            }
            return;
        case kMoveUpCommand:
        case kMoveDownCommand:
            if (questions_.moveSelected(document_, id == kMoveUpCommand ? -1 : 1))
                changed();
            return;
        case kCheckList:
            if (code == LBN_SELCHANGE)
                selectCheckedQuestion();
            return;
        default:
            if (quiz_.command(id, code, document_, dialogs_)) {
                if (code == CBN_SELCHANGE)
                    questions_.show(document_);
                quiz_.show(document_.quiz());
                changed();
            } else if (questions_.command(id, code, document_)) {
                changed();
            }
        }
    }

    LRESULT onNotify(const NMHDR& header) {
        if (questions_.notify(header, document_))
            changed();
        return 0;
    }

    void onDrawItem(const DRAWITEMSTRUCT& item) {
        if (item.CtlID == kColourSwatch)
            quiz_.drawSwatch(item);
        else if (item.CtlID == kPreview)
            questions_.drawPreview(item, document_);
    }

    void onDrop(HDROP drop) {
        std::vector<fs::path> files;
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
            name.resize(DragQueryFileW(drop, i, name.data(), UINT(name.size())));
            files.emplace_back(name);
        }
        POINT at{};
        DragQueryPoint(drop, &at);
        DragFinish(drop);
        std::error_code failure;
        const bool quiz = files.size() == 1 && (fs::is_directory(files[0], failure) ||
                                                lowerExtension(files[0]) == L".toml" ||
                                                lowerExtension(files[0]) == L".exe");
        if (quiz)
            open(files[0]);
        else
            addFiles(files, questions_.insertionRow(at));
    }

    void onDestroy() {
        KillTimer(window_, kCheckTimer);
        // Closed as the author chose, saved or not: nothing to bring back.
        forgetRecovery();
        trial_.close();
        questions_.stopThumbnails();
        MSG left;
        while (PeekMessageW(&left, window_, kThumbnailReady, kThumbnailReady, PM_REMOVE))
            delete reinterpret_cast<PreparedThumbnail*>(left.lParam);
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(window_, &placement);
        settings_.place = placement.rcNormalPosition;
        settings_.maximized = placement.showCmd == SW_SHOWMAXIMIZED;
        saveSettings(settingsFile_, settings_);
        PostQuitMessage(0);
    }

    // Opening and adding.

    void chooseAndOpen(const wchar_t* filter) {
        if (auto file =
                dialogs_.chooseFile(window_, texts::kChooseQuiz, filter, settings_.lastFolder))
            open(*file);
    }

    bool open(const fs::path& path) {
        if (!confirmDiscard())
            return false;
        Diagnostics diagnostics;
        std::optional<QuizDocument> opened;
        std::error_code failure;
        if (fs::is_directory(path, failure))
            opened = QuizDocument::fromFolder(path, diagnostics);
        else if (lowerExtension(path) == L".exe")
            opened = QuizDocument::fromExecutable(path, executables_, diagnostics);
        else
            opened = QuizDocument::fromSource(path, diagnostics);
        if (!opened) {
            dialogs_.tell(window_, texts::kOpenFailed + problemLines(diagnostics), true);
            return false;
        }
        settings_.lastFolder = fs::is_directory(path, failure) ? path : path.parent_path();
        replaceDocument(std::move(*opened));
        return true;
    }

    // Before question `at`, at the end without one.
    void addFiles(const std::vector<fs::path>& files, std::optional<int> at = std::nullopt) {
        if (files.empty())
            return;
        const int first = at.value_or(int(document_.quiz().questions.size()));
        Diagnostics diagnostics;
        const int added = document_.addMediaFiles(files, diagnostics, size_t(first));
        if (!diagnostics.all().empty())
            dialogs_.tell(window_, texts::kOpenWarnings + problemLines(diagnostics), false);
        if (added == 0)
            return;
        settings_.lastFolder = files[0].parent_path();
        showDocument();
        questions_.select(first);
    }

    void chooseRewardPicture() {
        const std::optional<fs::path> file = dialogs_.chooseFile(
            window_, texts::kChooseRewardPicture, texts::kPictureFilter, settings_.lastFolder);
        if (!file)
            return;
        Diagnostics diagnostics;
        const bool set = questions_.setRewardPicture(document_, *file, diagnostics);
        if (!diagnostics.all().empty())
            dialogs_.tell(window_, texts::kOpenWarnings + problemLines(diagnostics), false);
        if (set)
            changed();
    }

    void replaceDocument(QuizDocument document) {
        forgetRecovery();
        document_ = std::move(document);
        showDocument();
        questions_.select(0);
    }

    void showDocument() {
        quiz_.show(document_.quiz());
        questions_.show(document_);
        const bool empty = document_.quiz().questions.empty();
        questions_.setVisible(!empty);
        ShowWindow(dropHint_, empty ? SW_SHOW : SW_HIDE);
        for (HWND button : dropButtons_)
            ShowWindow(button, empty ? SW_SHOW : SW_HIDE);
        runChecks();
        showTitle();
    }

    // After each change of the author's: the title says so and the checks run after a pause.
    void changed() {
        showTitle();
        const bool empty = document_.quiz().questions.empty();
        if (IsWindowVisible(dropHint_) != empty)
            showDocument();
        SetTimer(window_, kCheckTimer, kCheckPauseMs, nullptr);
        scheduleRecovery();
    }

    void showTitle() {
        std::wstring name = widen(document_.displayName());
        if (name.empty())
            name = texts::kNewQuiz;
        std::replace(name.begin(), name.end(), L'/', L'\\');
        const std::wstring title =
            name + (document_.changed() ? L"*" : L"") + L" - " + texts::kAppName;
        SetWindowTextW(window_, title.c_str());
    }

    // Checks.

    // Shows the checks of the quiz as it stands, and gives them.
    Diagnostics runChecks() {
        KillTimer(window_, kCheckTimer);
        Diagnostics diagnostics = document_.check();
        SendMessageW(checks_, WM_SETREDRAW, FALSE, 0);
        ListBox_ResetContent(checks_);
        int widest = 0;
        for (const Diagnostic& problem : diagnostics.sorted()) {
            const std::wstring line =
                std::wstring(problem.severity == Severity::kError ? texts::kError
                                                                  : texts::kWarning) +
                L" \u2014 " + fieldName(problem.field) + L" : " + widen(problem.message);
            const int item = ListBox_AddString(checks_, line.c_str());
            widest = std::max(widest, textWidth(line));
            ListBox_SetItemData(checks_, item, questionOfField(problem.field).value_or(-1));
        }
        ListBox_SetHorizontalExtent(checks_, widest + scaled(8));
        questions_.markChecks(diagnostics, int(document_.quiz().questions.size()));
        SendMessageW(checks_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(checks_, nullptr, TRUE);
        const int errors = diagnostics.errorCount();
        setText(summary_, errors ? formatText(texts::kErrorsLeft, errors) : texts::kReady);
        return diagnostics;
    }

    int textWidth(const std::wstring& text) const {
        const UniqueWindowDc dc = getWindowDc(checks_);
        const UniqueSelection font = selectObject(dc.get().dc, font_.get());
        SIZE size{};
        GetTextExtentPoint32W(dc.get().dc, text.c_str(), int(text.size()), &size);
        return size.cx;
    }

    void selectCheckedQuestion() {
        const int item = ListBox_GetCurSel(checks_);
        const int question = item < 0 ? -1 : int(ListBox_GetItemData(checks_, item));
        if (question >= 0 && question < int(document_.quiz().questions.size()))
            questions_.select(question);
    }

    // Saving.

    bool confirmDiscard() {
        if (!document_.changed() || document_.quiz().questions.empty())
            return true;
        const std::wstring name = widen(document_.displayName());
        switch (dialogs_.askToSave(window_, name.empty() ? texts::kNewQuiz : name)) {
        case Answer::kYes:
            return save(false);
        case Answer::kNo:
            return true;
        default:
            return false;
        }
    }

    bool mayReplace(const fs::path& file) {
        std::error_code failure;
        return !fs::exists(file, failure) ||
               dialogs_.ask(window_, formatText(texts::kAskReplace, file.filename().c_str()),
                            false) == Answer::kYes;
    }

    std::optional<fs::path> chooseSource(bool choose) {
        const fs::path current = document_.savePath();
        if (!choose && !current.empty() && !document_.mediaAreTemporary())
            return current;
        std::optional<fs::path> target;
        if (document_.mediaAreTemporary()) {
            if (auto folder =
                    dialogs_.chooseFolder(window_, texts::kChooseSaveFolder, settings_.lastFolder))
                target = *folder / L"quiz.toml";
        } else {
            target = dialogs_.chooseNewFile(
                window_, texts::kChooseSource, texts::kSourceFilter, L"toml",
                current.empty() ? settings_.lastFolder / L"quiz.toml" : current);
        }
        if (!target || (*target != current && !mayReplace(*target)))
            return std::nullopt;
        return target;
    }

    bool save(bool choose) {
        const std::optional<fs::path> target = chooseSource(choose);
        if (!target)
            return false;
        Diagnostics diagnostics;
        if (!document_.save(*target, diagnostics)) {
            dialogs_.tell(window_, texts::kSaveFailed + problemLines(diagnostics), true);
            return false;
        }
        settings_.lastFolder = target->parent_path();
        forgetRecovery();
        showTitle();
        runChecks();
        return true;
    }

    // Building.

    // A quiz with errors is neither built nor tried: the author is told which.
    bool refuseWhileErrors() {
        const Diagnostics diagnostics = runChecks();
        if (!diagnostics.hasErrors())
            return false;
        std::wstring errors = texts::kCannotBuild;
        for (const Diagnostic& problem : diagnostics.sorted()) {
            if (problem.severity == Severity::kError)
                errors += L"\n" + checkLine(problem);
        }
        dialogs_.tell(window_, errors, true);
        return true;
    }

    void build() {
        if (refuseWhileErrors())
            return;
        const fs::path folder = document_.savePath().empty() || document_.mediaAreTemporary()
                                    ? settings_.lastFolder
                                    : document_.savePath().parent_path();
        const std::optional<fs::path> output =
            dialogs_.chooseNewFile(window_, texts::kChooseExecutable, texts::kExecutableFilter,
                                   L"exe", folder / executableName(document_.quiz().title.value));
        if (!output || !mayReplace(*output))
            return;
        startBuild(window_, document_.quiz(), *output);
    }

    // Trying (F5): the resources arrive from the build window.
    void startTrial(std::unique_ptr<QuizResources> resources) {
        std::wstring error;
        if (!trial_.start(*resources, std::max(questions_.selected(), 0), error))
            dialogs_.tell(window_, std::wstring(texts::kTryFailed) + L"\n" + error, true);
    }

    // Recovery: the quiz is kept a moment after each change, and given up once saved or
    // closed as the author chose.

    void scheduleRecovery() {
        if (!recoveryFolder_.empty())
            SetTimer(window_, kRecoveryTimer, kRecoveryPauseMs, nullptr);
    }

    void keepForRecovery() {
        KillTimer(window_, kRecoveryTimer);
        if (recoveryFolder_.empty() || !document_.changed())
            return;
        const fs::path file = recoveryFile(recoveryFolder_, document_.quiz(), document_.savePath());
        if (file != recoveryFile_)
            forgetRecovery();
        std::string reason;
        if (writeRecovery(recoveryFolder_, document_.quiz(), document_.savePath(), reason,
                          GetCurrentProcessId()))
            recoveryFile_ = file;
    }

    void forgetRecovery() {
        KillTimer(window_, kRecoveryTimer);
        if (!recoveryFile_.empty())
            removeRecovery(recoveryFile_);
        recoveryFile_.clear();
    }

    // What a studio that ended without saving left: each quiz is offered back, newest first,
    // until the author takes one; those declined are given up.
    void offerRecovery() {
        if (recoveryFolder_.empty() || document_.changed())
            return;
        for (const RecoveryEntry& left : listRecoveries(recoveryFolder_)) {
            // Another studio still open keeps its own quiz: neither offered nor given up here.
            const bool kept = left.writer != 0 && left.writer != GetCurrentProcessId() &&
                              processRuns(left.writer);
            if (!left.problem.empty() || kept)
                continue;
            const std::wstring from =
                left.savedAs.empty() ? widen(left.origin) : left.savedAs.wstring();
            const std::wstring question =
                formatText(texts::kRecover, timeText(left.written).c_str(),
                           widen(left.title).c_str(), from.c_str());
            if (dialogs_.ask(window_, question, false) != Answer::kYes) {
                removeRecovery(left.file);
                continue;
            }
            Diagnostics read;
            if (std::optional<QuizSource> quiz = readRecovery(left.file, read)) {
                replaceDocument(QuizDocument::recovered(std::move(*quiz), left.savedAs));
                recoveryFile_ = left.file; // kept until the quiz is saved or given up
                return;
            }
            dialogs_.tell(window_, texts::kOpenFailed + problemLines(read), true);
        }
    }

    HWND window_ = nullptr;
    StudioDialogs& dialogs_;
    fs::path settingsFile_;
    StudioSettings settings_;
    WindowsExecutableIo executables_;
    int dpi_ = kBaseDpi;
    UniqueGdiObject<HFONT> font_, dropFont_;
    QuizDocument document_;
    QuizPane quiz_;
    QuestionPane questions_;
    std::vector<HWND> toolbar_, dropButtons_;
    HWND dropHint_ = nullptr, checks_ = nullptr, summary_ = nullptr;
    const fs::path recoveryFolder_;
    fs::path recoveryFile_;
    QuizTrial trial_;
};

void registerClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = StudioWindow::procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    windowClass.lpszClassName = kStudioWindowClass;
    RegisterClassExW(&windowClass);
}

} // namespace

HWND createStudioWindow(StudioDialogs& dialogs, const fs::path& settingsFile,
                        const fs::path& recoveryFolder, int show) {
    registerClass();
    auto* self = new StudioWindow(dialogs, settingsFile, recoveryFolder);
    const RECT place = self->settings().place;
    const bool remembered = place.right - place.left > 200 && place.bottom - place.top > 200;
    HWND window = CreateWindowExW(
        WS_EX_ACCEPTFILES, kStudioWindowClass, texts::kAppName,
        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, remembered ? place.left : CW_USEDEFAULT,
        remembered ? place.top : CW_USEDEFAULT, remembered ? place.right - place.left : 1000,
        remembered ? place.bottom - place.top : 720, nullptr, nullptr, GetModuleHandleW(nullptr),
        self);
    if (!window) {
        delete self;
        return nullptr;
    }
    ShowWindow(window, self->settings().maximized ? SW_SHOWMAXIMIZED : show);
    UpdateWindow(window);
    return window;
}

bool openInStudio(HWND window, const fs::path& path) {
    return SendMessageW(window, kOpenPath, 0, reinterpret_cast<LPARAM>(&path)) != 0;
}

HACCEL createStudioAccelerators() {
    ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'N', kNewButton},
        {FVIRTKEY | FCONTROL, 'O', kOpenCommand},
        {FVIRTKEY | FCONTROL, 'S', kSaveButton},
        {FVIRTKEY | FCONTROL | FSHIFT, 'S', kSaveAsButton},
        {FVIRTKEY | FALT, VK_UP, kMoveUpCommand},
        {FVIRTKEY | FALT, VK_DOWN, kMoveDownCommand},
        {FVIRTKEY | FCONTROL, 'Z', kUndoCommand},
        {FVIRTKEY | FCONTROL, 'Y', kRedoCommand},
        {FVIRTKEY | FCONTROL, 'L', kTurnLeftButton},
        {FVIRTKEY | FCONTROL, 'R', kTurnRightButton},
        {FVIRTKEY, VK_F5, kTryButton},
    };
    return CreateAcceleratorTableW(keys, int(std::size(keys)));
}
