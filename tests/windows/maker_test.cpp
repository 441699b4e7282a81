// The quiz maker writing and reading real executables.
#include "maker/executable_io_win.h"
#include "maker/maker_cli.h"
#include "maker/quiz_source.h"
#include "tests/windows/support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <process.h>
#include <sstream>
#include <tuple>

namespace {

const std::string kSamples = std::string(PLIMO_SOURCE_DIR) + "/samples/";

// The names of the files beside `path` that begin with its name and a dot: temporary files of
// a write to it.
std::set<std::string> filesBeside(const std::string& path) {
    const std::filesystem::path place(path);
    const std::string prefix = place.filename().string() + ".";
    std::set<std::string> found;
    if (!std::filesystem::is_directory(place.parent_path()))
        return found;
    for (const std::string& name : filesIn(place.parent_path().string())) {
        if (name.starts_with(prefix))
            found.insert(name);
    }
    return found;
}

// The exit status and what went to standard error.
std::pair<int, std::string> runMakerHere(const std::vector<std::string>& arguments) {
    WindowsExecutableIo executables;
    std::ostringstream out, err;
    const int status = runMaker(arguments, executables, out, err);
    return {status, err.str()};
}

const std::string kPlayer = executableFolder() + "plimo.exe";
const std::string kCapitales = kSamples + "capitales/quiz.toml";

std::pair<int, std::string> build(const std::string& source, const std::string& output,
                                  const std::string& player = kPlayer) {
    return runMakerHere({"build", source, "-o", output, "--player", player});
}

TEST(Maker, RoundTripsAndDamagedOrMissingInputIsAnErrorLeavingNoFile) {
    TemporaryFolder folder;
    const std::string quiz = folder.file("drapeaux.exe");
    // The one-file maker carries the player it copies: no --player.
    const std::string maker = executableFolder() + "plimo-maker.exe";
    ASSERT_EQ(_spawnl(_P_WAIT, maker.c_str(), ("\"" + maker + "\"").c_str(), "build",
                      (kSamples + "drapeaux/quiz.toml").c_str(), "-o", ("\"" + quiz + "\"").c_str(),
                      nullptr),
              0);
    // Built on a quiz executable, extracted and built again: none of the template's pictures
    // survive, and the second build equals the first.
    const std::string first = folder.file("capitales1.exe"), second = folder.file("capitales2.exe");
    const std::string source = folder.file("capitales-source");
    // The build writes through a file of its own: one there already under the name that earlier
    // builds gave theirs is left alone, and an earlier output is replaced.
    writeFileContent(first + ".part", "someone else's");
    writeFileContent(first, "an earlier build");
    ASSERT_EQ(build(kCapitales, first, quiz).first, 0);
    EXPECT_EQ(readFileContent(first + ".part"), "someone else's");
    EXPECT_EQ(filesBeside(first), std::set<std::string>{"capitales1.exe.part"});
    ASSERT_EQ(runMakerHere({"extract", first, "-o", source}).first, 0);
    ASSERT_EQ(build(source + "/quiz.toml", second).first, 0);
    QuizResources built, rebuilt;
    ASSERT_TRUE(WindowsExecutableIo().readQuiz(first, built).ok());
    ASSERT_TRUE(WindowsExecutableIo().readQuiz(second, rebuilt).ok());
    EXPECT_TRUE(built.quizText && built.images.empty() && built == rebuilt);
    const std::string picture = folder.file("picture.exe"), dialog = folder.file("dialog.exe"),
                      output = folder.file("out.exe"), extracted = folder.file("extracted");
    // A damaged picture breaks what reads the quiz (show reads it as extract does); a damaged
    // dialog, the player a build copies.
    const std::pair<std::string, std::vector<std::string>> commands[] = {
        {picture, {"extract", picture, "-o", extracted}},
        {dialog, {"build", kCapitales, "-o", output, "--player", dialog}},
    };
    for (ResourceDamage damage :
         {ResourceDamage::kSizePastTheEnd, ResourceDamage::kOffsetOutsideTheFile,
          ResourceDamage::kTruncated}) {
        SCOPED_TRACE("damage " + std::to_string(int(damage)));
        ASSERT_TRUE(
            writeDamagedCopy(quiz, kMediaResourceType, MAKEINTRESOURCEA(401), damage, picture));
        ASSERT_TRUE(writeDamagedCopy(quiz, RT_DIALOG, MAKEINTRESOURCEA(1001), damage, dialog));
        for (const auto& [damaged, command] : commands) {
            SCOPED_TRACE(command[0]);
            const auto [status, err] = runMakerHere(command);
            EXPECT_TRUE(status == 1 && err.starts_with(damaged + ": damaged executable: ")) << err;
            EXPECT_FALSE(fileExists(output) || fileExists(extracted));
        }
    }
    writeFileContent(folder.file("not-a-player.exe"), "MZ but nothing else");
    const std::pair<std::string, std::string> failures[] = {
        {output, folder.file("not-a-player.exe")},
        {folder.file("missing\\out.exe"), kPlayer},
        {folder.path(), kPlayer},
    };
    for (const auto& [target, player] : failures) {
        SCOPED_TRACE(target + " from " + player);
        const auto [status, err] = build(kCapitales, target, player);
        EXPECT_TRUE(status == 1 && !err.empty());
        EXPECT_FALSE(fileExists(output));
        EXPECT_EQ(filesBeside(target), std::set<std::string>{}) << "a temporary file left behind";
    }
}

// The file offset of the resource directory of the executable `bytes`.
size_t resourceRoot(const std::string& bytes) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(&bytes[dos->e_lfanew]);
    const DWORD rva =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE].VirtualAddress;
    for (const auto* section = IMAGE_FIRST_SECTION(headers);; ++section) {
        if (rva >= section->VirtualAddress &&
            rva - section->VirtualAddress < section->SizeOfRawData)
            return section->PointerToRawData + rva - section->VirtualAddress;
    }
}

