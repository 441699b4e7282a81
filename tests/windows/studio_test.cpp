// The studio's window with real messages: a folder dropped on it, answers typed, a row moved,
// the checks, a save, a build, and the built quiz opened again.
#include "maker/executable_io_win.h"
#include "maker/picture_preparation.h"
#include "maker/quiz_reader.h"
#include "maker/source_reader.h"
#include "studio/build_window.h"
#include "studio/question_pane.h"
#include "studio/studio_ids.h"
#include "studio/studio_window.h"
#include "tests/windows/support.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <functional>

namespace {

namespace fs = std::filesystem;

const fs::path kFlags = fs::path(PLIMO_SOURCE_DIR) / "samples" / "drapeaux" / "pictures";

// Answers in the dialogs' place and keeps what the window told or asked.
struct ScriptedDialogs final : StudioDialogs {
    std::optional<fs::path> newFile;
    Answer answer = Answer::kNo;
    std::vector<std::wstring> asked, told;

    std::optional<fs::path> chooseFolder(HWND, const wchar_t*, const fs::path&) override {
        return std::nullopt;
    }
    std::optional<fs::path> chooseFile(HWND, const wchar_t*, const wchar_t*,
                                       const fs::path&) override {
        return std::nullopt;
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
};

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

// A real drop: the DROPFILES block that Explorer hands over, wide names, each ended by a NUL.
void dropOn(HWND window, const std::vector<fs::path>& files) {
    std::wstring names;
    for (const fs::path& file : files)
        names += file.wstring() + L'\0';
    names += L'\0';
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
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
    HWND window = createStudioWindow(dialogs, {}, SW_SHOW);
    ASSERT_TRUE(window);
    HWND list = GetDlgItem(window, kQuestionList);

    dropOn(window, {photos});
    EXPECT_EQ(column(list, 1), (std::vector<std::wstring>{L"Berlin", L"Paris", L"Rome"}));
    EXPECT_TRUE(waitFor([&] {
        return imageOf(list, 0) > kVideoImage && imageOf(list, 1) > kVideoImage &&
               imageOf(list, 2) > kVideoImage;
    }));

    // A near miss typed into the third answer is flagged after a pause, and goes when fixed.
    ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
    typeInto(window, kAnswerField, L"Pari");
    EXPECT_EQ(cell(list, 2, 1), L"Pari");
    EXPECT_TRUE(waitFor([&] { return anyContains(checks(window), L"question 3, R\u00e9ponse"); }));
    typeInto(window, kAnswerField, L"Roma");
    EXPECT_TRUE(waitFor([&] { return !anyContains(checks(window), L"question 3, R\u00e9ponse"); }));

    ListView_SetItemState(list, 2, 0, LVIS_SELECTED);
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    command(window, kMoveDownCommand);
    EXPECT_EQ(column(list, 1), (std::vector<std::wstring>{L"Paris", L"Berlin", L"Roma"}));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1);

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
    DestroyWindow(window);
}

} // namespace
