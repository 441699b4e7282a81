// The quiz maker writing and reading real executables.
#include "maker/executable_io_win.h"
#include "maker/maker_cli.h"
#include "maker/quiz_source.h"
#include "tests/windows/support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <process.h>
#include <sstream>

namespace {

const std::string kSamples = std::string(PLIMO_SOURCE_DIR) + "/samples/";

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
    ASSERT_EQ(build(kCapitales, first, quiz).first, 0);
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
        ASSERT_TRUE(writeDamagedCopy(quiz, "IMG", MAKEINTRESOURCEA(401), damage, picture));
        ASSERT_TRUE(writeDamagedCopy(quiz, RT_DIALOG, MAKEINTRESOURCEA(1001), damage, dialog));
        for (const auto& [damaged, command] : commands) {
            SCOPED_TRACE(command[0]);
            const auto [status, err] = runMakerHere(command);
            EXPECT_TRUE(status == 1 && err.starts_with(damaged + ": damaged executable: ")) << err;
            EXPECT_FALSE(fileExists(output) || fileExists(extracted));
        }
    }
    writeFileText(folder.file("not-a-player.exe"), "MZ but nothing else");
    const std::pair<std::string, std::string> failures[] = {
        {output, folder.file("not-a-player.exe")},
        {folder.file("missing\\out.exe"), kPlayer},
        {folder.path(), kPlayer},
    };
    for (const auto& [target, player] : failures) {
        SCOPED_TRACE(target + " from " + player);
        const auto [status, err] = build(kCapitales, target, player);
        EXPECT_TRUE(status == 1 && !err.empty());
        EXPECT_FALSE(fileExists(output) || fileExists(target + ".part"));
    }
}

// A folder written with '/', as scripts and other tools write it, still gives the paths the
// maker joins for its messages one separator.
TEST(Maker, JoinsPathsInMessagesWithOneSeparator) {
    TemporaryFolder folder;
    for (const char* name : {"a.jpg", "b.jpg", "c.mp3"})
        writeFileText(folder / name, "");
    std::string slashed = folder.path();
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const auto [status, err] = runMakerHere({"new", slashed});
    EXPECT_TRUE(status == 1 && err.starts_with(folder.file("c.mp3") + ": file: a sound among 2 "
                                                                      "pictures"))
        << err;
}

} // namespace
