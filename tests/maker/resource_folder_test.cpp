#include "content/lzw_codec.h"
#include "maker/folder_writer.h"
#include "maker/quiz_reader.h"
#include "maker/quiz_writer.h"
#include "tests/maker/maker_test_support.h"

#include <gtest/gtest.h>

namespace {

const char* const kRewardPictures = R"(title = "Monuments"
layout = "pictures"
reward = "picture"
codes = ["A", "B", "C"]

[[question]]
answer = "PARIS"
picture = "q1.jpg"
reward_picture = "r1.jpg"

[[question]]
answer = "LONDRES"
picture = "q2.bmp"

[[question]]
answer = "BERLIN"
picture = "q3.gif"
reward_picture = "q3.gif"
)";

QuizResources buildSource(const std::string& toml, QuizSource* quiz = nullptr) {
    ParsedSource parsed = parseSource(toml);
    EXPECT_FALSE(parsed.diagnostics.hasErrors()) << testing::PrintToString(parsed.errors());
    std::optional<QuizResources> resources = buildQuizResources(parsed.quiz, parsed.diagnostics);
    EXPECT_TRUE(resources);
    if (quiz)
        *quiz = parsed.quiz;
    return resources.value_or(QuizResources{});
}

TEST(ResourceScript, NamesEveryResourceAndItsFile) {
    const QuizResources resources = buildSource(kRewardPictures);
    EXPECT_EQ(resourceScriptText(resources, kMediaPictures),
              "// The resources of one quiz, made by plimo-maker. Compile this script with windres "
              "from\n"
              "// its own folder (or with --include-dir naming it) and link it into a copy of the\n"
              "// player.\n"
              "LANGUAGE 0, 0\n"
              "\n"
              "104 PATCH \"quiz_text.bin\"\n"
              "105 PATCH \"quiz_codes.bin\"\n"
              "401 IMG \"media_401.jpg\"\n"
              "402 IMG \"media_402.bmp\"\n"
              "403 IMG \"media_403.gif\"\n"
              "10401 IMG \"reward_10401.jpg\"\n"
              "10403 IMG \"reward_10403.gif\"\n");
}

TEST(ResourceScript, NamesClipsAsThePlayerPlaysThem) {
    const QuizResources resources = buildSource(R"(title = "Sons"
layout = "sound"
codes = ["A"]
[[question]]
answer = "CHAT"
sound = "clip.mp3"
)");
    EXPECT_THAT(resourceScriptText(resources, kMediaSound),
                testing::EndsWith("105 PATCH \"quiz_codes.bin\"\n401 IMG \"media_401.mp3\"\n"));
}

TEST(ResourceScript, WritesTheScriptAndEveryFileItNames) {
    const QuizResources resources = buildSource(kRewardPictures);
    ScratchFolder scratch;
    const std::filesystem::path folder = scratch / "out/rc";
    Diagnostics diagnostics;
    ASSERT_TRUE(writeResourceFolder(resources, kMediaPictures, folder, false, diagnostics))
        << formatDiagnostic(diagnostics.all().at(0));

    EXPECT_EQ(readBytes(folder / "quiz_text.bin"), *resources.quizText);
    EXPECT_EQ(readBytes(folder / "quiz_codes.bin"), *resources.quizCodes);
    EXPECT_EQ(readBytes(folder / "media_401.jpg"), readBytes(testData() / "q1.jpg"));
    EXPECT_EQ(readBytes(folder / "media_402.bmp"), readBytes(testData() / "q2.bmp"));
    EXPECT_EQ(readBytes(folder / "reward_10401.jpg"), readBytes(testData() / "r1.jpg"));
    EXPECT_EQ(readBytes(folder / "reward_10403.gif"), readBytes(testData() / "q3.gif"));
    const std::vector<uint8_t> script = readBytes(folder / "quiz.rc");
    EXPECT_EQ(std::string(script.begin(), script.end()),
              resourceScriptText(resources, kMediaPictures));
    // The stored texts are the player's own stream, decodable as they are.
    std::vector<uint8_t> text;
    EXPECT_EQ(lzwDecode(readBytes(folder / "quiz_text.bin"), text), kLzwOk);
}

TEST(ResourceScript, ReportsAFolderThatCannotBeMade) {
    ScratchFolder scratch;
    writeText(scratch / "file", "in the way");
    Diagnostics diagnostics;
    EXPECT_FALSE(writeResourceFolder(buildSource(kRewardPictures), kMediaPictures,
                                     scratch / "file/rc", false, diagnostics));
    EXPECT_TRUE(diagnostics.hasErrors());
}

// What extract does with the resources of an executable: the source it writes builds the same
// resources again, byte for byte.
TEST(SourceFolder, TheExtractedSourceBuildsTheSameResources) {
    const QuizResources resources = buildSource(kRewardPictures);
    Diagnostics diagnostics;
    std::optional<QuizSource> stored = quizFromResources(resources, "quiz.exe", diagnostics);
    ASSERT_TRUE(stored);
    ScratchFolder folder;
    ASSERT_TRUE(writeSourceFolder(*stored, resources, folder.path(), false, diagnostics));
    EXPECT_TRUE(diagnostics.all().empty());

    Diagnostics again;
    QuizSource extracted = readQuizSource((folder / "quiz.toml").string(), again);
    ASSERT_FALSE(again.hasErrors()) << formatDiagnostic(again.all().at(0));
    EXPECT_EQ(extracted.questions[0].media.path, "media_401.jpg");
    EXPECT_EQ(extracted.questions[0].rewardPicture.path, "reward_10401.jpg");
    EXPECT_FALSE(extracted.questions[1].rewardPicture.present());
    std::optional<QuizResources> rebuilt = buildQuizResources(extracted, again);
    ASSERT_TRUE(rebuilt);
    EXPECT_TRUE(*rebuilt == resources);
}

TEST(SourceFolder, WarnsOfMissingAndUnusedPictures) {
    QuizResources resources = buildSource(kRewardPictures);
    resources.images.erase(402);
    resources.images[10499] = resources.images.at(401);
    Diagnostics diagnostics;
    std::optional<QuizSource> stored = quizFromResources(resources, "quiz.exe", diagnostics);
    ASSERT_TRUE(stored);
    ScratchFolder folder;
    ASSERT_TRUE(writeSourceFolder(*stored, resources, folder.path(), false, diagnostics));
    ASSERT_EQ(diagnostics.all().size(), 2u);
    EXPECT_THAT(formatDiagnostic(diagnostics.sorted()[0]),
                testing::StartsWith("quiz.exe: question[2].picture: warning: no IMG 402"));
    EXPECT_THAT(formatDiagnostic(diagnostics.sorted()[1]),
                testing::StartsWith("quiz.exe: IMG 10499: warning: "));
    EXPECT_FALSE(std::filesystem::exists(folder / "reward_10499.jpg"));
}

} // namespace
