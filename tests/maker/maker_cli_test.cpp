#include "maker/executable_io_host.h"
#include "maker/maker_cli.h"
#include "tests/maker/maker_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <new>
#include <sstream>

namespace {

using testing::HasSubstr;
using testing::StartsWith;

// Executables as resource sets in memory, so every command can be run end to end.
class FakeExecutableIo final : public ExecutableIo {
  public:
    ExecutableResult readQuiz(const std::filesystem::path& executable,
                              QuizResources& resources) override {
        if (exhausted)
            throw std::bad_alloc();
        auto found = executables.find(executable.string());
        if (found == executables.end())
            return {ExecutableStatus::kFailed, "cannot open the executable", {}};
        resources = found->second;
        return {};
    }
    ExecutableResult writeQuiz(const std::filesystem::path& output,
                               const std::filesystem::path& player,
                               const QuizResources& resources) override {
        players.push_back(player.string());
        executables[output.string()] = resources;
        return {};
    }

    std::map<std::string, QuizResources> executables;
    std::vector<std::string> players;
    bool exhausted = false; // reading runs out of memory
};

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

const char* const kCapitals = R"(title = "Les capitales"
creator = "Jeanne"
layout = "text list"
reward = "text"
codes = ["CODE1", "CODE2"]

[[question]]
text = "Capitale de la France ?"
answer = "PARIS"
reward_text = "Bravo !"

[[question]]
text = "Capitale de l'Italie ?"
answer = "ROME"
reward_text = "Très bien"
)";

class MakerCli : public testing::Test {
  protected:
    void SetUp() override {
        source = (folder / "capitales.toml").string();
        writeText(source, kCapitals);
    }

    CliRun run(std::vector<std::string> arguments) {
        std::ostringstream out, err;
        const int status = runMaker(arguments, executables, out, err);
        return {status, out.str(), err.str()};
    }

    ScratchFolder folder;
    std::string source;
    FakeExecutableIo executables;
};

TEST_F(MakerCli, HelpListsEveryCommand) {
    for (const char* help : {"--help", "-h", "help"}) {
        CliRun result = run({help});
        EXPECT_EQ(result.status, kExitSuccess);
        EXPECT_TRUE(result.err.empty());
        for (const char* command : {"build", "show", "extract", "judge", "--rc"})
            EXPECT_THAT(result.out, HasSubstr(command)) << help;
    }
}

struct Misuse {
    const char* name;
    std::vector<std::string> arguments;
    std::string mention;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const Misuse& row, std::ostream* out) {
    *out << row.name;
}

class MakerUsage : public MakerCli, public testing::WithParamInterface<Misuse> {};

TEST_P(MakerUsage, IsAUsageErrorOnOneLine) {
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string& argument : arguments) {
        if (argument == "SOURCE")
            argument = source;
    }
    CliRun result = run(arguments);
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_TRUE(result.out.empty());
    EXPECT_THAT(result.err, StartsWith("plimo-maker: "));
    EXPECT_THAT(result.err, HasSubstr(GetParam().mention));
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Misuses, MakerUsage,
    testing::Values(
        Misuse{"nothing", {}, "no command"},
        Misuse{"unknown_command", {"make", "SOURCE"}, "unknown command make"},
        Misuse{"unknown_option", {"show", "SOURCE", "--verbose"}, "unknown option --verbose"},
        Misuse{"option_without_value", {"build", "SOURCE", "-o"}, "-o needs a value"},
        Misuse{"build_without_output", {"build", "SOURCE"}, "either -o"},
        Misuse{"build_with_both_outputs",
               {"build", "SOURCE", "-o", "a.exe", "--rc", "d"},
               "either -o"},
        Misuse{"player_with_rc", {"build", "SOURCE", "--rc", "d", "--player", "p.exe"}, "--player"},
        Misuse{"force_with_executable", {"build", "SOURCE", "-o", "a.exe", "--force"}, "--force"},
        Misuse{"show_two_quizzes", {"show", "SOURCE", "SOURCE"}, "show takes"},
        Misuse{"show_with_output", {"show", "SOURCE", "-o", "x"}, "no --output"},
        Misuse{"extract_without_output", {"extract", "SOURCE"}, "-o DIR"},
        Misuse{"judge_without_text", {"judge", "SOURCE", "1"}, "judge takes"},
        Misuse{"judge_question_zero", {"judge", "SOURCE", "0", "PARIS"}, "from 1"},
        Misuse{"judge_question_not_a_number", {"judge", "SOURCE", "1x", "PARIS"}, "from 1"},
        Misuse{"judge_question_past_the_end", {"judge", "SOURCE", "3", "PARIS"}, "not 3"},
        Misuse{"judge_second_answer_of_one",
               {"judge", "SOURCE", "1", "PARIS", "--answer", "2"},
               "not 2"},
        Misuse{"judge_text_without_cp1252", {"judge", "SOURCE", "1", "\xE4\xB8\xAD"}, "U+4E2D"}),
    [](const testing::TestParamInfo<Misuse>& info) { return info.param.name; });

