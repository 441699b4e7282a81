#include "maker/maker_cli.h"

#include "judge/verdict.h"
#include "maker/answer_variants.h"
#include "maker/cp1252.h"
#include "maker/folder_writer.h"
#include "maker/printable.h"
#include "maker/quiz_printer.h"
#include "maker/quiz_reader.h"
#include "maker/quiz_starter.h"
#include "maker/quiz_writer.h"
#include "maker/source_reader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <new>
#include <optional>
#include <set>

namespace {

constexpr const char* kUsage =
    R"(plimo-maker: makes a plimo picture-quiz player from a quiz source.

Usage:
  plimo-maker new FOLDER [--force]
      Writes FOLDER/quiz.toml with one question per picture, MP3 or AVI file of FOLDER,
      in name order, each answer taken from its file name.
  plimo-maker build QUIZ.toml -o QUIZ.exe [--player PLAYER.exe] [--keep-pictures]
      Checks the quiz and makes a player executable that carries it.
  plimo-maker build QUIZ.toml --rc DIR [--force] [--keep-pictures]
      Checks the quiz and writes DIR/quiz.rc with its files, for windres.
  plimo-maker show QUIZ.toml|QUIZ.exe [--keep-pictures]
      Prints the quiz as the player shows it, and what the build does to each picture.
  plimo-maker extract QUIZ.exe -o DIR [--force]
      Writes DIR/quiz.toml and the quiz's pictures and clips, ready to edit and build again.
  plimo-maker judge QUIZ.toml|QUIZ.exe N TEXT [--answer K]
      Prints the word the player shows when TEXT is typed as answer K (default 1) of
      question N.
  plimo-maker judge QUIZ.toml|QUIZ.exe N --variants [--answer K]
      Types answer K (default: every answer) of question N as pupils are likely to type it
      (without accents, in small letters, a letter missing, ...) and prints each way that
      the player does not take as right, with advice where a pupil would expect it to pass.
  plimo-maker --help

new, --rc and extract write nothing when a file they would write exists already (a quiz.toml
with its comments is not lost); --force replaces such files.
Pictures and clips are files in the folder of QUIZ.toml or below it, 16 MiB at most each.
Pictures (JPEG, PNG, GIF or BMP) are scaled to the 260 x 260 box the board shows them in
and stored as JPEG; --keep-pictures stores JPEG, GIF and BMP files as they are.

Exit status: 0 done, 1 error in the quiz (nothing made), 2 usage error.
Reading and writing executables needs the Windows maker (plimo-maker.exe).
)";

struct UsageError {
    std::string message;
};

// The command line split into the command, its operands and its options.
struct CommandLine {
    std::string command;
    std::vector<std::string> operands;
    std::map<std::string, std::string> options; // by canonical name: "output", "rc", ...
                                                // "force" without a value
    bool help = false;
};

const std::map<std::string, std::string> kOptionNames = {
    {"-o", "output"},       {"--output", "output"}, {"--rc", "rc"},
    {"--player", "player"}, {"--answer", "answer"},
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool looksLikeOption = argument.size() > 1 && argument[0] == '-';
        if (optionsEnded || !looksLikeOption) {
            if (line.command.empty())
                line.command = argument;
            else
                line.operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-h" || argument == "--help") {
            line.help = true;
        } else if (argument == "--force" || argument == "--keep-pictures" ||
                   argument == "--variants") {
            line.options[argument.substr(2)];
        } else if (auto name = kOptionNames.find(argument); name != kOptionNames.end()) {
            if (i + 1 >= arguments.size())
                throw UsageError{argument + " needs a value"};
            if (line.options.count(name->second))
                throw UsageError{argument + " is given twice"};
            line.options[name->second] = arguments[++i];
        } else {
            throw UsageError{"unknown option " + argument};
        }
    }
    return line;
}

void expectOperands(const CommandLine& line, size_t count, const char* shape) {
    if (line.operands.size() != count)
        throw UsageError{line.command + " takes " + shape};
}

