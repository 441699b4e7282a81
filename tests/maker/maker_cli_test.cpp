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
reward_text = "Tr\u00e8s bien"
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
        writeText(folder / "big.jpg", "\xFF\xD8\xFF\xE0");
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

// One command line per row: its status ^ a piece of what it says ^ its arguments, ',' between
// them ^ the source, when not the capitals quiz ({C}), with {P} for a question of pictures. '~'
// stands for a line break; the output names the run's own files.
const char* const kCommandLines =
    "0 ^ plimo-maker extract QUIZ.exe -o DIR ^ --help\n"
    "0 ^ title: \"Les capitales\"~creator: \"Jeanne\"~explanation: \"\"~layout: text list, 2 "
    "questions, 1 answer per question~colour: #35CBA3~reward: text~~question 1~  text: \"Capitale "
    "de la France ?\"~  answer: \"PARIS\"~  reward text: \"Bravo !\"~~question 2~  text: "
    "\"Capitale de l'Italie ?\"~  answer: \"ROME\"~  reward text: \"Tr\xC3\xA8s bien\"~~codes:~  "
    "score 1: \"CODE1\"~  score 2: \"CODE2\"~ ^ show,SOURCE\n"
    "0 ^ plimo-maker judge QUIZ.toml|QUIZ.exe N TEXT ^ -h\n"
    "0 ^ plimo-maker build QUIZ.toml --rc DIR ^ help\n"
    "2 ^ plimo-maker: no command ^ \n"
    "2 ^ plimo-maker: unknown command make ^ make,SOURCE\n"
    "2 ^ unknown option --verbose ^ show,SOURCE,--verbose\n"
    "2 ^ -o needs a value ^ build,SOURCE,-o\n"
    "2 ^ -o is given twice ^ build,SOURCE,-o,a.exe,-o,b.exe\n"
    "2 ^ either -o ^ build,SOURCE\n"
    "2 ^ either -o ^ build,SOURCE,-o,a.exe,--rc,d\n"
    "2 ^ --player goes with -o ^ build,SOURCE,--rc,d,--player,p.exe\n"
    "2 ^ --force goes with --rc ^ build,SOURCE,-o,a.exe,--force\n"
    "2 ^ show takes ^ show,SOURCE,SOURCE\n"
    "2 ^ show takes no --output ^ show,SOURCE,-o,x\n"
    "2 ^ -o DIR ^ extract,SOURCE\n"
    "2 ^ extract takes no --keep-pictures ^ extract,q.exe,-o,d,--keep-pictures\n"
    "2 ^ judge takes ^ judge,SOURCE,1\n"
    "2 ^ from 1 ^ judge,SOURCE,0,PARIS\n"
    "2 ^ from 1 ^ judge,SOURCE,1x,PARIS\n"
    "2 ^ not 3 ^ judge,SOURCE,3,PARIS\n"
    "2 ^ not 2 ^ judge,SOURCE,1,PARIS,--answer,2\n"
    "2 ^ \"\xE4\xB8\xAD\" (U+4E2D) ^ judge,SOURCE,1,\xE4\xB8\xAD\n"
    "2 ^ \"\xF0\x9F\x98\x80\" (U+1F600) ^ judge,SOURCE,1,\xF0\x9F\x98\x80\n"
    "0 ^ BRAVO~ ^ judge,SOURCE,1,  paris \n"
    "0 ^ Anagramme~ ^ judge,SOURCE,1,PRAIS\n"
    "0 ^ Quasiment~ ^ judge,SOURCE,1,PARI\n"
    "0 ^ Presque~ ^ judge,SOURCE,2,RO\n"
    "0 ^ Trop long~ ^ judge,SOURCE,1,PARISIENS\n"
    "0 ^ ?~ ^ judge,SOURCE,2,\n"
    "0 ^ FAUX~ ^ judge,SOURCE,2,LONDRES\n"
    "0 ^ Quasiment~ ^ judge,SOURCE,1,P\xC3\xA0RIS\n"
    "0 ^ Quasiment~ ^ judge,SOURCE,1,--,-PARIS\n"
    "0 ^ FAUX~ ^ judge,PAIRS,1,FRANCE\n"
    "0 ^ BRAVO~ ^ judge,PAIRS,1,FRANCE,--answer,2\n"
    "0 ^ BRAVO~ ^ judge,PAIRS,--answer,2,1,FRANCE\n"
    "2 ^ needs the Windows maker (plimo-maker.exe) ^ HOST,build,SOURCE,-o,DIR/q.exe\n"
    "2 ^ plimo-maker: reading and writing executables ^ HOST,extract,q.exe,-o,DIR/x\n"
    "1 ^ empty.exe: PATCH 104: missing ^ show,empty.exe\n"
    "1 ^ nowhere.exe: cannot open the executable~ ^ show,nowhere.exe\n"
    "1 ^ plimo-maker: not enough memory for this quiz; nothing was made~ ^ show,huge.exe\n"
    "1 ^ none.toml: file: cannot read ^ show,DIR/none.toml\n"
    "1 ^ capitales.toml/rc ^ build,SOURCE,--rc,DIR/capitales.toml/rc\n"
    "0 ^ :18: question[3].answer: warning: \"ROMA\" and \"ROME\" ^ build,SOURCE,-o,out.exe ^ "
    "{C}[[question]]~text = \"?\"~answer = \"ROMA\"~reward_text = \"\"~\n"
    "1 ^ :5: question[1].picture: \"not_a_picture.jpg\" is not a picture that the maker reads ^ "
    "show,SOURCE ^ {P}picture = \"not_a_picture.jpg\"~\n"
    "1 ^ :7: question[1].reward_picture: \"clip.mp3\" is not a picture ^ show,SOURCE ^ reward = "
    "\"picture\"~{P}picture = \"q1.jpg\"~reward_picture = \"clip.mp3\"~\n"
    "1 ^ :5: question[1].picture: \"q4.png\" is not a JPEG, BMP or GIF picture, which "
    "--keep-pictures stores as it is ^ show,SOURCE,--keep-pictures ^ {P}picture = \"q4.png\"~\n"
    // Control characters from a source, an executable or the command line come out escaped; a
    // no-break space is shown as it is.
    "1 ^ \\u001b[2J ^ show,SOURCE ^ \"\\u001b[2J\" = 1~{P}\n"
    "1 ^ \\u001b]0;x\\u0007.jpg ^ show,SOURCE ^ {P}picture = \"\\u001b]0;x\\u0007.jpg\"~\n"
    "0 ^ q\\u001b[2J.jpg, IMG 401 ^ show,SOURCE ^ {P}picture = \"q\\u001b[2J.jpg\"~\n"
    "2 ^ unknown command \\u001b[2J ^ \x1b[2J\n"
    "2 ^ unknown command \\u007f\\u009b2J ^ \x7f\xC2\2332J\n"
    "1 ^ no\\u001b[2J.exe: ^ show,no\x1b[2J.exe\n"
    "1 ^ a\\u000ab.toml: file: ^ show,a~b.toml\n"
    "1 ^ a\xC2\240b.toml: file: ^ show,a\xC2\240b.toml\n"
    // Files past the size limits are refused by their size, before anything is read.
    "0 ^ JPEG, 16777216 bytes ^ show,SOURCE,--keep-pictures ^ {P}picture = \"big.jpg\"~ ^ "
    "big.jpg,16777216\n"
    "1 ^ :5: question[1].picture: \"big.jpg\" is 16777217 bytes, more than the 16 MiB ^ "
    "show,SOURCE,--keep-pictures ^ {P}picture = \"big.jpg\"~ ^ big.jpg,16777217\n"
    "1 ^ capitales.toml: file: cannot read: the file is 1048577 bytes, more than the 1 MiB allowed "
    "^ show,SOURCE ^  ^ capitales.toml,1048577\n";

