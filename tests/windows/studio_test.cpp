// The studio's window with real messages: a folder dropped on it, answers typed, a row moved,
// the checks, a save, a build, and the built quiz opened again.
#include "maker/executable_io_win.h"
#include "maker/picture_preparation.h"
#include "maker/quiz_reader.h"
#include "maker/source_reader.h"
#include "studio/build_window.h"
#include "studio/question_pane.h"
#include "studio/studio_ids.h"
#include "studio/studio_settings.h"
#include "studio/studio_window.h"
#include "tests/windows/support.h"
#include "win/handles.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>

#include <functional>

namespace {

namespace fs = std::filesystem;

const fs::path kFlags = fs::path(PLIMO_SOURCE_DIR) / "samples" / "drapeaux" / "pictures";

// Answers in the dialogs' place and keeps what the window told or asked.
struct ScriptedDialogs final : StudioDialogs {
    std::optional<fs::path> file, newFile;
    Answer answer = Answer::kNo;
    bool realSaveQuestion = false; // Windows' own dialog, pressed by the test
    std::vector<std::wstring> asked, told;

    std::optional<fs::path> chooseFolder(HWND, const wchar_t*, const fs::path&) override {
        return std::nullopt;
    }
    std::optional<fs::path> chooseFile(HWND, const wchar_t*, const wchar_t*,
                                       const fs::path&) override {
        return file;
    }
    std::vector<fs::path> chooseFiles(HWND, const wchar_t*, const wchar_t*,
                                      const fs::path&) override {
        return {};
    }
    std::optional<fs::path> chooseNewFile(HWND, const wchar_t*, const wchar_t*, const wchar_t*,
                                          const fs::path&) override {
        return newFile;
    }
    std::optional<COLORREF> chooseColour(HWND, COLORREF) override { return std::nullopt; }
    Answer ask(HWND, const std::wstring& question, bool) override {
        asked.push_back(question);
        return answer;
    }
    void tell(HWND, const std::wstring& message, bool) override { told.push_back(message); }
    Answer askToSave(HWND owner, const std::wstring& name) override {
        asked.push_back(name);
        return realSaveQuestion ? WindowsDialogs().askToSave(owner, name) : answer;
    }
};

// The button a timer presses in the studio's modal question, and whether it found it.
std::wstring buttonToPress;
bool buttonPressed = false;
int pressAttempts = 0;

BOOL CALLBACK pressIfNamed(HWND control, LPARAM) {
    wchar_t text[100] = L"";
    GetWindowTextW(control, text, 100);
    if (buttonToPress != text)
        return TRUE;
    buttonPressed = true;
    SendMessageW(control, BM_CLICK, 0, 0);
    return FALSE;
}

// The studio's question: a dialog of this thread's, so that no window of a test running beside
// this one is taken for it.
BOOL CALLBACK findQuestion(HWND window, LPARAM found) {
    wchar_t kind[16] = L"";
    GetClassNameW(window, kind, 16);
    if (std::wstring_view(kind) != L"#32770" || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Runs inside the question's own message loop, where the question may take a while to come on a
// busy machine; gives up after a minute by cancelling.
void CALLBACK pressButton(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND question = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findQuestion, reinterpret_cast<LPARAM>(&question));
    if (question)
        EnumChildWindows(question, pressIfNamed, 0);
    if (buttonPressed || ++pressAttempts == 300) {
        KillTimer(nullptr, timer);
        if (!buttonPressed && question)
            SendMessageW(question, WM_COMMAND, IDCANCEL, 0);
    }
}

// Closes the window as its close box does, and presses `button` in the question it asks.
bool closeAndPress(HWND window, const std::wstring& button) {
    buttonToPress = button;
    buttonPressed = false;
    pressAttempts = 0;
    SetTimer(nullptr, 0, 200, pressButton);
    SendMessageW(window, WM_CLOSE, 0, 0);
    return buttonPressed;
}

// The size of the picture in row `row`'s thumbnail: its part that is not the white around it.
SIZE thumbnailExtent(HWND list, int image) {
    HIMAGELIST images = ListView_GetImageList(list, LVSIL_SMALL);
    int side = 0, ignored = 0;
    ImageList_GetIconSize(images, &side, &ignored);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ before = SelectObject(dc, bitmap);
    RECT all = {0, 0, side, side};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(images, image, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    int left = side, top = side, right = -1, bottom = -1;
    const auto* pixels = static_cast<const uint8_t*>(bits);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const uint8_t* p = pixels + (size_t(y) * side + x) * 4;
            if (std::min({p[0], p[1], p[2]}) < 200) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    SelectObject(dc, before);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return {right - left + 1, bottom - top + 1};
}

// Pumps messages until `done`, for a minute at most.
bool waitFor(const std::function<bool()>& done) {
    for (int round = 0; round < 6000; ++round) {
        pumpMessages();
        if (done())
            return true;
        Sleep(10);
    }
    return false;
}

// A real drop at `at` in the window: the DROPFILES block that Explorer hands over, wide names,
// each ended by a NUL.
void dropOn(HWND window, const std::vector<fs::path>& files, POINT at = {}) {
    std::wstring names;
    for (const fs::path& file : files)
        names += file.wstring() + L'\0';
    names += L'\0';
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    header->pt = at;
    memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0); // frees the block
}

std::wstring cell(HWND list, int row, int column) {
    wchar_t text[300] = L"";
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 300;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::wstring> column(HWND list, int index) {
    std::vector<std::wstring> cells;
    for (int row = 0; row < ListView_GetItemCount(list); ++row)
        cells.push_back(cell(list, row, index));
    return cells;
}

int imageOf(HWND list, int row) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

std::vector<std::wstring> checks(HWND window) {
    HWND list = GetDlgItem(window, kCheckList);
    std::vector<std::wstring> lines;
    for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        wchar_t line[1000] = L"";
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        lines.push_back(line);
    }
    return lines;
}

bool anyContains(const std::vector<std::wstring>& lines, const std::wstring& part) {
    for (const std::wstring& line : lines) {
        if (line.find(part) != std::wstring::npos)
            return true;
    }
    return false;
}

// Types `text` into a field as a keyboard does, over what it holds.
void typeInto(HWND window, int field, const std::wstring& text) {
    HWND edit = GetDlgItem(window, field);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, VK_BACK, 0);
    for (wchar_t c : text)
        SendMessageW(edit, WM_CHAR, c, 0);
}

void command(HWND window, int id) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::wstring windowText(HWND window) {
    wchar_t text[600] = L"";
    GetWindowTextW(window, text, 600);
    return text;
}

TEST(Studio, AFolderDroppedIsEditedCheckedSavedBuiltAndOpenedAgain) {
    TemporaryFolder root;
    const fs::path photos = root / "Sortie scolaire";
    fs::create_directory(photos);
    for (auto [from, to] : {std::pair{"italie.jpg", "Rome.jpg"},
                            {"france.jpg", "Paris.jpg"},
                            {"allemagne.jpg", "Berlin.jpg"}})
        fs::copy_file(kFlags / from, photos / to);
    ScriptedDialogs dialogs;
    HWND window = createStudioWindow(dialogs, {}, {}, SW_SHOW);
    ASSERT_TRUE(window);
    HWND list = GetDlgItem(window, kQuestionList);

    // Each button has an Alt+letter of its own.
    std::wstring letters;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[20] = L"";
        GetClassNameW(child, kind, 20);
        const std::wstring label = windowText(child);
        const size_t mark = label.find(L'&');
        if (_wcsicmp(kind, L"Button") != 0)
            continue;
        EXPECT_LT(mark + 1, label.size()) << label;
        letters += mark + 1 < label.size() ? towlower(label[mark + 1]) : L'?';
    }
    std::sort(letters.begin(), letters.end());
    EXPECT_TRUE(std::adjacent_find(letters.begin(), letters.end()) == letters.end()) << letters;