// The file offset of the data entry of IMG `id` in the intact executable `path`: mapped as a
// data file, the module is the file, and a resource found in it is its data entry there.
size_t imageDataEntry(const std::string& path, int id) {
    UniqueModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    HRSRC found = FindResourceA(module.get(), MAKEINTRESOURCEA(id), kMediaResourceType);
    return reinterpret_cast<uintptr_t>(found) -
           (reinterpret_cast<uintptr_t>(module.get()) & ~uintptr_t(3));
}

// A resource directory that the Windows loader would follow out of the file, and resources
// that share their bytes, as a hostile file may have them: show and extract name the damage
// and read nothing.
TEST(Maker, RefusesADamagedResourceDirectoryAndResourcesSharingBytes) {
    TemporaryFolder folder;
    const std::string capitales = folder.file("capitales.exe"),
                      drapeaux = folder.file("drapeaux.exe");
    ASSERT_EQ(build(kCapitales, capitales).first, 0);
    ASSERT_EQ(build(kSamples + "drapeaux/quiz.toml", drapeaux).first, 0);
    using Damage = std::function<void(std::string&)>;
    const std::tuple<std::string, Damage, std::string> cases[] = {
        {capitales,
         [](std::string& b) { b[resourceRoot(b) + 14] = b[resourceRoot(b) + 15] = '\xFF'; },
         "a resource directory lies outside the resource section"},
        {capitales, [](std::string& b) { memcpy(&b[resourceRoot(b) + 16], "\xF0\xFF\xFF\xFF", 4); },
         "a resource name lies outside the resource section"},
        {drapeaux,
         [&](std::string& b) {
             b.replace(imageDataEntry(drapeaux, 402), 8, b, imageDataEntry(drapeaux, 401), 8);
         },
         "IMG 402 and IMG 401 share bytes"},
    };
    const std::string damaged = folder.file("damaged.exe"), extracted = folder.file("extracted");
    for (const auto& [intact, damage, message] : cases) {
        SCOPED_TRACE(message);
        std::string bytes = readFileContent(intact);
        damage(bytes);
        writeFileContent(damaged, bytes);
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"show", damaged}, {"extract", damaged, "-o", extracted}}) {
            const auto [status, err] = runMakerHere(command);
            EXPECT_EQ(status, 1) << command[0];
            EXPECT_EQ(err, damaged + ": damaged executable: " + message + "\n");
        }
        EXPECT_FALSE(fileExists(extracted));
    }
}

// A folder written with '/', as scripts and other tools write it, still gives the paths the
// maker joins for its messages one separator.
TEST(Maker, JoinsPathsInMessagesWithOneSeparator) {
    TemporaryFolder folder;
    for (const char* name : {"a.jpg", "b.jpg", "c.mp3"})
        writeFileContent(folder / name, "");
    std::string slashed = folder.path();
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const auto [status, err] = runMakerHere({"new", slashed});
    EXPECT_TRUE(status == 1 && err.starts_with(folder.file("c.mp3") + ": file: a sound among 2 "
                                                                      "pictures"))
        << err;
}

} // namespace
