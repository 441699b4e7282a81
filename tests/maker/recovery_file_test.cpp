// The quiz kept aside as it is edited: written, listed, read back and removed, and nothing
// else in the recovery folder touched.
#include "maker/cp1252.h"
#include "maker/recovery_file.h"
#include "maker/toml_writer.h"
#include "tests/maker/maker_test_support.h"

namespace {

// A quiz as the studio holds it: read from a source beside its pictures.
QuizSource quizIn(const fs::path& folder, const std::string& toml) {
    fs::create_directories(folder);
    for (const char* picture : {"q1.jpg", "q2.bmp", "r1.jpg"})
        fs::copy_file(kData / picture, folder / picture, fs::copy_options::skip_existing);
    writeFileContent(folder / "quiz.toml", toml);
    Diagnostics read;
    return readQuizSource(pathToUtf8(folder / "quiz.toml"), read);
}

std::vector<int> turnsOf(const QuizSource& quiz) {
    std::vector<int> turns;
    for (const QuestionSource& question : quiz.questions)
        turns.insert(turns.end(), {question.media.turnDegrees, question.rewardPicture.turnDegrees});
    return turns;
}

std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        files.push_back(entry.path());
    return files;
}

struct WrittenQuiz {
    const char* name;
    const char* folder;
    const char* toml;
    std::vector<int> turns; // media then reward picture, question by question
};

TEST(RecoveryFile, GivesBackTheQuizAsItWasWrittenWithItsTurnsAndMedia) {
    const WrittenQuiz quizzes[] = {
        {"text list",
         "Liste",
         "title = \"Capitales\"\nlayout = \"text list\"\n"
         "[[question]]\nanswer = \"Paris\"\ntext = \"France\"\n"
         "[[question]]\nanswer = \"Rome\"\ntext = \"Italie\"\n",
         {0, 0, 0, 0}},
        {"pictures turned, two answers, reward pictures, accents",
         "Sortie \xC3\xA9t\xC3\xA9",
         "title = \"\xC3\x89t\xC3\xA9\"\nlayout = \"pictures\"\nreward = \"picture\"\n"
         "answer_labels = [\"Nom\", \"Lieu\"]\ncodes = [\"A\", \"B\"]\n"
         "[[question]]\nanswers = [\"Un\", \"L\xC3\xA0\"]\npicture = \"q1.jpg\"\n"
         "reward_picture = \"r1.jpg\"\n"
         "[[question]]\nanswers = [\"Deux\", \"Ici\"]\npicture = \"q2.bmp\"\n"
         "reward_picture = \"r1.jpg\"\n",
         {90, 270, 180, 0}},
        // Being edited, it fails its checks: it comes back all the same.
        {"an answer not written yet",
         "Brouillon",
         "title = \"Brouillon\"\nlayout = \"pictures\"\n"
         "[[question]]\nanswer = \"\"\npicture = \"q1.jpg\"\n",
         {90, 0}},
    };
    for (const WrittenQuiz& row : quizzes) {
        SCOPED_TRACE(row.name);
        TemporaryFolder root;
        QuizSource quiz = quizIn(root / row.folder, row.toml);
        ASSERT_EQ(turnsOf(quiz).size(), row.turns.size());
        for (size_t i = 0; i < quiz.questions.size(); ++i) {
            quiz.questions[i].media.turnDegrees = row.turns[2 * i];
            quiz.questions[i].rewardPicture.turnDegrees = row.turns[2 * i + 1];
        }
        const fs::path saved = root / row.folder / "quiz.toml";
        std::string reason;
        ASSERT_TRUE(writeRecovery(root / "recovery", quiz, saved, reason)) << reason;
        // Read from elsewhere: the media paths still lead to the pictures.
        fs::current_path(root.path());

        const std::vector<RecoveryEntry> listed = listRecoveries(root / "recovery");
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_EQ(listed[0].problem, "");
        EXPECT_EQ(listed[0].savedAs, saved);
        EXPECT_EQ(listed[0].origin, quiz.file);
        EXPECT_EQ(listed[0].title, cp1252ToUtf8(quiz.title.value));
        EXPECT_LE(std::chrono::system_clock::now() - listed[0].written, std::chrono::hours(1));

        Diagnostics read;
        const std::optional<QuizSource> back = readRecovery(listed[0].file, read);
        ASSERT_TRUE(back) << testing::PrintToString(lines(read, Severity::kError));
        EXPECT_EQ(writeQuizToml(*back), writeQuizToml(quiz));
        EXPECT_EQ(turnsOf(*back), row.turns);
        EXPECT_EQ(back->file, quiz.file);
        // Its checks name the quiz's own file, at no line of the recovery file.
        Diagnostics checked;
        checkQuizSource(*back, checked);
        for (const std::string& line : lines(checked, Severity::kError))
            EXPECT_THAT(line, StartsWith(quiz.file + ": question[1].answer: empty"));
        for (const QuestionSource& question : back->questions)
            EXPECT_TRUE(fs::is_regular_file(back->folder / pathFromUtf8(question.media.path)) ||
                        !question.media.present());
        fs::current_path(fs::temp_directory_path());
    }
}