// Texts, keys and paths from a source, an executable or the command line that hold control
// characters: they reach the terminal escaped, never raw.
struct Hostile {
    const char* name;
    std::string toml; // the source, when the row needs one
    std::vector<std::string> arguments;
    std::string escaped; // how the control characters must come out
};

void PrintTo(const Hostile& row, std::ostream* out) {
    *out << row.name;
}

class MakerOutput : public MakerCli, public testing::WithParamInterface<Hostile> {};

TEST_P(MakerOutput, ShowsControlCharactersEscaped) {
    std::filesystem::copy_file(testData() / "q1.jpg", folder / "q\x1b[2J.jpg");
    if (!GetParam().toml.empty())
        writeText(source, GetParam().toml);
    std::vector<std::string> arguments = GetParam().arguments;
    std::replace(arguments.begin(), arguments.end(), std::string("SOURCE"), source);
    CliRun result = run(arguments);
    const std::string printed = result.out + result.err;
    EXPECT_THAT(printed, HasSubstr(GetParam().escaped));
    EXPECT_FALSE(std::any_of(printed.begin(), printed.end(), [](unsigned char c) {
        return (c < 0x20 && c != '\n') || c == 0x7F;
    })) << printed;
}

const std::string kPictureQuiz = "title = \"T\"\nlayout = \"pictures\"\ncodes = [\"C\"]\n"
                                 "[[question]]\nanswer = \"A\"\n";

INSTANTIATE_TEST_SUITE_P(
    Hostile, MakerOutput,
    testing::Values(
        Hostile{"escape_in_a_key",
                "\"\\u001b[2J\" = 1\n" + kPictureQuiz + "picture = \"q1.jpg\"\n",
                {"show", "SOURCE"},
                "\\u001b[2J"},
        Hostile{"csi_in_a_key",
                "\"\\u009b2J\" = 1\n" + kPictureQuiz + "picture = \"q1.jpg\"\n",
                {"show", "SOURCE"},
                "\\u009b2J"},
        Hostile{"missing_media_path",
                kPictureQuiz + "picture = \"\\u001b]0;x\\u0007.jpg\"\n",
                {"show", "SOURCE"},
                "\\u001b]0;x\\u0007.jpg"},
        Hostile{"shown_media_path",
                kPictureQuiz + "picture = \"q\\u001b[2J.jpg\"\n",
                {"show", "SOURCE"},
                "q\\u001b[2J.jpg, IMG 401"},
        Hostile{"unknown_command", "", {"\x1b[2J"}, "unknown command \\u001b[2J"},
        Hostile{"missing_executable", "", {"show", "no\x1b[2J.exe"}, "no\\u001b[2J.exe: "},
        Hostile{"line_feed_in_a_path", "", {"show", "a\nb.toml"}, "a\\u000ab.toml: file: "}),
    [](const testing::TestParamInfo<Hostile>& info) { return info.param.name; });