void allowOptions(const CommandLine& line, std::set<std::string> allowed) {
    for (const auto& [name, value] : line.options) {
        if (!allowed.count(name))
            throw UsageError{line.command + " takes no --" + name + " option"};
    }
}

bool isSourcePath(const std::string& path) {
    std::string extension = pathToUtf8(pathFromUtf8(path).extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".toml";
}

int parsePositive(const std::string& text, const char* what) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, failure] = std::from_chars(text.data(), end, value);
    if (failure != std::errc() || stop != end || value < 1)
        throw UsageError{std::string(what) + " must be a whole number from 1: " + text};
    return value;
}

// A quiz read from a source or an executable, with every resource it stores.
struct LoadedQuiz {
    QuizSource quiz;
    QuizResources resources;
    PictureOrigins origins; // what a build did to each picture; empty for an executable
};

class Maker {
  public:
    Maker(ExecutableIo& executables, std::ostream& out, std::ostream& err)
        : executables_(executables), out_(out), err_(err) {}

    int run(const std::vector<std::string>& arguments) {
        try {
            const CommandLine line = parseCommandLine(arguments);
            if (line.help || line.command == "help") {
                out_ << kUsage;
                return kExitSuccess;
            }
            if (line.command.empty())
                throw UsageError{"no command given"};
            if (line.command == "new")
                return startQuiz(line);
            if (line.command == "build")
                return build(line);
            if (line.command == "show")
                return show(line);
            if (line.command == "extract")
                return extract(line);
            if (line.command == "judge")
                return judge(line);
            throw UsageError{"unknown command " + line.command};
        } catch (const UsageError& usage) {
            say(err_, "plimo-maker: " + usage.message + " (plimo-maker --help tells more)");
            return kExitUsage;
        } catch (const std::bad_alloc&) {
            say(err_, "plimo-maker: not enough memory for this quiz; nothing was made");
            return kExitQuizError;
        } catch (const std::exception& failure) {
            // No failure of a library call may end the maker without a word.
            say(err_, std::string("plimo-maker: ") + failure.what());
            return kExitQuizError;
        }
    }

  private:
    int startQuiz(const CommandLine& line) {
        expectOperands(line, 1, "one folder: new FOLDER");
        allowOptions(line, {"force"});
        const std::filesystem::path folder = pathFromUtf8(line.operands[0]);
        Diagnostics diagnostics;
        const StarterCounts written =
            writeStarterSource(folder, line.options.count("force"), diagnostics);
        report(diagnostics);
        if (written.questions == 0)
            return kExitQuizError;
        const std::string source = pathToUtf8(folder / kQuizSourceName);
        std::string summary = std::to_string(written.questions) + " questions";
        if (written.answersToWrite > 0)
            summary += ", " + std::to_string(written.answersToWrite) + " answer(s) to write";
        if (written.unreadPictures > 0)
            summary += ", " + std::to_string(written.unreadPictures) +
                       " photo(s) left out (save them as JPEG)";
        say(out_, "wrote " + source + ": " + summary +
                      "; check the answers, then: plimo-maker build \"" + source +
                      "\" -o QUIZ.exe");
        return kExitSuccess;
    }