    dropOn(window, {photos});
    EXPECT_EQ(column(list, 1), (std::vector<std::wstring>{L"Berlin", L"Paris", L"Rome"}));
    EXPECT_TRUE(waitFor([&] {
        return imageOf(list, 0) > kVideoImage && imageOf(list, 1) > kVideoImage &&
               imageOf(list, 2) > kVideoImage;
    }));

    // The flag turned a quarter stands up in its thumbnail; undone, it lies again.
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    const SIZE lying = thumbnailExtent(list, imageOf(list, 0));
    EXPECT_GT(lying.cx, lying.cy * 5 / 4);
    command(window, kTurnRightButton);
    const SIZE standing = thumbnailExtent(list, imageOf(list, 0));
    EXPECT_EQ(standing.cx, lying.cy);
    EXPECT_EQ(standing.cy, lying.cx);
    command(window, kUndoCommand);
    EXPECT_EQ(thumbnailExtent(list, imageOf(list, 0)).cx, lying.cx);
    ListView_SetItemState(list, 0, 0, LVIS_SELECTED);

    // A near miss typed into the third answer is flagged after a pause, in the checks and on
    // its row, and goes when fixed.
    const auto mark = [&](int row) {
        return ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK);
    };
    ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
    typeInto(window, kAnswerField, L"Pari");
    EXPECT_EQ(cell(list, 2, 1), L"Pari");
    EXPECT_TRUE(waitFor([&] { return anyContains(checks(window), L"question 3, R\u00e9ponse"); }));
    EXPECT_EQ(mark(2), INDEXTOSTATEIMAGEMASK(2)); // a warning
    EXPECT_EQ(mark(0), 0u);
    typeInto(window, kAnswerField, L"Roma");
    EXPECT_TRUE(waitFor([&] { return !anyContains(checks(window), L"question 3, R\u00e9ponse"); }));
    EXPECT_EQ(mark(2), 0u);

    // An answer no French keyboard types: the ways pupils type it, and a warning with advice.
    typeInto(window, kAnswerField, L"Sacr\u00e9-C\u0153ur");
    HWND variants = GetDlgItem(window, kVariantList);
    std::vector<std::wstring> typed;
    for (int i = 0; i < ListBox_GetCount(variants); ++i) {
        wchar_t line[200] = L"";
        SendMessageW(variants, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        typed.push_back(line);
    }
    EXPECT_TRUE(anyContains(typed, L"sacre coeur -> FAUX")) << testing::PrintToString(typed);
    const std::wstring cannotType = L"cannot type \u0153: consider writing Sacr\u00e9-Coeur";
    EXPECT_TRUE(waitFor([&] { return anyContains(checks(window), cannotType); }));
    typeInto(window, kAnswerField, L"Sacr\u00e9-Coeur");
    EXPECT_TRUE(waitFor([&] { return !anyContains(checks(window), cannotType); }));
    typeInto(window, kAnswerField, L"Roma");

    // What a pupil types, judged as the player judges it.
    typeInto(window, kTryAnswerField, L"Rome");
    EXPECT_EQ(windowText(GetDlgItem(window, kTryVerdict)), L"Quasiment");
    typeInto(window, kTryAnswerField, L"roma");
    EXPECT_EQ(windowText(GetDlgItem(window, kTryVerdict)), L"BRAVO");

    // Rewarded with pictures, each question wants one; the one chosen is copied beside the
    // photos, and the turn buttons then turn it, not the question's own picture.
    const auto selectIn = [&](int box, int item) {
        SendMessageW(GetDlgItem(window, box), CB_SETCURSEL, item, 0);
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(box, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, box)));
    };
    const std::wstring wantsReward = L"question 3, Image de r\u00e9compense";
    selectIn(kRewardBox, 1);
    EXPECT_TRUE(waitFor([&] { return anyContains(checks(window), wantsReward); }));
    dialogs.file = kFlags / "france.jpg";
    MSG altI = {GetDlgItem(window, kAnswerField), WM_SYSCHAR, L'i', LPARAM(1) << 29, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(window, &altI)); // as the studio's message loop hands it over
    EXPECT_TRUE(waitFor([&] { return !anyContains(checks(window), wantsReward); }));
    EXPECT_TRUE(readFileContent(photos / "france.jpg") == readFileContent(kFlags / "france.jpg"));
    const int rowImage = imageOf(list, 2);
    command(window, kTurnRightButton);
    EXPECT_EQ(imageOf(list, 2), rowImage);
    for (int k = 0; k < 3; ++k)
        command(window, kUndoCommand);

    ListView_SetItemState(list, 2, 0, LVIS_SELECTED);
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    command(window, kMoveDownCommand);
    EXPECT_EQ(column(list, 1), (std::vector<std::wstring>{L"Paris", L"Berlin", L"Roma"}));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1);
    // A question removed comes back in its place with Ctrl+Z.
    command(window, kRemoveButton);
    EXPECT_EQ(column(list, 1), (std::vector<std::wstring>{L"Paris", L"Roma"}));
    command(window, kUndoCommand);
    EXPECT_EQ(column(list, 1), (std::vector<std::wstring>{L"Paris", L"Berlin", L"Roma"}));
    // A row dragged onto the next one moves there.
    NMLISTVIEW dragged{};
    dragged.hdr = {list, kQuestionList, UINT(LVN_BEGINDRAG)};
    SendMessageW(window, WM_NOTIFY, kQuestionList, reinterpret_cast<LPARAM>(&dragged));
    RECT next;
    ListView_GetItemRect(list, 1, &next, LVIR_BOUNDS);
    POINT at = {next.left + 10, (next.top + next.bottom) / 2};
    MapWindowPoints(list, window, &at, 1);
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(column(list, 1), (std::vector<std::wstring>{L"Berlin", L"Paris", L"Roma"}));
    command(window, kUndoCommand);

    // Ctrl+S writes the folder's quiz.toml, which the maker reads back as it was edited.
    EXPECT_NE(windowText(window).find(L"*"), std::wstring::npos);
    command(window, kSaveButton);
    EXPECT_EQ(windowText(window).find(L"*"), std::wstring::npos);
    Diagnostics read;
    const QuizSource saved = readQuizSource(pathToUtf8(photos / "quiz.toml"), read);
    ASSERT_EQ(saved.questions.size(), 3u);
    EXPECT_EQ(saved.questions[0].answers[0].value, "Paris");
    EXPECT_EQ(saved.questions[2].answers[0].value, "Roma");
    EXPECT_EQ(saved.questions[2].media.path, "Rome.jpg");

    // A save that cannot replace the file (another program holds it) says why and changes
    // nothing: neither the file nor the window's quiz, which stays unsaved.
    const std::string before = readFileContent(photos / "quiz.toml");
    typeInto(window, kAnswerField, L"Berlin2"); // the selected question, 2
    {
        const UniqueFile held(CreateFileW((photos / "quiz.toml").c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        const size_t toldBefore = dialogs.told.size();
        command(window, kSaveButton);
        ASSERT_EQ(dialogs.told.size(), toldBefore + 1);
        EXPECT_NE(dialogs.told.back().find(L"quiz.toml"), std::wstring::npos);
    }
    EXPECT_EQ(readFileContent(photos / "quiz.toml"), before);
    EXPECT_NE(windowText(window).find(L"*"), std::wstring::npos);
    // The photos, the reward picture once chosen and the quiz.toml: no temporary left.
    EXPECT_EQ(std::distance(fs::directory_iterator(photos), {}), 5);
    typeInto(window, kAnswerField, L"Berlin");

    const fs::path built = root / "sortie.exe";
    dialogs.newFile = built;
    command(window, kBuildButton);
    HWND progress = FindWindowW(kBuildWindowClass, nullptr);
    ASSERT_TRUE(progress);
    EXPECT_TRUE(waitFor([&] {
        return windowText(GetDlgItem(progress, kBuildStatus)).starts_with(L"Le quiz est pr");
    })) << windowText(GetDlgItem(progress, kBuildStatus));
    command(progress, kBuildClose);
    QuizResources resources;
    ASSERT_TRUE(WindowsExecutableIo().readQuiz(built, resources).ok());
    Diagnostics decoded;
    const std::optional<QuizSource> stored = quizFromResources(resources, "sortie.exe", decoded);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->title.value, "Sortie scolaire");
    ASSERT_EQ(stored->questions.size(), 3u);
    EXPECT_EQ(stored->questions[1].answers[0].value, "Berlin");
    ASSERT_EQ(resources.images.size(), 3u);
    for (const auto& [id, bytes] : resources.images) {
        EXPECT_EQ(detectMediaFormat(bytes), MediaFormat::kJpeg);
        EXPECT_EQ(pictureDimensions(bytes), (PictureDimensions{260, 173}));
    }

    // An answer the stored quiz cannot hold: no build, and the author is told which.
    typeInto(window, kAnswerField, L"Ber|lin");
    const size_t toldBefore = dialogs.told.size();
    dialogs.newFile = root / "never.exe";
    command(window, kBuildButton);
    ASSERT_EQ(dialogs.told.size(), toldBefore + 1);
    EXPECT_NE(dialogs.told.back().find(L"question 2, R\u00e9ponse"), std::wstring::npos);
    EXPECT_FALSE(fs::exists(root / "never.exe"));
    EXPECT_FALSE(FindWindowW(kBuildWindowClass, nullptr));

    // The built quiz opens again as it was built, once the change is given up.
    dialogs.answer = Answer::kNo;
    EXPECT_TRUE(openInStudio(window, built));
    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(column(list, 1), (std::vector<std::wstring>{L"Paris", L"Berlin", L"Roma"}));
    EXPECT_NE(windowText(window).find(L"sortie.exe"), std::wstring::npos);

    // Closed with a change: Windows' own question, with buttons that say what they do.
    // A second answer to give: each check names which answer it is about.
    SendMessageW(GetDlgItem(window, kAnswerCountBox), CB_SETCURSEL, 1, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(kAnswerCountBox, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, kAnswerCountBox)));
    EXPECT_TRUE(
        waitFor([&] { return anyContains(checks(window), L"question 1, R\u00e9ponse 2 : "); }));
    dialogs.realSaveQuestion = true;
    EXPECT_TRUE(closeAndPress(window, L"Annuler"));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(closeAndPress(window, L"Ne pas enregistrer"));
    EXPECT_FALSE(IsWindow(window));
}

