// The quiz a window edits: opened, changed, checked, saved and built by the maker's own
// functions.
#include "maker/folder_writer.h"
#include "maker/quiz_document.h"
#include "maker/quiz_starter.h"
#include "maker/quiz_writer.h"
#include "maker/toml_writer.h"
#include "tests/maker/maker_test_support.h"

#include <functional>

#include <unistd.h>

namespace {

// A folder of pictures named as a teacher names them.
struct PhotoFolder {
    TemporaryFolder root;
    fs::path photos = root / "Sortie_scolaire";
    PhotoFolder() {
        fs::create_directory(photos);
        for (const char* name : {"photo_10.jpg", "Photo_2.png", "photo_1.gif"})
            fs::copy_file(kData / "q1.jpg", photos / name);
        fs::copy_file(kData / "q4.png", photos / "Photo_2.png",
                      fs::copy_options::overwrite_existing);
    }
};

// The folder's quiz, opened and saved as its quiz.toml.
std::optional<QuizDocument> savedDocument(const PhotoFolder& folder) {
    Diagnostics opened, saved;
    std::optional<QuizDocument> document = QuizDocument::fromFolder(folder.photos, opened);
    if (document && !document->save(folder.photos / "quiz.toml", saved))
        document.reset();
    return document;
}

std::vector<std::string> answers(const QuizDocument& document) {
    std::vector<std::string> result;
    for (const QuestionSource& question : document.quiz().questions)
        result.push_back(question.answers.at(0).value);
    return result;
}

std::vector<std::string> messages(const Diagnostics& diagnostics) {
    std::vector<std::string> result;
    for (const Diagnostic& problem : diagnostics.all())
        result.push_back(problem.field + ": " + problem.message);
    return result;
}

TEST(QuizDocument, AFolderOpensAsNewWritesItAndItsQuizTomlOnceWritten) {
    PhotoFolder folder;
    Diagnostics opened;
    std::optional<QuizDocument> document = QuizDocument::fromFolder(folder.photos, opened);
    ASSERT_TRUE(document) << testing::PrintToString(messages(opened));
    EXPECT_EQ(answers(*document), (std::vector<std::string>{"photo 1", "Photo 2", "photo 10"}));
    EXPECT_EQ(document->quiz().title.value, "Sortie scolaire");
    EXPECT_TRUE(document->changed());
    EXPECT_EQ(document->savePath(), folder.photos / "quiz.toml");

    Diagnostics written;
    ASSERT_EQ(writeStarterSource(folder.photos, false, written).questions, 3);
    Diagnostics read;
    const QuizSource started = readQuizSource(pathToUtf8(folder.photos / "quiz.toml"), read);
    EXPECT_EQ(writeQuizToml(document->quiz()), writeQuizToml(started));
    // With its quiz.toml, the folder opens that source: nothing the author wrote is lost.
    writeFileContent(folder.photos / "quiz.toml",
                     "title = \"Mine\"\nlayout = \"pictures\"\n[[question]]\nanswer = \"Un\"\n"
                     "picture = \"photo_10.jpg\"\n");
    document = QuizDocument::fromFolder(folder.photos, opened);
    ASSERT_TRUE(document);
    EXPECT_EQ(answers(*document), std::vector<std::string>{"Un"});
    EXPECT_FALSE(document->changed());

    TemporaryFolder empty;
    Diagnostics nothing;
    EXPECT_FALSE(QuizDocument::fromFolder(empty.path(), nothing));
    EXPECT_TRUE(nothing.hasErrors());
}

TEST(QuizDocument, EditsAreCheckedAndSavedWithMediaPathsFromTheSavedSource) {
    PhotoFolder folder;
    QuizDocument document;
    Diagnostics added;
    // Dropped in any order on an empty quiz: name order, answers from the names.
    EXPECT_EQ(document.addMediaFiles({folder.photos / "photo_10.jpg", folder.photos / "photo_1.gif",
                                      kData / "clip.mp3", kData / "not_a_picture.jpg"},
                                     added),
              2);
    EXPECT_EQ(messages(added),
              (std::vector<std::string>{"file: a quiz shows pictures, sounds or videos, not a "
                                        "mix: left out",
                                        "file: not a picture, MP3 or AVI file: left out"}));
    EXPECT_EQ(document.quiz().title.value, "Sortie scolaire");
    EXPECT_TRUE(document.savePath().empty());
    document.addMediaFiles({folder.photos / "Photo_2.png"}, added);
    document.moveQuestion(2, 0);
    EXPECT_EQ(answers(document), (std::vector<std::string>{"Photo 2", "photo 1", "photo 10"}));
    document.moveQuestion(0, 2);
    document.removeQuestion(1);
    EXPECT_EQ(answers(document), (std::vector<std::string>{"photo 1", "Photo 2"}));

    // A near miss between two answers comes as a warning on the later one, and goes when fixed.
    document.edit().questions[1].answers[0].value = "photo 2";
    document.edit().codes = {{"A"}, {"B"}};
    const std::string nearMiss = "question[2].answer: \"photo 2\" and \"photo 1\"";
    EXPECT_THAT(messages(document.check()), testing::Contains(StartsWith(nearMiss)));
    document.edit().questions[1].answers[0].value = "Saint-Malo";
    EXPECT_THAT(messages(document.check()), testing::Each(testing::Not(StartsWith(nearMiss))));
    // Beside the checks of a build: the ways pupils type an answer that the player refuses.
    EXPECT_THAT(messages(document.check()),
                testing::Contains("question[2].answer: \"saint malo\" is judged Quasiment: the "
                                  "player counts a hyphen typed as a space, or the other way, as "
                                  "a mistake; judged wrong too: \"Saint Malo\""));
    EXPECT_FALSE(document.check().hasErrors());

    // Saved above the photos: the paths start from there.
    Diagnostics saved;
    ASSERT_TRUE(document.save(folder.root / "quiz.toml", saved));
    EXPECT_FALSE(document.changed());
    Diagnostics read;
    const QuizSource back = readQuizSource(pathToUtf8(folder.root / "quiz.toml"), read);
    EXPECT_FALSE(read.hasErrors()) << testing::PrintToString(messages(read));
    EXPECT_EQ(back.questions.at(1).media.path, "Sortie_scolaire/Photo_2.png");
    EXPECT_EQ(writeQuizToml(back), writeQuizToml(document.quiz()));

    // A save that fails leaves no file and the document unsaved.
    document.edit().title.value = "Autre";
    const fs::path nowhere = folder.root / "missing" / "quiz.toml";
    EXPECT_FALSE(document.save(nowhere, saved));
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
    EXPECT_TRUE(document.changed());
    EXPECT_EQ(document.savePath(), folder.root / "quiz.toml");
}

TEST(QuizDocument, EveryChangeIsUndoneAndRedoneInOrder) {
    PhotoFolder folder;
    std::optional<QuizDocument> document = savedDocument(folder);
    ASSERT_TRUE(document);
    const std::function<void(QuizDocument&)> changes[] = {
        // A run of typing in one field is one step.
        [](QuizDocument& d) {
            for (const char* typed : {"P", "Pa", "Par"})
                d.edit("question[1].answer").questions[0].answers[0].value = typed;
        },
        [](QuizDocument& d) { d.edit("title").title.value = "Autre"; },
        [](QuizDocument& d) { d.removeQuestion(1); },
        [](QuizDocument& d) { d.turnPicture(0, false, -90); },
        [](QuizDocument& d) { d.moveQuestion(0, 1); },
        [](QuizDocument& d) { d.setAnswerFieldCount(2); },
        [](QuizDocument& d) { d.edit().reward.value = kRewardPicture; },
        [](QuizDocument& d) {
            Diagnostics ignored;
            d.setRewardPicture(0, d.quiz().folder / "photo_1.gif", ignored);
        },
        [](QuizDocument& d) { d.turnPicture(0, true, 90); },
    };
    std::vector<std::string> states = {writeQuizToml(document->quiz())};
    for (const auto& change : changes) {
        change(*document);
        states.push_back(writeQuizToml(document->quiz()));
    }
    EXPECT_EQ(document->quiz().questions[1].media.turnDegrees, 270);
    EXPECT_EQ(document->quiz().questions[0].rewardPicture.path, "photo_1.gif");
    EXPECT_EQ(document->quiz().questions[0].rewardPicture.turnDegrees, 90);
    for (size_t k = states.size() - 1; k-- > 0;) {
        ASSERT_TRUE(document->undo());
        EXPECT_EQ(writeQuizToml(document->quiz()), states[k]) << k;
        if (k == 2) // the removed question back in its place, with its answer and picture
            EXPECT_EQ(answers(*document), (std::vector<std::string>{"Par", "Photo 2", "photo 10"}));
    }
    EXPECT_FALSE(document->undo());
    EXPECT_FALSE(document->changed());
    for (size_t k = 1; k < states.size(); ++k) {
        ASSERT_TRUE(document->redo());
        EXPECT_EQ(writeQuizToml(document->quiz()), states[k]) << k;
        EXPECT_TRUE(document->changed());
    }
    // A change after an undo is the new way forward.
    document->undo();
    document->edit().title.value = "Nouveau";
    EXPECT_FALSE(document->redo());

    // Deep enough for an afternoon's work, the typing runs of different fields apart.
    for (int k = 0; k < 150; ++k) {
        QuizSource& quiz = document->edit(k % 2 ? "title" : "creator");
        (k % 2 ? quiz.title : quiz.creator).value = std::to_string(k);
    }
    for (int k = 0; k < 150; ++k)
        ASSERT_TRUE(document->undo()) << k;
    EXPECT_EQ(document->quiz().title.value, "Nouveau");
}

TEST(QuizDocument, PhotosFromAnotherFolderAreCopiedIntoTheQuizsNeverOverAFile) {
    PhotoFolder folder;
    Diagnostics opened;
    std::optional<QuizDocument> document = QuizDocument::fromFolder(folder.photos, opened);
    ASSERT_TRUE(document);
    TemporaryFolder other;
    fs::copy_file(kData / "q4.png", other / "photo_1.gif"); // not the quiz's photo_1.gif
    fs::copy_file(kData / "q1.jpg", other / "q1.jpg");
    Diagnostics added;
    EXPECT_EQ(document->addMediaFiles({other / "photo_1.gif", other / "q1.jpg"}, added), 2);
    EXPECT_EQ(document->addMediaFiles({other / "q1.jpg"}, added), 1); // the same photo again
    EXPECT_TRUE(added.all().empty());
    std::vector<std::string> paths;
    for (const QuestionSource& question : document->quiz().questions)
        paths.push_back(question.media.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"photo_1.gif", "Photo_2.png", "photo_10.jpg",
                                               "photo_1 (2).gif", "q1.jpg", "q1.jpg"}));
    EXPECT_EQ(answers(*document)[3], "photo 1");
    EXPECT_EQ(readBytes(folder.photos / "photo_1.gif"), readBytes(kData / "q1.jpg"));
    EXPECT_EQ(readBytes(folder.photos / "photo_1 (2).gif"), readBytes(kData / "q4.png"));
    EXPECT_TRUE(fs::exists(other / "q1.jpg"));

    // A reward picture comes the same way, beside the quiz's own Photo_2.png, not over it; a
    // file that is no picture is left out, and the question keeps its reward.
    fs::copy_file(kData / "q1.jpg", other / "Photo_2.png");
    fs::copy_file(kData / "not_a_picture.jpg", other / "notes.jpg");
    EXPECT_TRUE(document->setRewardPicture(1, other / "Photo_2.png", added));
    EXPECT_FALSE(document->setRewardPicture(1, other / "notes.jpg", added));
    EXPECT_THAT(messages(added), testing::ElementsAre("file: not a picture: left out"));
    EXPECT_EQ(document->quiz().questions[1].rewardPicture.path, "Photo_2 (2).png");
    EXPECT_EQ(readBytes(folder.photos / "Photo_2 (2).png"), readBytes(kData / "q1.jpg"));
    EXPECT_EQ(readBytes(folder.photos / "Photo_2.png"), readBytes(kData / "q4.png"));
    EXPECT_FALSE(fs::exists(folder.photos / "notes.jpg"));
    document->undo();
    EXPECT_FALSE(document->quiz().questions[1].rewardPicture.present());
}