// `text` cut at each `by`, empty pieces kept.
std::vector<std::string> split(const std::string& text, const std::string& by) {
    std::vector<std::string> pieces;
    for (size_t from = 0, to = 0; to != std::string::npos; from = to + by.size())
        pieces.push_back(text.substr(from, (to = text.find(by, from)) - from));
    return pieces;
}

TEST_F(MakerCli, AnswersEachCommandLineWithItsStatusAndMessage) {
    std::istringstream table(kCommandLines);
    for (std::string line; std::getline(table, line);) {
        std::replace(line.begin(), line.end(), '~', '\n');
        std::vector<std::string> cell = split(line, " ^ ");
        cell.resize(5);
        for (const auto& [mark, text] : {std::pair{"{P}", kPictureQuiz}, {"{C}", kCapitals}}) {
            if (const size_t at = cell[3].find(mark); at != std::string::npos)
                cell[3].replace(at, 3, text);
        }
        writeText(source, cell[3].empty() ? kCapitals : cell[3]);
        if (const size_t comma = cell[4].find(','); comma != std::string::npos) // sparse
            fs::resize_file(folder / cell[4].substr(0, comma),
                            std::stoull(cell[4].substr(comma + 1)));
        const std::vector<std::string> arguments =
            cell[2].empty() ? std::vector<std::string>{} : split(cell[2], ",");
        const CliRun result = run(arguments);
        const int status = std::stoi(cell[0]);
        const std::string said = result.out + result.err;
        SCOPED_TRACE(testing::PrintToString(arguments) + " said " + said);
        EXPECT_EQ(result.status, status);
        EXPECT_THAT(said, HasSubstr(cell[1]));
        EXPECT_FALSE(std::any_of(said.begin(), said.end(), [](unsigned char c) {
            return (c < 0x20 && c != '\n') || c == 0x7F;
        }));
        if (status == kExitUsage && arguments.size() > 1) {
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
    // An executable tells what it stores, not what its pictures were before.
    EXPECT_THAT(run({"show", source}).out + run({"show", "q.exe"}).out,
                testing::ContainsRegex(
                    "picture: q1.jpg, IMG 401, JPEG 4 x 3, 286 bytes, kept as it was\n.*"
                    "picture: photo.png, IMG 402, JPEG 260 x 173, [0-9]+ bytes, scaled from PNG "
                    "600 x 400\n.* bytes, converted from JPEG 200 x 20\n.*answer labels: \"A\", "
                    "\"B\"\n.*answer 2: \"Y\"\n  picture: IMG 401, JPEG 4 x 3, 286 bytes\n.*"
                    "picture: IMG 402, JPEG 260 x 173, "));
}

// A folder of photos, as `new` finds it: the first makes a quiz, each other names its fault.
TEST_F(MakerCli, NewWritesAQuizThatBuildsAtOnceOrRefusesTheFolderWritingNothing) {
    std::vector<std::string> many;
    for (int i = 1; i <= 97; ++i)
        many.push_back(std::to_string(i) + ".jpg");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"Ch\xC3\xA2teau de Chambord.jpg", "10 Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65.jpg",
          "2_tour-eiffel.JPG", "Mont Saint-Michel.png", "notes.txt"},
         "/notes.txt: file: warning: not a picture, MP3 or AVI file"},
        {{"notes.txt"}, ": folder: no pictures, MP3 or AVI files"},
        {{"a.jpg", "b.png", "c.mp3"},
         "/c.mp3: file: a sound among 2 pictures: a quiz shows pictures, sounds or videos, not a "
         "mix"},
        {{"a.jpg", "\xE4\xB8\xAD.jpg"},
         "/\xE4\xB8\xAD.jpg: name: holds the character \"\xE4\xB8\xAD\" (U+4E2D), which "
         "Windows-1252 cannot store: rename it"},
        {{"a|b.jpg"}, "/a|b.jpg: name: holds a '|'"},
        {many, ": folder: 97 pictures, more than the 96 questions a quiz holds"},
    };
    int n = 0;
    for (const auto& [files, said] : cases) {
        const fs::path photos = folder / (n++ == 0 ? "Mes_vacances" : "photos" + std::to_string(n));
        fs::create_directories(photos);
        for (const std::string& name : files)
            fs::copy_file(kData / "q1.jpg", photos / pathFromUtf8(name));
        const CliRun made = run({"new", photos.string()});
        EXPECT_THAT(made.err, HasSubstr(photos.string() + said));
        EXPECT_EQ(made.status, fs::exists(photos / "quiz.toml") ? kExitSuccess : kExitQuizError);
    }
    ASSERT_EQ(run({"build", (folder / "Mes_vacances/quiz.toml").string(), "-o", "v.exe"}).status,
              0);
    EXPECT_THAT(run({"show", "v.exe"}).out,
                HasSubstr("title: \"Mes vacances\"\ncreator: \"\"\nexplanation: \"\"\nlayout: "
                          "pictures, 4 questions"));
    // In natural order, 2 before 10; each name, as it was written, is the right answer.
    std::string verdicts;
    n = 0;
    for (const char* answer : {"2 tour eiffel", "10 Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65",
                               "Ch\xC3\xA2teau de Chambord", "Mont Saint Michel"})
        verdicts += run({"judge", "v.exe", std::to_string(++n), answer}).out;
    EXPECT_EQ(verdicts, "BRAVO\nBRAVO\nBRAVO\nBRAVO\n");
}

} // namespace