TEST_F(MakerCli, TheHostMakerCannotReadOrWriteExecutables) {
    HostExecutableIo host;
    std::ostringstream out, err;
    EXPECT_EQ(runMaker({"build", source, "-o", (folder / "q.exe").string()}, host, out, err),
              kExitUsage);
    EXPECT_EQ(err.str(), "plimo-maker: reading and writing executables needs the Windows maker "
                         "(plimo-maker.exe)\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "q.exe"));
    std::ostringstream out2, err2;
    EXPECT_EQ(runMaker({"extract", "q.exe", "-o", (folder / "x").string()}, host, out2, err2),
              kExitUsage);
    EXPECT_FALSE(std::filesystem::exists(folder / "x"));
}

TEST_F(MakerCli, BuildWritesAResourceScriptFolder) {
    const std::filesystem::path rc = folder / "rc";
    CliRun result = run({"build", source, "--rc", rc.string()});
    EXPECT_EQ(result.status, kExitSuccess) << result.err;
    EXPECT_TRUE(result.err.empty()) << result.err;
    EXPECT_THAT(result.out, HasSubstr("quiz.rc"));
    for (const char* file : {"quiz.rc", "quiz_text.bin", "quiz_codes.bin"})
        EXPECT_TRUE(std::filesystem::exists(rc / file)) << file;
}

TEST_F(MakerCli, WritesNothingOverAnExistingFileUnlessForced) {
    ASSERT_EQ(run({"build", source, "-o", "q.exe"}).status, kExitSuccess);
    const struct {
        std::vector<std::string> command;
        const char* existing;
    } cases[] = {
        {{"build", source, "--rc"}, "quiz.rc"},
        {{"build", source, "--rc"}, "quiz_codes.bin"},
        {{"extract", "q.exe", "-o"}, "quiz.toml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.existing);
        const std::filesystem::path out = folder / ("out_" + std::string(c.existing));
        std::filesystem::create_directory(out);
        const std::string own = "# the author's own, with comments\n";
        writeText(out / c.existing, own);
        auto kept = [&] {
            const std::vector<uint8_t> now = readBytes(out / c.existing);
            return std::string(now.begin(), now.end()) == own;
        };
        std::vector<std::string> command = c.command;
        command.push_back(out.string());

        CliRun refused = run(command);
        EXPECT_EQ(refused.status, kExitQuizError);
        EXPECT_THAT(refused.err,
                    StartsWith((out / c.existing).string() + ": file: exists already"));
        EXPECT_THAT(refused.err, HasSubstr("--force"));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 1);
        EXPECT_TRUE(kept());

        command.push_back("--force");
        CliRun forced = run(command);
        EXPECT_EQ(forced.status, kExitSuccess) << forced.err;
        EXPECT_FALSE(kept());
    }
}

TEST_F(MakerCli, RefusesFilesPastTheSizeLimitsByTheirSize) {
    const uintmax_t mebibyte = 1024 * 1024;
    const std::string picture = "title = \"T\"\nlayout = \"pictures\"\ncodes = [\"C\"]\n"
                                "[[question]]\nanswer = \"A\"\npicture = \"big.jpg\"\n";
    const struct {
        const char* name;
        std::filesystem::path file; // made sparse, of `size` bytes
        uintmax_t size;
        std::string error; // empty: the quiz is made
    } cases[] = {
        {"picture at the limit", folder / "big.jpg", 16 * mebibyte, ""},
        {"picture past the limit", folder / "big.jpg", 16 * mebibyte + 1,
         ":6: question[1].picture: \"big.jpg\" is 16777217 bytes, more than the 16 MiB"},
        {"source past the limit", source, mebibyte + 1,
         ": file: cannot read: the file is 1048577 bytes, more than the 1 MiB allowed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeText(source, picture);
        writeText(folder / "big.jpg", "\xFF\xD8\xFF\xE0");
        std::filesystem::resize_file(c.file, c.size);
        // Kept as it is: no decoder could make a picture of these bytes.
        CliRun result = run({"show", source, "--keep-pictures"});
        if (c.error.empty()) {
            EXPECT_EQ(result.status, kExitSuccess) << result.err;
            EXPECT_THAT(result.out, HasSubstr("JPEG, 16777216 bytes"));
        } else {
            EXPECT_EQ(result.status, kExitQuizError);
            EXPECT_THAT(result.err, StartsWith(source + c.error));
        }
    }
}

TEST_F(MakerCli, RunningOutOfMemoryIsAnErrorWithAMessage) {
    executables.exhausted = true;
    CliRun result = run({"show", "q.exe"});
    EXPECT_EQ(result.status, kExitQuizError);
    EXPECT_EQ(result.err, "plimo-maker: not enough memory for this quiz; nothing was made\n");
}

TEST_F(MakerCli, AQuizWithAnErrorMakesNothing) {
    writeText(source, std::string(kCapitals) + "[[question]]\ntext = \"|\"\nanswer = \"X\"\n"
                                               "reward_text = \"\"\n");
    const std::filesystem::path rc = folder / "rc";
    CliRun result = run({"build", source, "--rc", rc.string()});
    EXPECT_EQ(result.status, kExitQuizError);
    EXPECT_TRUE(result.out.empty());
    EXPECT_THAT(result.err, HasSubstr(source + ":17: question[3].text: "));
    EXPECT_FALSE(std::filesystem::exists(rc));

    CliRun executable = run({"build", source, "-o", (folder / "q.exe").string()});
    EXPECT_EQ(executable.status, kExitQuizError);
    EXPECT_TRUE(executables.executables.empty());
}

TEST_F(MakerCli, WarningsAreShownAndTheQuizIsStillMade) {
    writeText(source, std::string(kCapitals) + "[[question]]\ntext = \"?\"\nanswer = \"ROMA\"\n"
                                               "reward_text = \"\"\n");
    CliRun result = run({"build", source, "-o", "out.exe"});
    EXPECT_EQ(result.status, kExitSuccess);
    EXPECT_THAT(result.err, StartsWith(source + ":5: codes: warning: "));
    EXPECT_THAT(result.err,
                HasSubstr(source + ":18: question[3].answer: warning: \"ROMA\" and \"ROME\""));
    EXPECT_TRUE(executables.executables.count("out.exe"));
}

TEST_F(MakerCli, BuildHandsThePlayerToTheExecutableWriter) {
    EXPECT_EQ(run({"build", source, "-o", "a.exe"}).status, kExitSuccess);
    EXPECT_EQ(run({"build", source, "-o", "b.exe", "--player", "plimo.exe"}).status, kExitSuccess);
    EXPECT_EQ(executables.players, (std::vector<std::string>{"", "plimo.exe"}));
}

TEST_F(MakerCli, ShowPrintsTheQuizAsThePlayerSeesIt) {
    CliRun result = run({"show", source});
    EXPECT_EQ(result.status, kExitSuccess) << result.err;
    EXPECT_EQ(result.out, "title: \"Les capitales\"\n"
                          "creator: \"Jeanne\"\n"
                          "explanation: \"\"\n"
                          "layout: text list, 2 questions, 1 answer per question\n"
                          "colour: #35CBA3\n"
                          "reward: text\n"
                          "\n"
                          "question 1\n"
                          "  text: \"Capitale de la France ?\"\n"
                          "  answer: \"PARIS\"\n"
                          "  reward text: \"Bravo !\"\n"
                          "\n"
                          "question 2\n"
                          "  text: \"Capitale de l'Italie ?\"\n"
                          "  answer: \"ROME\"\n"
                          "  reward text: \"Tr\xC3\xA8s bien\"\n"
                          "\n"
                          "codes:\n"
                          "  score 1: \"CODE1\"\n"
                          "  score 2: \"CODE2\"\n");
}

TEST_F(MakerCli, ShowNamesThePicturesOfAnExecutable) {
    std::filesystem::copy_file(testData() / "q1.jpg", folder / "q1.jpg");
    writeBytes(folder / "photo.png", madePicture("png", 600, 400));
    writeText(source, "title = \"T\"\nlayout = \"pictures\"\nanswer_labels = [\"A\", \"B\"]\n"
                      "codes = [\"C\"]\n[[question]]\nanswers = [\"X\", \"Y\"]\n"
                      "picture = \"q1.jpg\"\n[[question]]\nanswers = [\"Z\", \"W\"]\n"
                      "picture = \"photo.png\"\n");
    ASSERT_EQ(run({"build", source, "-o", "q.exe"}).status, kExitSuccess);
    CliRun fromSource = run({"show", source});
    CliRun fromExecutable = run({"show", "q.exe"});
    EXPECT_EQ(fromExecutable.status, kExitSuccess) << fromExecutable.err;
    const std::string size = std::to_string(std::filesystem::file_size(folder / "q1.jpg"));
    EXPECT_THAT(fromSource.out, HasSubstr("  picture: q1.jpg, IMG 401, JPEG 4 x 3, " + size +
                                          " bytes, kept as it was\n"));
    EXPECT_THAT(fromSource.out, HasSubstr("  picture: photo.png, IMG 402, JPEG 260 x 173, "));
    EXPECT_THAT(fromSource.out, HasSubstr(" bytes, scaled from PNG 600 x 400\n"));
    // An executable tells what it stores, not what its pictures were before.
    EXPECT_THAT(fromExecutable.out,
                HasSubstr("  picture: IMG 401, JPEG 4 x 3, " + size + " bytes\n"));
    EXPECT_THAT(fromExecutable.out, HasSubstr("  picture: IMG 402, JPEG 260 x 173, "));
    EXPECT_THAT(fromExecutable.out, HasSubstr("answer labels: \"A\", \"B\"\n"));
    EXPECT_THAT(fromExecutable.out, HasSubstr("  answer 2: \"Y\"\n"));
}

struct Typed {
    int question;
    std::string text;
    std::string verdict;
};

void PrintTo(const Typed& typed, std::ostream* out) {
    *out << "question " << typed.question << " \"" << typed.text << "\"";
}

class MakerJudge : public MakerCli, public testing::WithParamInterface<Typed> {};

TEST_P(MakerJudge, PrintsThePlayersVerdictInUtf8) {
    CliRun result = run({"judge", source, std::to_string(GetParam().question), GetParam().text});
    EXPECT_EQ(result.status, kExitSuccess) << result.err;
    EXPECT_EQ(result.out, GetParam().verdict + "\n");
}

INSTANTIATE_TEST_SUITE_P(Verdicts, MakerJudge,
                         testing::Values(Typed{1, "  paris ", "BRAVO"},
                                         Typed{1, "PRAIS", "Anagramme"},
                                         Typed{1, "PARI", "Quasiment"}, Typed{2, "RO", "Presque"},
                                         Typed{1, "PARISIENS", "Trop long"}, Typed{2, "", "?"},
                                         Typed{2, "LONDRES", "FAUX"},
                                         Typed{1, "P\xC3\xA0RIS", "Quasiment"}));

TEST_F(MakerCli, JudgesTheSecondAnswerOfAQuestion) {
    std::filesystem::copy_file(testData() / "q1.jpg", folder / "q1.jpg");
    writeText(source, "title = \"T\"\nlayout = \"pictures\"\ncodes = [\"C\"]\n"
                      "[[question]]\nanswers = [\"PARIS\", \"FRANCE\"]\npicture = \"q1.jpg\"\n");
    EXPECT_EQ(run({"judge", source, "1", "FRANCE"}).out, "FAUX\n");
    EXPECT_EQ(run({"judge", source, "1", "FRANCE", "--answer", "2"}).out, "BRAVO\n");
    EXPECT_EQ(run({"judge", source, "--answer", "2", "1", "FRANCE"}).out, "BRAVO\n");
}

TEST_F(MakerCli, ATypedTextThatLooksLikeAnOptionFollowsTwoDashes) {
    EXPECT_EQ(run({"judge", source, "1", "--", "-PARIS"}).out, "Quasiment\n");
}

TEST_F(MakerCli, ExtractThenBuildGivesTheSameExecutable) {
    ASSERT_EQ(run({"build", source, "-o", "first.exe"}).status, kExitSuccess);
    const std::filesystem::path extracted = folder / "extracted";
    CliRun extract = run({"extract", "first.exe", "-o", extracted.string()});
    ASSERT_EQ(extract.status, kExitSuccess) << extract.err;
    EXPECT_TRUE(extract.err.empty()) << extract.err;

    CliRun rebuild = run({"build", (extracted / "quiz.toml").string(), "-o", "second.exe"});
    ASSERT_EQ(rebuild.status, kExitSuccess) << rebuild.err;
    EXPECT_TRUE(executables.executables.at("first.exe") ==
                executables.executables.at("second.exe"));
}

TEST_F(MakerCli, AnExecutableWithoutAQuizIsAnError) {
    executables.executables["empty.exe"] = QuizResources{};
    CliRun result = run({"show", "empty.exe"});
    EXPECT_EQ(result.status, kExitQuizError);
    EXPECT_THAT(result.err, StartsWith("empty.exe: PATCH 104: missing"));

    CliRun unreadable = run({"show", "nowhere.exe"});
    EXPECT_EQ(unreadable.status, kExitQuizError);
    EXPECT_EQ(unreadable.err, "nowhere.exe: cannot open the executable\n");
}

TEST_F(MakerCli, AMissingSourceIsAnErrorInTheQuiz) {
    const std::string missing = (folder / "none.toml").string();
    CliRun result = run({"show", missing});
    EXPECT_EQ(result.status, kExitQuizError);
    EXPECT_THAT(result.err, StartsWith(missing + ": file: cannot read"));
}

// A folder of the author's media, as `new` finds it.
class MakerNew : public MakerCli {
  protected:
    std::filesystem::path media(const std::vector<std::string>& names) {
        const std::filesystem::path photos = folder / "Mes_vacances";
        std::filesystem::create_directories(photos);
        for (const std::string& name : names)
            std::filesystem::copy_file(testData() / "q1.jpg", photos / pathFromUtf8(name));
        return photos;
    }
};

TEST_F(MakerNew, WritesAQuizThatBuildsAtOnceAndTakesTheFileNamesAsAnswers) {
    const std::filesystem::path photos =
        media({"Ch\xC3\xA2teau de Chambord.jpg", "10 Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65.jpg",
               "2_tour-eiffel.JPG", "notes.txt"});
    writeBytes(photos / "Mont Saint-Michel.png", madePicture("png", 400, 300));
    CliRun made = run({"new", photos.string()});
    ASSERT_EQ(made.status, kExitSuccess) << made.err;
    EXPECT_THAT(made.out, HasSubstr("quiz.toml: 4 questions"));
    EXPECT_THAT(made.err, HasSubstr("notes.txt: file: warning: not a picture, MP3 or AVI file"));

    const std::string quiz = (photos / "quiz.toml").string();
    ASSERT_EQ(run({"build", quiz, "-o", "vacances.exe"}).status, kExitSuccess);
    const std::string shown = run({"show", "vacances.exe"}).out;
    EXPECT_THAT(shown, HasSubstr("title: \"Mes vacances\"\n"));
    EXPECT_THAT(shown, HasSubstr("layout: pictures, 4 questions"));
    // In natural order, 2 before 10; each name, as it was written, is the right answer.
    const char* answers[] = {"2 tour eiffel", "10 Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65",
                             "Ch\xC3\xA2teau de Chambord", "Mont Saint Michel"};
    for (int n = 1; n <= 4; ++n) {
        CliRun judged = run({"judge", "vacances.exe", std::to_string(n), answers[n - 1]});
        EXPECT_EQ(judged.out, "BRAVO\n") << answers[n - 1] << judged.err;
    }
}

struct BadFolder {
    const char* name;
    std::vector<std::string> files;
    std::string error; // after the folder's path and a '/'
};

void PrintTo(const BadFolder& row, std::ostream* out) {
    *out << row.name;
}

std::vector<std::string> numberedPictures(int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i)
        names.push_back(std::to_string(i) + ".jpg");
    return names;
}

class MakerNewRefuses : public MakerNew, public testing::WithParamInterface<BadFolder> {};

TEST_P(MakerNewRefuses, NamingTheFileAndWritingNothing) {
    const std::filesystem::path photos = media(GetParam().files);
    CliRun refused = run({"new", photos.string()});
    EXPECT_EQ(refused.status, kExitQuizError);
    EXPECT_THAT(refused.err, HasSubstr(photos.string() + GetParam().error));
    EXPECT_FALSE(std::filesystem::exists(photos / "quiz.toml"));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, MakerNewRefuses,
    testing::Values(
        BadFolder{"nothing_to_ask", {"notes.txt"}, ": folder: no pictures, MP3 or AVI files"},
        BadFolder{"a_sound_among_pictures",
                  {"a.jpg", "b.png", "c.mp3"},
                  "/c.mp3: file: a sound among 2 pictures: a quiz shows pictures, sounds or "
                  "videos, not a mix"},
        BadFolder{"name_outside_windows_1252",
                  {"a.jpg", "\xE4\xB8\xAD.jpg"},
                  "/\xE4\xB8\xAD.jpg: name: holds the character \"\xE4\xB8\xAD\" (U+4E2D), "
                  "which Windows-1252 cannot store: rename it"},
        BadFolder{"bar_in_name", {"a|b.jpg"}, "/a|b.jpg: name: holds a '|'"},
        BadFolder{"more_than_96", numberedPictures(97),
                  ": folder: 97 pictures, more than the 96 questions a quiz holds"}),
    [](const testing::TestParamInfo<BadFolder>& info) { return info.param.name; });

TEST_F(MakerNew, ReplacesAnExistingQuizOnlyWhenForced) {
    const std::filesystem::path photos = media({"a.jpg"});
    writeText(photos / "quiz.toml", "# the author's own\n");
    CliRun refused = run({"new", photos.string()});
    EXPECT_EQ(refused.status, kExitQuizError);
    EXPECT_THAT(refused.err, HasSubstr("quiz.toml: file: exists already"));
    EXPECT_EQ(readBytes(photos / "quiz.toml").size(), 19u);
    EXPECT_EQ(run({"new", photos.string(), "--force"}).status, kExitSuccess);
    EXPECT_GT(readBytes(photos / "quiz.toml").size(), 19u);
}

} // namespace
