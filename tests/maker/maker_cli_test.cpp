#include "maker/executable_io_host.h"
#include "maker/maker_cli.h"
#include "tests/maker/maker_test_support.h"

#include <algorithm>
#include <map>
#include <new>
#include <sstream>

namespace {

// Executables as resource sets in memory, so every command can be run end to end.
class FakeExecutableIo final : public ExecutableIo {
  public:
    ExecutableResult readQuiz(const fs::path& executable, QuizResources& resources) override {
        if (executable == "huge.exe")
            throw std::bad_alloc();
        auto found = executables.find(executable.string());
        if (found == executables.end())
            return {ExecutableStatus::kFailed, "cannot open the executable", {}};
        resources = found->second;
        return {};
    }
    ExecutableResult writeQuiz(const fs::path& output, const fs::path& player,
                               const QuizResources& resources) override {
        players.push_back(player.string());
        executables[output.string()] = resources;
        return {};
    }
    std::map<std::string, QuizResources> executables{{"empty.exe", {}}};
    std::vector<std::string> players;
};

const std::string kCapitals = R"(title = "Les capitales"
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

const std::string kPictureQuiz =
    "title = \"T\"\nlayout = \"pictures\"\n[[question]]\nanswer = \"A\"\n";

struct CliRun {
    int status;
    std::string out, err;
};

// A folder with the test media, the capitals quiz as SOURCE and a quiz of two answers as PAIRS.
class MakerCli : public testing::Test {
  protected:
    void SetUp() override {
        fs::copy(kData, folder.path);
        fs::copy_file(kData / "q1.jpg", folder / "q\x1b[2J.jpg");
        writeText(source, kCapitals);
        writeText(folder / "pairs.toml", "title = \"T\"\nlayout = \"pictures\"\ncodes = [\"C\"]\n"
                                         "[[question]]\nanswers = [\"PARIS\", \"FRANCE\"]\n"
                                         "picture = \"q1.jpg\"\n");
    }

    // HOST first runs the maker built for Linux, which has no executables to read or write.
    CliRun run(std::vector<std::string> arguments) {
        HostExecutableIo host;
        const bool onHost = !arguments.empty() && arguments[0] == "HOST";
        if (onHost)
            arguments.erase(arguments.begin());
        for (std::string& argument : arguments) {
            if (argument == "SOURCE" || argument == "PAIRS")
                argument =
                    (folder / (argument == "PAIRS" ? "pairs.toml" : "capitales.toml")).string();
            else if (argument.starts_with("DIR/"))
                argument = (folder / argument.substr(4)).string();
        }
        std::ostringstream out, err;
        const int status =
            runMaker(arguments, onHost ? static_cast<ExecutableIo&>(host) : executables, out, err);
        return {status, out.str(), err.str()};
    }

