#include "maker/executable_io_host.h"
#include "maker/maker_cli.h"
#include "tests/maker/maker_test_support.h"

#include <algorithm>
#include <map>
#include <new>
#include <sstream>

namespace {

// Executables as resource sets in memory, so every command can be run end to end.
struct FakeExecutableIo final : ExecutableIo {
    ExecutableResult readQuiz(const fs::path& executable, QuizResources& resources) override {
        if (executable == "huge.exe")
            throw std::bad_alloc();
        if (executable == "linux.exe") // as the maker built for Linux finds any executable
            return HostExecutableIo().readQuiz(executable, resources);
        auto found = executables.find(executable.string());
        if (found == executables.end())
            return {ExecutableStatus::kFailed, "cannot open the executable", {}};
        resources = found->second;
        return {};
    }
    ExecutableResult writeQuiz(const fs::path& output, const fs::path&,
                               const QuizResources& resources) override {
        executables[output.string()] = resources;
        return {};
    }
    std::map<std::string, QuizResources> executables;
};

// A quiz of one question, its picture named after it.
const std::string kQuiz = "title = \"Les capitales\"\nlayout = \"pictures\"\nreward = \"text\"\n"
                          "codes = [\"CODE1\"]\n[[question]]\nanswers = [\"PARIS\", \"FRANCE\"]\n"
                          "reward_text = \"Tr\\u00e8s bien\"\n";

// A folder with the test media and the quiz, of q1.jpg, as SOURCE (and SOURCE/... below it).
class MakerCli : public testing::Test {
  protected:
    void SetUp() override {
        fs::copy(kData, folder.path());
        fs::copy_file(kData / "q1.jpg", folder / "q\x1b[2J.jpg");
        writeFileContent(folder / "big.jpg", "\xFF\xD8\xFF\xE0");
        writeFileContent(source, kQuiz + "picture = \"q1.jpg\"\n");
    }

    // What the maker says to both streams; its exit status is left in `status`.
    std::string run(std::vector<std::string> arguments) {
        for (std::string& argument : arguments) {
            if (argument.starts_with("SOURCE"))
                argument.replace(0, 6, source);
        }
        std::ostringstream out, err;
        status = runMaker(arguments, executables, out, err);
        return out.str() + err.str();
    }