TEST(RecoveryFile, QuizzesOfTheSameTitleKeepFilesOfTheirOwn) {
    TemporaryFolder root;
    const std::string toml = "title = \"Quiz\"\nlayout = \"text list\"\n"
                             "[[question]]\nanswer = \"Paris\"\n";
    const QuizSource first = quizIn(root / "x" / "Quiz", toml);
    const QuizSource second = quizIn(root / "y" / "Quiz", toml);
    const fs::path folder = root / "recovery";
    std::string reason;
    ASSERT_TRUE(writeRecovery(folder, first, root / "x" / "Quiz" / "quiz.toml", reason)) << reason;
    ASSERT_TRUE(writeRecovery(folder, second, root / "y" / "Quiz" / "quiz.toml", reason, 4242))
        << reason;
    // Written again, a quiz replaces its own file.
    ASSERT_TRUE(writeRecovery(folder, first, root / "x" / "Quiz" / "quiz.toml", reason)) << reason;
    // Never saved nor opened from a file: named after its media folder.
    QuizSource untitled = second;
    untitled.file.clear();
    ASSERT_TRUE(writeRecovery(folder, untitled, {}, reason)) << reason;

    const std::vector<RecoveryEntry> listed = listRecoveries(folder);
    std::vector<fs::path> savedAs;
    for (const RecoveryEntry& entry : listed) {
        savedAs.push_back(entry.savedAs);
        // The studio that keeps a file, so that another one leaves it alone while it runs.
        EXPECT_EQ(entry.writer, entry.savedAs == root / "y" / "Quiz" / "quiz.toml" ? 4242u : 0u);
    }
    EXPECT_THAT(savedAs,
                testing::UnorderedElementsAre(root / "x" / "Quiz" / "quiz.toml",
                                              root / "y" / "Quiz" / "quiz.toml", fs::path()));
    EXPECT_THAT(
        pathToUtf8(recoveryFile(folder, first, root / "x" / "Quiz" / "quiz.toml").filename()),
        StartsWith("Quiz-quiz-"));
}

struct DamagedFile {
    const char* name;
    std::string text;
    const char* message;
};

TEST(RecoveryFile, ADamagedFileIsListedAndRefusedAndOtherFilesAreLeftAlone) {
    TemporaryFolder root;
    const QuizSource quiz = quizIn(root / "quiz", "title = \"Quiz\"\nlayout = \"pictures\"\n"
                                                  "[[question]]\nanswer = \"Un\"\n"
                                                  "picture = \"q1.jpg\"\n");
    const fs::path folder = root / "recovery";
    std::string reason;
    ASSERT_TRUE(writeRecovery(folder, quiz, root / "quiz" / "quiz.toml", reason)) << reason;
    const fs::path file = listRecoveries(folder).at(0).file;
    const std::string good = readFileContent(file);
    const size_t body = good.find("title = ");
    const std::string header = good.substr(0, body);
    const DamagedFile damaged[] = {
        {"empty", "", "not a recovery file of plimo-studio"},
        {"a quiz source of someone else", good.substr(body), "not a recovery file of plimo-studio"},
        {"cut in its header", good.substr(0, good.find("# turns")), "its header is incomplete"},
        {"a header that does not read", "# plimo recovery\n# saved_as = \"\n" + good.substr(body),
         "its header does not read"},
        {"a turn that is none",
         header.substr(0, header.find("# turns")) + "# turns = [45]\n# reward_turns = [0]\n" +
             good.substr(body),
         "its header is incomplete"},
        {"a question more than turns", good + "[[question]]\nanswer = \"Deux\"\n",
         "its quiz does not read"},
        {"a cut quiz", good.substr(0, good.size() - 8), "its quiz does not read"},
    };
    writeFileContent(folder / "notes.txt", "mine");
    writeFileContent(folder / "quiz.toml", "title = 1");
    for (const DamagedFile& row : damaged) {
        SCOPED_TRACE(row.name);
        writeFileContent(file, row.text);
        const std::vector<RecoveryEntry> listed = listRecoveries(folder);
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_THAT(listed[0].problem, StartsWith("damaged recovery file: "));
        Diagnostics read;
        EXPECT_FALSE(readRecovery(file, read));
        EXPECT_THAT(testing::PrintToString(lines(read, Severity::kError)),
                    HasSubstr(pathToUtf8(file) + ": file: damaged recovery file: " + row.message));
    }

    // Only its own file goes.
    writeFileContent(file, good);
    const QuizSource other = quizIn(root / "other", "title = \"Autre\"\nlayout = \"text list\"\n"
                                                    "[[question]]\nanswer = \"Un\"\n");
    ASSERT_TRUE(writeRecovery(folder, other, {}, reason)) << reason;
    EXPECT_FALSE(removeRecovery(folder / "notes.txt"));
    EXPECT_FALSE(removeRecovery(folder / "quiz.toml"));
    EXPECT_TRUE(removeRecovery(file));
    EXPECT_FALSE(removeRecovery(file));
    EXPECT_THAT(filesIn(folder),
                testing::UnorderedElementsAre(folder / "notes.txt", folder / "quiz.toml",
                                              recoveryFile(folder, other, {})));
}

} // namespace