    ScratchFolder folder;
    const std::string source = (folder / "capitales.toml").string();
    FakeExecutableIo executables;
};

TEST_F(MakerCli, AnswersEachCommandLineWithItsStatusAndMessage) {
    // `toml`, when given, replaces SOURCE; the output names the run's own files.
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string said, toml = {};
    } rows[] = {
        {{"--help"}, 0, "plimo-maker extract QUIZ.exe -o DIR"},
        {{"-h"}, 0, "plimo-maker judge QUIZ.toml|QUIZ.exe N TEXT"},
        {{"help"}, 0, "plimo-maker build QUIZ.toml --rc DIR"},
        {{}, 2, "plimo-maker: no command"},
        {{"make", "SOURCE"}, 2, "plimo-maker: unknown command make"},
        {{"show", "SOURCE", "--verbose"}, 2, "unknown option --verbose"},
        {{"build", "SOURCE", "-o"}, 2, "-o needs a value"},
        {{"build", "SOURCE", "-o", "a.exe", "-o", "b.exe"}, 2, "-o is given twice"},
        {{"build", "SOURCE"}, 2, "either -o"},
        {{"build", "SOURCE", "-o", "a.exe", "--rc", "d"}, 2, "either -o"},
        {{"build", "SOURCE", "--rc", "d", "--player", "p.exe"}, 2, "--player goes with -o"},
        {{"build", "SOURCE", "-o", "a.exe", "--force"}, 2, "--force goes with --rc"},
        {{"show", "SOURCE", "SOURCE"}, 2, "show takes"},
        {{"show", "SOURCE", "-o", "x"}, 2, "show takes no --output"},
        {{"extract", "SOURCE"}, 2, "-o DIR"},
        {{"extract", "q.exe", "-o", "d", "--keep-pictures"}, 2, "extract takes no --keep-pictures"},
        {{"judge", "SOURCE", "1"}, 2, "judge takes"},
        {{"judge", "SOURCE", "0", "PARIS"}, 2, "from 1"},
        {{"judge", "SOURCE", "1x", "PARIS"}, 2, "from 1"},
        {{"judge", "SOURCE", "3", "PARIS"}, 2, "not 3"},
        {{"judge", "SOURCE", "1", "PARIS", "--answer", "2"}, 2, "not 2"},
        {{"judge", "SOURCE", "1", "\xE4\xB8\xAD"}, 2, "\"\xE4\xB8\xAD\" (U+4E2D)"},
        {{"judge", "SOURCE", "1", "\xF0\x9F\x98\x80"}, 2, "\"\xF0\x9F\x98\x80\" (U+1F600)"},
        {{"judge", "SOURCE", "1", "  paris "}, 0, "BRAVO\n"},
        {{"judge", "SOURCE", "1", "PRAIS"}, 0, "Anagramme\n"},
        {{"judge", "SOURCE", "1", "PARI"}, 0, "Quasiment\n"},
        {{"judge", "SOURCE", "2", "RO"}, 0, "Presque\n"},
        {{"judge", "SOURCE", "1", "PARISIENS"}, 0, "Trop long\n"},
        {{"judge", "SOURCE", "2", ""}, 0, "?\n"},
        {{"judge", "SOURCE", "2", "LONDRES"}, 0, "FAUX\n"},
        {{"judge", "SOURCE", "1", "P\xC3\xA0RIS"}, 0, "Quasiment\n"},
        {{"judge", "SOURCE", "1", "--", "-PARIS"}, 0, "Quasiment\n"},
        {{"judge", "PAIRS", "1", "FRANCE"}, 0, "FAUX\n"},
        {{"judge", "PAIRS", "1", "FRANCE", "--answer", "2"}, 0, "BRAVO\n"},
        {{"judge", "PAIRS", "--answer", "2", "1", "FRANCE"}, 0, "BRAVO\n"},
        {{"HOST", "build", "SOURCE", "-o", "DIR/q.exe"},
         2,
         "needs the Windows maker (plimo-maker.exe)"},
        {{"HOST", "extract", "q.exe", "-o", "DIR/x"},
         2,
         "plimo-maker: reading and writing executables"},
        {{"show", "empty.exe"}, 1, "empty.exe: PATCH 104: missing"},
        {{"show", "nowhere.exe"}, 1, "nowhere.exe: cannot open the executable\n"},
        {{"show", "huge.exe"},
         1,
         "plimo-maker: not enough memory for this quiz; nothing was made\n"},
        {{"show", "DIR/none.toml"}, 1, "none.toml: file: cannot read"},
        {{"build", "SOURCE", "--rc", "DIR/capitales.toml/rc"}, 1, "capitales.toml/rc"},
        {{"build", "SOURCE", "-o", "out.exe"},
         0,
         ":18: question[3].answer: warning: \"ROMA\" and \"ROME\"",
         kCapitals + "[[question]]\ntext = \"?\"\nanswer = \"ROMA\"\nreward_text = \"\"\n"},
        {{"show", "SOURCE"},
         1,
         ":5: question[1].picture: \"not_a_picture.jpg\" is not a picture that the maker reads",
         kPictureQuiz + "picture = \"not_a_picture.jpg\"\n"},
        {{"show", "SOURCE"},
         1,
         ":7: question[1].reward_picture: \"clip.mp3\" is not a picture",
         "reward = \"picture\"\n" + kPictureQuiz +
             "picture = \"q1.jpg\"\nreward_picture = \"clip.mp3\"\n"},
        {{"show", "SOURCE", "--keep-pictures"},
         1,
         ":5: question[1].picture: \"q4.png\" is not a JPEG, BMP or GIF picture, which "
         "--keep-pictures stores as it is",
         kPictureQuiz + "picture = \"q4.png\"\n"},
        // Control characters from a source, an executable or the command line come out escaped.
        {{"show", "SOURCE"}, 1, "\\u001b[2J", "\"\\u001b[2J\" = 1\n" + kPictureQuiz},
        {{"show", "SOURCE"},
         1,
         "\\u001b]0;x\\u0007.jpg",
         kPictureQuiz + "picture = \"\\u001b]0;x\\u0007.jpg\"\n"},
        {{"show", "SOURCE"},
         0,
         "q\\u001b[2J.jpg, IMG 401",
         kPictureQuiz + "picture = \"q\\u001b[2J.jpg\"\n"},
        {{"\x1b[2J"}, 2, "unknown command \\u001b[2J"},
        {{"\x7f\xC2\x9B"
          "2J"},
         2,
         "unknown command \\u007f\\u009b2J"},
        {{"show", "no\x1b[2J.exe"}, 1, "no\\u001b[2J.exe: "},
        {{"show", "a\nb.toml"}, 1, "a\\u000ab.toml: file: "},
        {{"show", "a\xC2\xA0"
                  "b.toml"},
         1,
         "a\xC2\xA0"
         "b.toml: file: "}, // no-break space is shown
    };
    for (const auto& row : rows) {
        writeText(source, row.toml.empty() ? kCapitals : row.toml);
        const CliRun result = run(row.arguments);
        const std::string said = result.out + result.err;
        SCOPED_TRACE(testing::PrintToString(row.arguments) + " said " + said);
        EXPECT_EQ(result.status, row.status);
        EXPECT_THAT(said, HasSubstr(row.said));
        EXPECT_FALSE(std::any_of(said.begin(), said.end(), [](unsigned char c) {
            return (c < 0x20 && c != '\n') || c == 0x7F;
        }));
        if (row.status == kExitUsage && row.arguments.size() > 1) {
            EXPECT_THAT(result.err, StartsWith("plimo-maker: "));
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
        }
    }
}