    TemporaryFolder folder;
    const std::string source = (folder / "capitales.toml").string();
    FakeExecutableIo executables;
    int status = -1;
};

// One command line per row: its status ^ a piece of what it says ^ its arguments, ',' between
// them ^ the picture of the quiz, when not q1.jpg ^ a file made sparse to a size. '~' stands for a
// line break; the output names the run's own files.
const char* const kCommandLines =
    "0 ^ plimo-maker extract QUIZ.exe -o DIR ^ -h\n"
    "0 ^ plimo-maker build QUIZ.toml --rc DIR ^ help\n"
    "0 ^ title: \"Les capitales\"~creator: \"\"~explanation: \"\"~layout: pictures, 1 question, 2 "
    "answers per question~colour: #35CBA3~reward: text~~question 1~  answer 1: \"PARIS\"~  answer "
    "2: \"FRANCE\"~  picture: q1.jpg, IMG 401, JPEG 4 x 3, 286 bytes, kept as it was~  reward "
    "text: "
    "\"Tr\xC3\xA8s bien\"~~codes:~  score 1: \"CODE1\"~ ^ show,SOURCE\n"
    "2 ^ plimo-maker: no command ^ \n"
    "2 ^ unknown option --verbose ^ show,SOURCE,--verbose\n"
    "2 ^ -o needs a value ^ build,SOURCE,-o\n"
    "2 ^ -o is given twice ^ build,SOURCE,-o,a.exe,-o,b.exe\n"
    "2 ^ either -o ^ build,SOURCE\n"
    "2 ^ --player goes with -o ^ build,SOURCE,--rc,d,--player,p.exe\n"
    "2 ^ --force goes with --rc ^ build,SOURCE,-o,a.exe,--force\n"
    "2 ^ show takes ^ show,SOURCE,SOURCE\n"
    "2 ^ show takes no --output ^ show,SOURCE,-o,x\n"
    "2 ^ -o DIR ^ extract,SOURCE\n"
    "2 ^ extract takes no --keep-pictures ^ extract,q.exe,-o,d,--keep-pictures\n"
    "2 ^ from 1 ^ judge,SOURCE,0,PARIS\n"
    "2 ^ questions, not 2 ^ judge,SOURCE,2,PARIS\n"
    "2 ^ answer(s), not 3 ^ judge,SOURCE,1,PARIS,--answer,3\n"
    "2 ^ \"\xF0\x9F\x98\x80\" (U+1F600) ^ judge,SOURCE,1,\xF0\x9F\x98\x80\n"
    // The typed answer as the player takes it: in Windows-1252, a dash after "--".
    "0 ^ Quasiment~ ^ judge,SOURCE,1,P\xC3\xA0RIS\n"
    "0 ^ Quasiment~ ^ judge,SOURCE,1,--,-PARIS\n"
    "0 ^ BRAVO~ ^ judge,SOURCE,--answer,2,1,FRANCE\n"
    "0 ^ PARIS:~  PRIS -> Quasiment   (one letter missing)~ ^ judge,SOURCE,1,--variants\n"
    "0 ^ FRANCE:~  FANCE -> ^ judge,SOURCE,1,--variants,--answer,2\n"
    "2 ^ judge QUIZ N --variants ^ judge,SOURCE,1,PARIS,--variants\n"
    "2 ^ plimo-maker: reading and writing executables needs ^ show,linux.exe\n"
    "1 ^ nowhere.exe: cannot open the executable~ ^ show,nowhere.exe\n"
    "1 ^ plimo-maker: not enough memory for this quiz; nothing was made~ ^ show,huge.exe\n"
    "1 ^ none.toml: file: cannot read ^ show,none.toml\n"
    "1 ^ capitales.toml/rc ^ build,SOURCE,--rc,SOURCE/rc\n"
    "1 ^ :8: question[1].picture: \"not_a_picture.jpg\" is not a picture that the maker ^ "
    "show,SOURCE ^ not_a_picture.jpg\n"
    "1 ^ :8: question[1].picture: \"q4.png\" is not a JPEG, BMP or GIF picture, which "
    "--keep-pictures stores as it is ^ show,SOURCE,--keep-pictures ^ q4.png\n"
    // What the build does to each picture; an executable tells only what it stores.
    "0 ^ bytes, converted from JPEG 200 x 20~ ^ show,SOURCE ^ progressive.jpg\n"
    "0 ^ wrote q.exe~ ^ build,SOURCE,-o,q.exe\n"
    "0 ^ wrote q2.exe (.exe added ^ build,SOURCE,-o,q2\n"
    "0 ^ picture: IMG 401, JPEG 4 x 3, 286 bytes~ ^ show,q.exe\n"
    // Control characters from a source, an executable or the command line come out escaped; a
    // no-break space is shown as it is.
    "0 ^ q\\u001b[2J.jpg, IMG 401, JPEG 4 x 3, 286 bytes, kept as it was~ ^ show,SOURCE ^ "
    "q\\u001b[2J.jpg\n"
    "2 ^ unknown command \\u007f\\u009b2J ^ \x7f\xC2\2332J\n"
    "1 ^ a\\u000ab.toml: file: ^ show,a~b.toml\n"
    "1 ^ a\xC2\240b.toml: file: ^ show,a\xC2\240b.toml\n"
    // A picture kept as it is holds 16 MiB at most; one to be prepared is read up to 256 MiB and
    // refused for what it is; a larger file is refused by its size, before anything is read.
    "0 ^ JPEG, 16777216 bytes ^ show,SOURCE,--keep-pictures ^ big.jpg ^ "
    "big.jpg,16777216\n"
    "1 ^ :8: question[1].picture: \"big.jpg\" is 16777217 bytes, more than the 16 MiB ^ "
    "show,SOURCE,--keep-pictures ^ big.jpg ^ big.jpg,16777217\n"
    "1 ^ :8: question[1].picture: \"big.jpg\" is not a picture that the maker ^ show,SOURCE ^ "
    "big.jpg ^ big.jpg,16777217\n"
    "1 ^ :8: question[1].picture: \"big.jpg\" is 268435457 bytes, more than the 256 MiB the maker "
    "reads of a photo ^ show,SOURCE ^ big.jpg ^ big.jpg,268435457\n";

TEST_F(MakerCli, AnswersEachCommandLineWithItsStatusAndMessage) {
    std::istringstream table(kCommandLines);
    for (std::string line; std::getline(table, line);) {
        std::replace(line.begin(), line.end(), '~', '\n');
        std::vector<std::string> cell = split(line, " ^ ");
        cell.resize(5);
        writeFileContent(source,
                         kQuiz + "picture = \"" + (cell[3].empty() ? "q1.jpg" : cell[3]) + "\"\n");
        if (const size_t comma = cell[4].find(','); comma != std::string::npos) // sparse
            fs::resize_file(folder / cell[4].substr(0, comma),
                            std::stoull(cell[4].substr(comma + 1)));
        const std::vector<std::string> arguments =
            cell[2].empty() ? std::vector<std::string>{} : split(cell[2], ",");
        const std::string said = run(arguments);
        SCOPED_TRACE(testing::PrintToString(arguments) + " said " + said);
        EXPECT_EQ(status, std::stoi(cell[0]));
        EXPECT_THAT(said, HasSubstr(cell[1]));
        EXPECT_FALSE(std::any_of(said.begin(), said.end(), [](unsigned char c) {
            return (c < 0x20 && c != '\n') || c == 0x7F;
        }));
        if (status == kExitUsage && arguments.size() > 1) {
            EXPECT_THAT(said, StartsWith("plimo-maker: "));
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
        }
    }
}

// An author's quiz.toml and its comments are never lost to a command run in the wrong folder.
TEST_F(MakerCli, WritesNothingOverAnExistingFileUnlessForced) {
    run({"build", source, "-o", "q.exe"});
    const std::string own = "# the author's own, with comments\n";
    for (std::vector<std::string> command :
         {std::vector<std::string>{"build", source, "--rc"}, {"extract", "q.exe", "-o"}, {"new"}}) {
        const fs::path out = folder / ("out_" + command[0]);
        const fs::path existing = out / (command[0] == "build" ? "quiz_codes.bin" : "quiz.toml");
        fs::create_directory(out);
        for (const char* photo :
             {"2_tour-eiffel.JPG", "10 Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65.jpg"})
            fs::copy_file(kData / "q1.jpg", out / photo);
        writeFileContent(existing, own);
        command.push_back(out.string());
        EXPECT_THAT(run(command), StartsWith(existing.string() + ": file: exists already"));
        EXPECT_EQ(status, kExitQuizError) << command[0];
        EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), 3);
        EXPECT_EQ(readFileContent(existing), own);
        // Forced, a link is replaced as the file it stands for: what it leads to is untouched.
        const fs::path theirs = folder / ("theirs_" + command[0]);
        fs::rename(existing, theirs);
        fs::create_symlink(theirs, existing);
        command.push_back("--force");
        run(command);
        EXPECT_EQ(status, kExitSuccess) << command[0];
        EXPECT_NE(readFileContent(existing), own);
        EXPECT_EQ(readFileContent(theirs), own);
        EXPECT_FALSE(fs::is_symlink(existing));
        for (const fs::directory_entry& file : fs::directory_iterator(out))
            EXPECT_THAT(file.path().string(), testing::Not(HasSubstr(".part")));
    }
    // The quiz `new` wrote builds at once: the photos in natural order (2 before 10), each
    // answer as a pupil types it.
    run({"build", (folder / "out_new/quiz.toml").string(), "-o", "v.exe"});
    EXPECT_EQ(run({"judge", "v.exe", "1", "tour eiffel"}) +
                  run({"judge", "v.exe", "2", "cr\xC3\xA8me br\xC3\xBBl\xC3\xA9\x65"}),
              "BRAVO\nBRAVO\n");
}