TEST(QuizDocument, ASourceThatDoesNotParseOpensWithItsErrorsAndAsksForAFile) {
    TemporaryFolder folder;
    writeFileContent(folder / "quiz.toml", "title = \"Cut\nlayout = \"text list\"\n");
    Diagnostics opened;
    const QuizDocument document = QuizDocument::fromSource(folder / "quiz.toml", opened);
    EXPECT_TRUE(opened.hasErrors());
    EXPECT_TRUE(document.savePath().empty());
    EXPECT_EQ(document.check().errorCount(), opened.errorCount() + 1); // and no question yet
}

TEST(QuizDocument, BuildsWhatTheMakerBuildsAFewQuestionsAtATime) {
    TemporaryFolder folder;
    std::string source = "title = \"T\"\nlayout = \"pictures\"\nreward = \"picture\"\n";
    for (int i = 0; i < 5; ++i)
        source += "[[question]]\nanswer = \"A" + std::to_string(i) + "\"\npicture = \"" +
                  pathToUtf8(kData / (i == 3 ? "q4.png" : "q1.jpg")) + "\"\nreward_picture = \"" +
                  pathToUtf8(kData / "r1.jpg") + "\"\n";
    Diagnostics parsed;
    QuizSource quiz = parseQuizSource(source, "quiz.toml", "/", parsed);
    Diagnostics built, expected;
    std::vector<int> told;
    const auto progress = [&told](int done, int total) { told.push_back(done * 10 + total); };
    std::optional<QuizResources> resources = buildDocumentResources(quiz, built, {}, progress);
    ASSERT_TRUE(resources);
    EXPECT_EQ(*resources, buildQuizResources(quiz, expected));
    EXPECT_EQ(told.back(), 55);

    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_FALSE(buildDocumentResources(quiz, built, stopped.get_token(), progress));
    EXPECT_FALSE(built.hasErrors());

    quiz.questions[3].media.path = pathToUtf8(kData / "not_a_picture.jpg");
    EXPECT_FALSE(buildDocumentResources(quiz, built, {}, progress));
    EXPECT_THAT(messages(built), testing::ElementsAre(StartsWith("question[4].picture: ")));
}

TEST(QuizDocument, ASaveIntoAReadOnlyFolderSaysWhyAndChangesNothing) {
    PhotoFolder folder;
    std::optional<QuizDocument> document = savedDocument(folder);
    ASSERT_TRUE(document);
    const std::string before = readFileContent(folder.photos / "quiz.toml");
    document->edit().title.value = "Autre";
    fs::permissions(folder.photos, fs::perms::owner_read | fs::perms::owner_exec);
    const bool readOnly = access(folder.photos.c_str(), W_OK) != 0;
    Diagnostics refused;
    const bool written = readOnly && document->save(folder.photos / "quiz.toml", refused);
    fs::permissions(folder.photos, fs::perms::owner_all);
    if (!readOnly)
        GTEST_SKIP() << "a folder without write permission is written all the same here";
    EXPECT_FALSE(written);
    EXPECT_THAT(lines(refused, Severity::kError),
                testing::ElementsAre(StartsWith(pathToUtf8(folder.photos / "quiz.toml") +
                                                ": file: cannot be written: ")));
    EXPECT_EQ(readFileContent(folder.photos / "quiz.toml"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.photos), fs::directory_iterator()), 4);
    EXPECT_TRUE(document->changed());
}

} // namespace