    int build(const CommandLine& line) {
        expectOperands(line, 1, "one quiz source: build QUIZ.toml -o QUIZ.exe | --rc DIR");
        allowOptions(line, {"output", "rc", "player", "force", "keep-pictures"});
        const bool toExecutable = line.options.count("output") != 0;
        const bool toScript = line.options.count("rc") != 0;
        if (toExecutable == toScript)
            throw UsageError{"build takes either -o QUIZ.exe or --rc DIR"};
        if (toScript && line.options.count("player"))
            throw UsageError{"--player goes with -o QUIZ.exe"};
        if (toExecutable && line.options.count("force"))
            throw UsageError{"--force goes with --rc DIR"};

        std::optional<LoadedQuiz> loaded = loadSource(line.operands[0], pictureHandling(line));
        if (!loaded)
            return kExitQuizError;
        if (toScript) {
            const std::string& folder = line.options.at("rc");
            Diagnostics written;
            const bool ok =
                writeResourceFolder(loaded->resources, loaded->quiz.layout.value,
                                    pathFromUtf8(folder), line.options.count("force"), written);
            report(written);
            if (!ok)
                return kExitQuizError;
            say(out_, "wrote " + pathToUtf8(pathFromUtf8(folder) / kResourceScriptName));
            return kExitSuccess;
        }
        std::string output = line.options.at("output");
        // Windows starts a quiz by a double click only when its name ends in .exe.
        const bool extensionAdded = pathFromUtf8(output).extension().empty();
        if (extensionAdded)
            output += ".exe";
        auto player = line.options.find("player");
        ExecutableResult result = executables_.writeQuiz(
            pathFromUtf8(output),
            player == line.options.end() ? std::filesystem::path() : pathFromUtf8(player->second),
            loaded->resources);
        if (!result.ok())
            return reportExecutableFailure(output, result);
        say(out_, "wrote " + output +
                      (extensionAdded ? " (.exe added: Windows starts a quiz by it)" : ""));
        return kExitSuccess;
    }

    int show(const CommandLine& line) {
        expectOperands(line, 1, "one quiz: show QUIZ.toml|QUIZ.exe");
        allowOptions(line, {"keep-pictures"});
        std::optional<LoadedQuiz> loaded = load(line.operands[0], pictureHandling(line));
        if (!loaded)
            return loadFailure_;
        printQuiz(out_, loaded->quiz, loaded->resources, &loaded->origins);
        return kExitSuccess;
    }

    int extract(const CommandLine& line) {
        expectOperands(line, 1, "one quiz: extract QUIZ.exe -o DIR");
        allowOptions(line, {"output", "force"});
        if (!line.options.count("output"))
            throw UsageError{"extract needs -o DIR"};
        std::optional<LoadedQuiz> loaded = load(line.operands[0], MediaHandling::kPreparePictures);
        if (!loaded)
            return loadFailure_;
        // The source is made from the stored quiz, also for a .toml, so that it builds the
        // same stored quiz again.
        Diagnostics diagnostics;
        std::optional<QuizSource> stored =
            quizFromResources(loaded->resources, line.operands[0], diagnostics);
        bool written = stored && writeSourceFolder(*stored, loaded->resources,
                                                   pathFromUtf8(line.options.at("output")),
                                                   line.options.count("force"), diagnostics);
        report(diagnostics);
        if (!written)
            return kExitQuizError;
        say(out_, "wrote " + pathToUtf8(pathFromUtf8(line.options.at("output")) / kQuizSourceName));
        return kExitSuccess;
    }

    int judge(const CommandLine& line) {
        const bool variants = line.options.count("variants") != 0;
        if (variants)
            expectOperands(line, 2, "a quiz and a question number: judge QUIZ N --variants");
        else
            expectOperands(line, 3, "a quiz, a question number and a text: judge QUIZ N TEXT");
        allowOptions(line, {"answer", "variants"});
        const int number = parsePositive(line.operands[1], "the question number");
        const int answer =
            line.options.count("answer") ? parsePositive(line.options.at("answer"), "--answer") : 0;
        Cp1252Conversion typed = utf8ToCp1252(variants ? std::string() : line.operands[2]);
        if (!typed.ok())
            throw UsageError{"the typed text " + typed.describe()};

        std::optional<LoadedQuiz> loaded = load(line.operands[0], MediaHandling::kLeaveOut);
        if (!loaded)
            return loadFailure_;
        const QuizSource& quiz = loaded->quiz;
        if (number > static_cast<int>(quiz.questions.size()))
            throw UsageError{"the quiz has " + std::to_string(quiz.questions.size()) +
                             " questions, not " + std::to_string(number)};
        const QuestionSource& question = quiz.questions[number - 1];
        if (answer > static_cast<int>(question.answers.size()))
            throw UsageError{"question " + std::to_string(number) + " has " +
                             std::to_string(question.answers.size()) + " answer(s), not " +
                             std::to_string(answer)};
        if (variants) {
            for (size_t k = 0; k < question.answers.size(); ++k) {
                if (answer == 0 || size_t(answer) == k + 1)
                    printVariants(question.answers[k].value);
            }
            return kExitSuccess;
        }
        const Verdict verdict = chooseVerdict(
            question.answers[std::max(answer, 1) - 1].value.c_str(), typed.text.c_str());
        say(out_, cp1252ToUtf8(verdictText(verdict)));
        return kExitSuccess;
    }