// A quiz left unsaved by a studio that ended without asking (here one still open, as a killed
// one leaves it) is offered back by the next; F5 plays it; closing gives both up.
TEST(Studio, AQuizLeftUnsavedIsOfferedBackAndTriedWithF5) {
    TemporaryFolder root;
    const fs::path photos = root / "Sortie scolaire", recovery = root / "recovery";
    fs::create_directory(photos);
    fs::copy_file(kFlags / "france.jpg", photos / "Paris.jpg");
    fs::copy_file(kFlags / "italie.jpg", photos / "Rome.jpg");
    const auto left = [&] {
        std::error_code none;
        return fs::exists(recovery, none) ? std::distance(fs::directory_iterator(recovery), {}) : 0;
    };
    ScriptedDialogs first;
    HWND killed = createStudioWindow(first, {}, recovery, SW_SHOW);
    ASSERT_TRUE(killed);
    dropOn(killed, {photos});
    // Photos dropped on the second row go before it: they become questions 2 and 3.
    HWND list = GetDlgItem(killed, kQuestionList);
    RECT second;
    ListView_GetItemRect(list, 1, &second, LVIR_BOUNDS);
    POINT on = {second.left + 10, (second.top + second.bottom) / 2};
    MapWindowPoints(list, killed, &on, 1);
    dropOn(killed, {kFlags / "suede.jpg", kFlags / "belgique.jpg"}, on);
    EXPECT_EQ(column(list, 1),
              (std::vector<std::wstring>{L"Paris", L"belgique", L"suede", L"Rome"}));
    command(killed, kUndoCommand);
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    typeInto(killed, kAnswerField, L"Parisss");
    EXPECT_EQ(left(), 0);
    SendMessageW(killed, WM_TIMER, kRecoveryTimer, 0); // what the pause after typing ends in
    EXPECT_EQ(left(), 1);

    ScriptedDialogs next;
    next.answer = Answer::kYes;
    HWND window = createStudioWindow(next, {}, recovery, SW_SHOW);
    ASSERT_TRUE(window);
    EXPECT_TRUE(waitFor([&] { return !next.asked.empty(); }));
    ASSERT_EQ(next.asked.size(), 1u);
    EXPECT_NE(next.asked[0].find(L"Sortie scolaire"), std::wstring::npos) << next.asked[0];
    EXPECT_EQ(column(GetDlgItem(window, kQuestionList), 1),
              (std::vector<std::wstring>{L"Parisss", L"Rome"}));
    EXPECT_NE(windowText(window).find(L"*"), std::wstring::npos);

    command(window, kTryButton);
    const auto player = [] { return FindWindowW(L"WindowsApp", L"Sortie scolaire"); };
    EXPECT_TRUE(waitFor([&] { return player() != nullptr; }));

    next.answer = Answer::kNo; // closed without saving, as the author chose
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(waitFor([&] { return player() == nullptr; }));
    EXPECT_EQ(left(), 0);
    SendMessageW(killed, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(killed));
    EXPECT_EQ(fs::exists(photos / "quiz.toml"), false);
}

// The window's place and the last folder come back as saved, whatever the folder's name.
TEST(Studio, SettingsComeBackAsSaved) {
    TemporaryFolder root;
    const fs::path file = root / "plimo" / "studio.ini";
    for (const wchar_t* folder :
         {L"C:\\Classe", L"D:\\Sortie \u00e0 \u0141\u00f3d\u017a \u2014 \u65e5\u672c"}) {
        const StudioSettings saved = {{-1200, 40, 300, 900}, true, folder};
        saveSettings(file, saved);
        const StudioSettings loaded = loadSettings(file);
        EXPECT_TRUE(EqualRect(&loaded.place, &saved.place));
        EXPECT_TRUE(loaded.maximized);
        EXPECT_EQ(loaded.lastFolder.wstring(), folder);
    }
}

} // namespace