// A phone's folder: a camera name asks for its answer, photos the maker cannot read are named
// and left out, and the quiz builds once the answer is written.
TEST_F(MakerCli, NewTakesAPhonesFolderAsItIs) {
    const fs::path phone = folder / "Sortie scolaire";
    fs::create_directory(phone);
    fs::copy_file(kData / "q1.jpg", phone / "02 arc de triomphe.jpg");
    fs::copy_file(kData / "q1.jpg", phone / "IMG_20240512_101532.jpg");
    writeFileContent(phone / "IMG_2051.HEIC", std::string("\0\0\0\x18"
                                                          "ftypheic\0\0\0\0",
                                                          16));
    writeFileContent(phone / "plan.jpg", "RIFF\x10\1\1\1WEBPVP8 "); // a web picture renamed
    const std::string said = run({"new", phone.string()});
    EXPECT_EQ(status, kExitSuccess) << said;
    EXPECT_THAT(said, HasSubstr("IMG_2051.HEIC: file: warning: HEIC photo: the maker reads JPEG"));
    EXPECT_THAT(said, HasSubstr("plan.jpg: file: warning: WebP picture: "));
    EXPECT_THAT(said, HasSubstr(": 2 questions, 1 answer(s) to write, 2 photo(s) left out"));
    const fs::path written = phone / "quiz.toml";
    run({"build", written.string(), "-o", "s.exe"});
    EXPECT_EQ(status, kExitQuizError);
    std::string text = readFileContent(written);
    text.replace(text.find("answer = \"\""), 11, "answer = \"Louvre\"");
    writeFileContent(written, text);
    EXPECT_THAT(run({"build", written.string(), "-o", "s.exe"}), StartsWith("wrote s.exe"));
    EXPECT_EQ(run({"judge", "s.exe", "1", "arc de triomphe"}), "BRAVO\n");

    fs::remove(phone / "02 arc de triomphe.jpg");
    fs::remove(phone / "IMG_20240512_101532.jpg");
    EXPECT_THAT(run({"new", phone.string(), "--force"}),
                HasSubstr("folder: no pictures the maker reads, only 1 HEIC photo and 1 WebP "
                          "picture: save them as JPEG first"));
}

TEST_F(MakerCli, AQuizWithErrorsMakesNothingAndNamesEachInLineOrder) {
    writeFileContent(source, kQuiz + "text = \"|\"\ncolour = \"red\"\n");
    EXPECT_THAT(
        split(run({"build", source, "--rc", (folder / "rc").string()}), "\n"),
        testing::ElementsAre(StartsWith(source + ":2: layout = \"pictures\" needs a picture"),
                             StartsWith(source + ":8: question[1].text: "),
                             StartsWith(source + ":9: question[1].colour: "), ""));
    EXPECT_EQ(status, kExitQuizError);
    EXPECT_FALSE(fs::exists(folder / "rc"));
}

} // namespace
