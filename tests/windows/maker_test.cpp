// The quiz maker writing and reading real executables.
#include "content/quiz_loader.h"
#include "maker/executable_io_win.h"
#include "maker/maker_cli.h"
#include "maker/quiz_source.h"
#include "tests/windows/test_files.h"
#include "win/handles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>

namespace {

const std::string kSamples = std::string(PLIMO_SOURCE_DIR) + "/samples/";

struct MakerRun {
    int status;
    std::string out, err;
};

MakerRun runMakerHere(const std::vector<std::string>& arguments) {
    WindowsExecutableIo executables;
    std::ostringstream out, err;
    int status = runMaker(arguments, executables, out, err);
    return {status, out.str(), err.str()};
}

std::string player() {
    return executableFolder() + "plimo.exe";
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Loads the quiz of an executable with the player's own loader.
std::unique_ptr<QuizRecord> loadWithThePlayer(const std::string& executable) {
    auto record = std::make_unique<QuizRecord>();
    HMODULE module = LoadLibraryExA(executable.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(module, nullptr) << executable;
    if (module) {
        loadQuizFromModule(module, *record);
        FreeLibrary(module);
    }
    return record;
}

TEST(Maker, TheOneFileMakerBuildsAQuizThePlayerLoads) {
    TemporaryFolder folder;
    const std::string output = folder.file("drapeaux.exe");
    const ChildProcess maker =
        startProcess("\"" + executableFolder() + "plimo-maker.exe\" build \"" + kSamples +
                         "drapeaux/quiz.toml\" -o \"" + output + "\"",
                     CREATE_NO_WINDOW);
    ASSERT_TRUE(maker.process);
    WaitForSingleObject(maker.process.get(), 60000);
    DWORD status = 99;
    GetExitCodeProcess(maker.process.get(), &status);
    ASSERT_EQ(status, 0u);

    auto record = loadWithThePlayer(output);
    EXPECT_STREQ(record->title, "Drapeaux d'Europe");
    EXPECT_EQ(record->mediaKind, kMediaPictures);
    EXPECT_EQ(record->questionCount, 6);
    EXPECT_EQ(record->answerFieldCount, 2);
    EXPECT_EQ(record->rewardKind, kRewardMessage);
    EXPECT_STREQ(questionAt(*record, 0)->answer1, "FRANCE");
    EXPECT_STREQ(questionAt(*record, 0)->answer2, "PARIS");
    EXPECT_STRNE(record->codes[5], "");
    // The maker's output is a whole player: its pictures and dialogs are there too.
    HMODULE module = LoadLibraryExA(output.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(401), "IMG"), nullptr);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(406), "IMG"), nullptr);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(1001), MAKEINTRESOURCEA(5)), nullptr);
    FreeLibrary(module);
}

TEST(Maker, ExtractThenBuildGivesTheSameResources) {
    TemporaryFolder folder;
    for (const char* sample : {"capitales", "drapeaux", "animaux", "couleurs"}) {
        SCOPED_TRACE(sample);
        const std::string first = folder.file(std::string(sample) + "1.exe");
        const std::string second = folder.file(std::string(sample) + "2.exe");
        const std::string extracted = folder.file(std::string(sample) + "-source");
        MakerRun built = runMakerHere(
            {"build", kSamples + sample + "/quiz.toml", "-o", first, "--player", player()});
        ASSERT_EQ(built.status, 0) << built.err;
        MakerRun extract = runMakerHere({"extract", first, "-o", extracted});
        ASSERT_EQ(extract.status, 0) << extract.err;
        MakerRun rebuilt =
            runMakerHere({"build", extracted + "/quiz.toml", "-o", second, "--player", player()});
        ASSERT_EQ(rebuilt.status, 0) << rebuilt.err;

        WindowsExecutableIo executables;
        QuizResources firstResources, secondResources;
        ASSERT_TRUE(executables.readQuiz(first, firstResources).ok());
        ASSERT_TRUE(executables.readQuiz(second, secondResources).ok());
        EXPECT_TRUE(firstResources.quizText.has_value());
        EXPECT_FALSE(firstResources.images.empty() && std::string(sample) != "capitales");
        EXPECT_TRUE(firstResources == secondResources);
        std::filesystem::remove_all(extracted);
    }
}

// Names with accents reach the maker from the folder through the wide file API, so they come out
// whole in the quiz, in Windows-1252, whatever the ANSI code page.
TEST(Maker, ANewQuizFromAFolderTakesTheFileNamesAsRightAnswers) {
    TemporaryFolder folder;
    const std::filesystem::path photos = pathFromUtf8(folder.file("Mes_photos"));
    std::filesystem::create_directory(photos);
    const char* names[] = {"2 Ch\xC3\xA2teau de Chambord", "10 C\xC5\x93ur de Lion",
                           "cr\xC3\xA8me_br\xC3\xBBl\xC3\xA9\x65"};
    for (const char* name : names)
        std::filesystem::copy_file(pathFromUtf8(kSamples + "drapeaux/pictures/france.jpg"),
                                   photos / pathFromUtf8(std::string(name) + ".jpg"));
    MakerRun made = runMakerHere({"new", pathToUtf8(photos)});
    ASSERT_EQ(made.status, 0) << made.err;
    const std::string quiz = folder.file("photos.exe");
    MakerRun built =
        runMakerHere({"build", pathToUtf8(photos / "quiz.toml"), "-o", quiz, "--player", player()});
    ASSERT_EQ(built.status, 0) << built.err;

    const char* answers[] = {"2 Ch\xC3\xA2teau de Chambord", "10 C\xC5\x93ur de Lion",
                             "cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65"};
    for (int n = 1; n <= 3; ++n) {
        MakerRun judged = runMakerHere({"judge", quiz, std::to_string(n), answers[n - 1]});
        EXPECT_EQ(judged.out, "BRAVO\n") << answers[n - 1] << judged.err;
    }
    auto record = loadWithThePlayer(quiz);
    EXPECT_STREQ(record->title, "Mes photos");
    EXPECT_STREQ(questionAt(*record, 1)->answer1, "10 C\x9Cur de Lion");
}