    // The answer, then each way of typing it that the player does not take as right.
    void printVariants(const std::string& answer) {
        say(out_, cp1252ToUtf8(answer) + ":");
        int listed = 0;
        for (const AnswerVariant& variant : answerVariants(answer)) {
            if (variant.verdict == Verdict::kRight)
                continue;
            ++listed;
            say(out_, "  " + cp1252ToUtf8(variant.typed + " -> " + verdictText(variant.verdict)) +
                          "   (" + std::string(variantRuleName(variant.rule)) + ")");
            if (pupilExpectsItToPass(variant.rule))
                say(out_, "    advice: " + cp1252ToUtf8(variantAdvice(answer, variant)));
        }
        if (listed == 0)
            say(out_, "  every way of typing it tried is judged BRAVO");
    }

    static MediaHandling pictureHandling(const CommandLine& line) {
        return line.options.count("keep-pictures") ? MediaHandling::kKeepPictures
                                                   : MediaHandling::kPreparePictures;
    }

    std::optional<LoadedQuiz> load(const std::string& path, MediaHandling media) {
        return isSourcePath(path) ? loadSource(path, media) : loadExecutable(path);
    }

    // Reads, checks and stores a source; prints its diagnostics.
    std::optional<LoadedQuiz> loadSource(const std::string& path, MediaHandling media) {
        loadFailure_ = kExitQuizError;
        Diagnostics diagnostics;
        LoadedQuiz loaded{readQuizSource(path, diagnostics), {}, {}};
        std::optional<QuizResources> resources;
        if (!diagnostics.hasErrors())
            resources = buildQuizResources(loaded.quiz, diagnostics, media, &loaded.origins);
        report(diagnostics);
        if (!resources)
            return std::nullopt;
        loaded.resources = std::move(*resources);
        return loaded;
    }

    std::optional<LoadedQuiz> loadExecutable(const std::string& path) {
        LoadedQuiz loaded;
        ExecutableResult result = executables_.readQuiz(pathFromUtf8(path), loaded.resources);
        if (!result.ok()) {
            loadFailure_ = reportExecutableFailure(path, result);
            return std::nullopt;
        }
        loadFailure_ = kExitQuizError;
        Diagnostics diagnostics;
        std::optional<QuizSource> quiz = quizFromResources(loaded.resources, path, diagnostics);
        report(diagnostics);
        if (!quiz)
            return std::nullopt;
        loaded.quiz = std::move(*quiz);
        return loaded;
    }

    int reportExecutableFailure(const std::string& path, const ExecutableResult& result) {
        if (result.status == ExecutableStatus::kUnsupported) {
            say(err_, "plimo-maker: " + result.message);
            return kExitUsage;
        }
        say(err_, (result.file.empty() ? path : result.file) + ": " + result.message);
        return kExitQuizError;
    }

    void report(const Diagnostics& diagnostics) {
        for (const Diagnostic& diagnostic : diagnostics.sorted())
            err_ << formatDiagnostic(diagnostic) << "\n";
    }

    // One line of output; what it quotes from files and the command line is shown, not obeyed.
    static void say(std::ostream& stream, const std::string& line) {
        stream << printable(line) << "\n";
    }

    ExecutableIo& executables_;
    std::ostream& out_;
    std::ostream& err_;
    int loadFailure_ = kExitQuizError;
};

} // namespace

int runMaker(const std::vector<std::string>& arguments, ExecutableIo& executables,
             std::ostream& out, std::ostream& err) {
    return Maker(executables, out, err).run(arguments);
}