// An author's quiz.toml and its comments are never lost to a command run in the wrong folder.
TEST_F(MakerCli, WritesNothingOverAnExistingFileUnlessForced) {
    ASSERT_EQ(run({"build", source, "-o", "q.exe"}).status, kExitSuccess);
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"build", source, "--rc"}, "quiz.rc"},
        {{"build", source, "--rc"}, "quiz_codes.bin"},
        {{"extract", "q.exe", "-o"}, "quiz.toml"},
        {{"new"}, "quiz.toml"},
    };
    int n = 0;
    for (auto [command, existing] : cases) {
        const fs::path out = folder / ("out" + std::to_string(++n));
        SCOPED_TRACE(command[0] + " " + existing);
        fs::create_directory(out);
        fs::copy_file(kData / "q1.jpg", out / "a.jpg");
        const std::string own = "# the author's own, with comments\n";
        writeText(out / existing, own);
        command.push_back(out.string());
        const CliRun refused = run(command);
        EXPECT_EQ(refused.status, kExitQuizError);
        EXPECT_THAT(refused.err, StartsWith((out / existing).string() + ": file: exists already"));
        EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), 2);
        EXPECT_EQ(readText(out / existing), own);
        command.push_back("--force");
        const CliRun forced = run(command);
        EXPECT_EQ(forced.status, kExitSuccess) << forced.err;
        EXPECT_THAT(forced.out, StartsWith("wrote " + out.string()));
        EXPECT_NE(readText(out / existing), own);
    }
}