TEST(Maker, RebuildingReplacesTheQuizOfAQuizExecutable) {
    TemporaryFolder folder;
    const std::string flags = folder.file("drapeaux.exe");
    const std::string capitals = folder.file("capitales.exe");
    ASSERT_EQ(
        runMakerHere({"build", kSamples + "drapeaux/quiz.toml", "-o", flags, "--player", player()})
            .status,
        0);
    // A quiz executable as the template: none of its pictures may survive into the new quiz.
    MakerRun rebuilt = runMakerHere(
        {"build", kSamples + "capitales/quiz.toml", "-o", capitals, "--player", flags});
    ASSERT_EQ(rebuilt.status, 0) << rebuilt.err;
    WindowsExecutableIo executables;
    QuizResources resources;
    ASSERT_TRUE(executables.readQuiz(capitals, resources).ok());
    EXPECT_TRUE(resources.images.empty());
    EXPECT_STREQ(loadWithThePlayer(capitals)->title, "Les capitales d'Europe");
}

enum class Damage { kSizePastTheEnd, kOffsetOutsideTheFile, kTruncated };

// Writes to `copy` the executable with its resource `type` `name` damaged, as a broken download
// or a hostile file may have it.
void writeDamagedCopy(const std::string& executable, LPCSTR type, LPCSTR name, Damage damage,
                      const std::string& copy) {
    std::string bytes = readFileText(executable);
    HMODULE module = LoadLibraryExA(executable.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    // Mapped as a data file (its handle tagged in the low bits), the module is the file as it
    // lies on disk, and a resource found in it is its data entry there.
    const uintptr_t base = reinterpret_cast<uintptr_t>(module) & ~uintptr_t(3);
    HRSRC found = FindResourceA(module, name, type);
    ASSERT_NE(found, nullptr);
    const size_t entry = reinterpret_cast<uintptr_t>(found) - base;
    const size_t data =
        reinterpret_cast<uintptr_t>(LockResource(LoadResource(module, found))) - base;
    FreeLibrary(module);
    IMAGE_RESOURCE_DATA_ENTRY record;
    memcpy(&record, &bytes[entry], sizeof record);
    if (damage == Damage::kSizePastTheEnd)
        record.Size = 0x7FFF0000;
    else if (damage == Damage::kOffsetOutsideTheFile)
        record.OffsetToData = 0x7FFF0000; // in no section
    memcpy(&bytes[entry], &record, sizeof record);
    if (damage == Damage::kTruncated)
        bytes.resize(data + 1);
    writeFileText(copy, bytes);
}

TEST(Maker, ADamagedExecutableIsAnErrorNotACrash) {
    TemporaryFolder folder;
    const std::string quiz = folder.file("drapeaux.exe");
    ASSERT_EQ(
        runMakerHere({"build", kSamples + "drapeaux/quiz.toml", "-o", quiz, "--player", player()})
            .status,
        0);
    const std::string picture = folder.file("picture.exe");
    const std::string dialog = folder.file("dialog.exe");
    const std::string output = folder.file("out.exe");
    const std::string extracted = folder.file("extracted");
    // A damaged picture breaks what reads the quiz; a damaged dialog, the player that a build
    // copies.
    const std::pair<std::string, std::vector<std::string>> commands[] = {
        {picture, {"show", picture}},
        {picture, {"judge", picture, "1", "FRANCE"}},
        {picture, {"extract", picture, "-o", extracted}},
        {dialog, {"build", kSamples + "capitales/quiz.toml", "-o", output, "--player", dialog}},
    };
    for (Damage damage :
         {Damage::kSizePastTheEnd, Damage::kOffsetOutsideTheFile, Damage::kTruncated}) {
        SCOPED_TRACE("damage " + std::to_string(int(damage)));
        writeDamagedCopy(quiz, "IMG", MAKEINTRESOURCEA(401), damage, picture);
        writeDamagedCopy(quiz, RT_DIALOG, MAKEINTRESOURCEA(1001), damage, dialog);
        for (const auto& [damaged, command] : commands) {
            SCOPED_TRACE(command[0]);
            MakerRun run = runMakerHere(command);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err.rfind(damaged + ": damaged executable: ", 0), 0u) << run.err;
            EXPECT_FALSE(exists(output));
            EXPECT_FALSE(exists(extracted));
        }
    }
}

TEST(Maker, FailuresLeaveNoFileBehind) {
    TemporaryFolder folder;
    const std::string notAPlayer = folder.file("not-a-player.exe");
    {
        const UniqueFile file(CreateFileA(notAPlayer.c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        WriteFile(file.get(), "MZ but nothing else", 19, &written, nullptr);
    }

    struct Case {
        const char* name;
        std::string output;
        std::string template_;
    } cases[] = {
        {"corrupted template", folder.file("out.exe"), notAPlayer},
        {"missing template", folder.file("out.exe"), folder.file("nowhere.exe")},
        {"output in a missing folder", folder.file("missing\\out.exe"), player()},
        {"output is a folder", folder.path(), player()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakerRun run = runMakerHere(
            {"build", kSamples + "capitales/quiz.toml", "-o", c.output, "--player", c.template_});
        EXPECT_EQ(run.status, 1);
        EXPECT_FALSE(run.err.empty());
        EXPECT_FALSE(exists(folder.file("out.exe")));
        EXPECT_FALSE(exists(c.output + ".part"));
    }
}

} // namespace
