// Trying a quiz from the studio: a real player started in a folder of its own, at the question
// asked for, closed by the next try and by close(), leaving nothing behind.
#include "board/board_layout.h"
#include "maker/quiz_document.h"
#include "maker/quiz_writer.h"
#include "studio/quiz_trial.h"
#include "tests/windows/support.h"
#include "win/wide_text.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const fs::path kFlags = fs::path(PLIMO_SOURCE_DIR) / "samples" / "drapeaux" / "pictures";

// Twelve flags, each twice, in a folder of their own: a board taller than its window.
QuizResources twelveFlags(const fs::path& folder) {
    int number = 0;
    for (int round = 0; round < 2; ++round)
        for (const auto& flag : fs::directory_iterator(kFlags))
            fs::copy_file(flag.path(), folder / ("drapeau " + std::to_string(++number) + ".jpg"));
    Diagnostics diagnostics;
    const std::optional<QuizDocument> document = QuizDocument::fromFolder(folder, diagnostics);
    EXPECT_EQ(document->quiz().questions.size(), 12u);
    std::optional<QuizResources> resources =
        buildQuizResources(document->quiz(), diagnostics, MediaHandling::kPreparePictures);
    EXPECT_TRUE(resources);
    return resources ? *resources : QuizResources();
}

bool processEnded(const UniqueKernelObject& process) {
    return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

// The trial folders of this process under the temporary folder.
std::set<std::string> trialFolders() {
    std::set<std::string> found;
    const std::string prefix = "plimo-trial-" + std::to_string(GetCurrentProcessId()) + "-";
    for (const std::string& name : filesIn(fs::temp_directory_path().string()))
        if (name.starts_with(prefix))
            found.insert(name);
    return found;
}

bool insideClientArea(HWND board, HWND control) {
    RECT client, rect;
    GetClientRect(board, &client);
    MapWindowPoints(board, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(control, &rect);
    return rect.top >= client.top && rect.bottom <= client.bottom && rect.left >= client.left &&
           rect.right <= client.right;
}

TEST(QuizTrial, OpensAtTheQuestionAndLeavesNothingBehind) {
    TemporaryFolder author(true);
    const QuizResources resources = twelveFlags(author / "");
    const std::set<std::string> authorFiles = filesIn(author.path());

    QuizTrial trial;
    std::wstring error;
    ASSERT_TRUE(trial.start(resources, 9, error)) << narrowText(error, CP_UTF8);
    HWND board = trial.board();
    EXPECT_TRUE(IsWindowVisible(trial.playerWindow()));
    HWND tenth = GetDlgItem(board, answerFieldId(10));
    ASSERT_TRUE(tenth);
    EXPECT_TRUE(insideClientArea(board, tenth));
    EXPECT_FALSE(insideClientArea(board, GetDlgItem(board, answerFieldId(1))));
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    GetGUIThreadInfo(GetWindowThreadProcessId(board, nullptr), &focus);
    EXPECT_EQ(focus.hwndFocus, tenth);
    EXPECT_EQ(filesIn(fs::path(trial.folder()).string()), std::set<std::string>{"quiz.exe"});

    // A try of an earlier studio that was killed: its own files go, anything else keeps it.
    const UniqueKernelObject first(OpenProcess(SYNCHRONIZE, FALSE, trial.processId()));
    const fs::path temporary = fs::temp_directory_path();
    const std::string gone = "plimo-trial-" + std::to_string(trial.processId()) + "-";
    for (const auto& [name, files] :
         {std::pair<std::string, std::vector<std::string>>{gone + "1", {"quiz.exe", "quiz.txt"}},
          {gone + "2", {"quiz.exe", "notes.txt"}}}) {
        fs::create_directory(temporary / name);
        for (const std::string& file : files)
            writeFileContent(temporary / name / file, "left behind");
    }

    // A second try closes the first.
    ASSERT_TRUE(trial.start(resources, 0, error)) << narrowText(error, CP_UTF8);
    EXPECT_TRUE(processEnded(first));
    // The first try's folder went before the second was made: one alone stands.
    EXPECT_EQ(trialFolders(), std::set<std::string>{fs::path(trial.folder()).filename().string()});
    EXPECT_FALSE(fs::exists(temporary / (gone + "1")));
    EXPECT_EQ(filesIn((temporary / (gone + "2")).string()),
              (std::set<std::string>{"notes.txt", "quiz.exe"}));
    fs::remove_all(temporary / (gone + "2"));
    EXPECT_TRUE(insideClientArea(trial.board(), GetDlgItem(trial.board(), answerFieldId(1))));

    // Closed: the player saved its progress in its own folder, which went with it.
    const UniqueKernelObject second(OpenProcess(SYNCHRONIZE, FALSE, trial.processId()));
    trial.close();
    EXPECT_TRUE(processEnded(second));
    EXPECT_EQ(trialFolders(), std::set<std::string>());
    EXPECT_EQ(filesIn(author.path()), authorFiles);
}

} // namespace