TEST_F(MakerCli, RefusesFilesPastTheSizeLimitsByTheirSize) {
    const uintmax_t mebibyte = 1024 * 1024;
    const std::tuple<fs::path, uintmax_t, std::string> cases[] = {
        {folder / "big.jpg", 16 * mebibyte, ""},
        {folder / "big.jpg", 16 * mebibyte + 1,
         ":5: question[1].picture: \"big.jpg\" is 16777217 bytes, more than the 16 MiB"},
        {source, mebibyte + 1,
         ": file: cannot read: the file is 1048577 bytes, more than the 1 MiB allowed"},
    };
    for (const auto& [file, size, error] : cases) {
        writeText(source, kPictureQuiz + "picture = \"big.jpg\"\n");
        writeText(folder / "big.jpg", "\xFF\xD8\xFF\xE0");
        fs::resize_file(file, size); // sparse: the size is known before anything is read
        const CliRun result = run({"show", source, "--keep-pictures"});
        EXPECT_EQ(result.status, error.empty() ? kExitSuccess : kExitQuizError) << size;
        EXPECT_THAT(result.out + result.err,
                    HasSubstr(error.empty() ? "JPEG, 16777216 bytes" : source + error));
    }
}

TEST_F(MakerCli, AQuizWithErrorsMakesNothingAndNamesEachInLineOrder) {
    writeText(source, "title = \"A|B\"\n" + kCapitals.substr(kCapitals.find('\n') + 1) +
                          "[[question]]\ntext = \"|\"\nanswer = \"X\"\nreward_text = \"\"\n"
                          "colour = \"red\"\n");
    const CliRun result = run({"build", source, "--rc", (folder / "rc").string()});
    EXPECT_EQ(result.status, kExitQuizError);
    EXPECT_EQ(result.out, "");
    EXPECT_THAT(result.err, StartsWith(source + ":1: title: "));
    EXPECT_THAT(result.err, HasSubstr("\n" + source + ":17: question[3].text: "));
    EXPECT_THAT(result.err, HasSubstr("\n" + source + ":20: question[3].colour: "));
    EXPECT_FALSE(fs::exists(folder / "rc"));
    EXPECT_EQ(run({"build", source, "-o", "q.exe"}).status, kExitQuizError);
    EXPECT_EQ(executables.executables.count("q.exe"), 0u);
}

TEST_F(MakerCli, ShowPrintsTheQuizAsThePlayerSeesIt) {
    EXPECT_EQ(run({"show", source}).out,
              "title: \"Les capitales\"\ncreator: \"Jeanne\"\nexplanation: \"\"\n"
              "layout: text list, 2 questions, 1 answer per question\ncolour: #35CBA3\n"
              "reward: text\n\nquestion 1\n  text: \"Capitale de la France ?\"\n"
              "  answer: \"PARIS\"\n  reward text: \"Bravo !\"\n\nquestion 2\n"
              "  text: \"Capitale de l'Italie ?\"\n  answer: \"ROME\"\n"
              "  reward text: \"Tr\xC3\xA8s bien\"\n\ncodes:\n  score 1: \"CODE1\"\n"
              "  score 2: \"CODE2\"\n");
}

TEST_F(MakerCli, ShowTellsWhatTheBuildDoesToEachPicture) {
    const std::vector<uint8_t> photo = madePicture("png", 600, 400);
    writeText(folder / "photo.png", {photo.begin(), photo.end()});
    writeText(source, "title = \"T\"\nlayout = \"pictures\"\nanswer_labels = [\"A\", \"B\"]\n"
                      "codes = [\"C\"]\n[[question]]\nanswers = [\"X\", \"Y\"]\n"
                      "picture = \"q1.jpg\"\n[[question]]\nanswers = [\"Z\", \"W\"]\n"
                      "picture = \"photo.png\"\n[[question]]\nanswers = [\"V\", \"U\"]\n"
                      "picture = \"progressive.jpg\"\n");
    ASSERT_EQ(run({"build", source, "-o", "q.exe", "--player", "plimo.exe"}).status, kExitSuccess);
    EXPECT_EQ(executables.players, (std::vector<std::string>{"plimo.exe"}));
    const std::string fromSource = run({"show", source}).out,
                      fromExecutable = run({"show", "q.exe"}).out;
    const std::string size = std::to_string(fs::file_size(folder / "q1.jpg"));
    EXPECT_THAT(fromSource, HasSubstr("  picture: q1.jpg, IMG 401, JPEG 4 x 3, " + size +
                                      " bytes, kept as it was\n"));
    EXPECT_THAT(fromSource, HasSubstr("  picture: photo.png, IMG 402, JPEG 260 x 173, "));
    EXPECT_THAT(fromSource, HasSubstr(" bytes, scaled from PNG 600 x 400\n"));
    EXPECT_THAT(fromSource, HasSubstr(" bytes, converted from JPEG 200 x 20\n"));
    // An executable tells what it stores, not what its pictures were before.
    EXPECT_THAT(fromExecutable, HasSubstr("  picture: IMG 401, JPEG 4 x 3, " + size + " bytes\n"));
    EXPECT_THAT(fromExecutable, HasSubstr("  picture: IMG 402, JPEG 260 x 173, "));
    EXPECT_THAT(fromExecutable, HasSubstr("answer labels: \"A\", \"B\"\n"));
    EXPECT_THAT(fromExecutable, HasSubstr("  answer 2: \"Y\"\n"));
}

// A folder of photos, as `new` finds it.
TEST_F(MakerCli, NewWritesAQuizThatBuildsAtOnceAndTakesTheFileNamesAsAnswers) {
    const fs::path photos = folder / "Mes_vacances";
    fs::create_directories(photos);
    for (const char* name :
         {"Ch\xC3\xA2teau de Chambord.jpg", "10 Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65.jpg",
          "2_tour-eiffel.JPG", "notes.txt"})
        fs::copy_file(kData / "q1.jpg", photos / pathFromUtf8(name));
    const std::vector<uint8_t> png = madePicture("png", 40, 30);
    writeText(photos / "Mont Saint-Michel.png", {png.begin(), png.end()});
    const CliRun made = run({"new", photos.string()});
    EXPECT_THAT(
        made.out + made.err,
        testing::AllOf(HasSubstr("quiz.toml: 4 questions"),
                       HasSubstr("notes.txt: file: warning: not a picture, MP3 or AVI file")));
    ASSERT_EQ(run({"build", (photos / "quiz.toml").string(), "-o", "v.exe"}).status, 0);
    EXPECT_THAT(run({"show", "v.exe"}).out,
                HasSubstr("title: \"Mes vacances\"\ncreator: \"\"\nexplanation: \"\"\nlayout: "
                          "pictures, 4 questions"));
    // In natural order, 2 before 10; each name, as it was written, is the right answer.
    std::string verdicts;
    int n = 0;
    for (const char* answer : {"2 tour eiffel", "10 Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65",
                               "Ch\xC3\xA2teau de Chambord", "Mont Saint Michel"})
        verdicts += run({"judge", "v.exe", std::to_string(++n), answer}).out;
    EXPECT_EQ(verdicts, "BRAVO\nBRAVO\nBRAVO\nBRAVO\n");
}

TEST_F(MakerCli, NewRefusesAFolderNamingTheFileAndWritingNothing) {
    std::vector<std::string> many;
    for (int i = 1; i <= 97; ++i)
        many.push_back(std::to_string(i) + ".jpg");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"notes.txt"}, ": folder: no pictures, MP3 or AVI files"},
        {{"a.jpg", "b.png", "c.mp3"},
         "/c.mp3: file: a sound among 2 pictures: a quiz shows "
         "pictures, sounds or videos, not a mix"},
        {{"a.jpg", "\xE4\xB8\xAD.jpg"},
         "/\xE4\xB8\xAD.jpg: name: holds the character \"\xE4\xB8\xAD\" "
         "(U+4E2D), which Windows-1252 cannot store: rename it"},
        {{"a|b.jpg"}, "/a|b.jpg: name: holds a '|'"},
        {many, ": folder: 97 pictures, more than the 96 questions a quiz holds"},
    };
    int n = 0;
    for (const auto& [files, error] : cases) {
        const fs::path photos = folder / ("photos" + std::to_string(++n));
        fs::create_directories(photos);
        for (const std::string& name : files)
            fs::copy_file(kData / "q1.jpg", photos / pathFromUtf8(name));
        const CliRun refused = run({"new", photos.string()});
        EXPECT_EQ(refused.status, kExitQuizError);
        EXPECT_THAT(refused.err, HasSubstr(photos.string() + error));
        EXPECT_FALSE(fs::exists(photos / "quiz.toml"));
    }
}

} // namespace
