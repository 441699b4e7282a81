// The loader on real modules, and the message boxes it shows.
#include "content/lzw_codec.h"
#include "content/quiz_loader.h"
#include "resources/quiz_resource_ids.h"
#include "tests/support/quiz_text_builder.h"
#include "tests/windows/support.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes encoded(const Bytes& text) {
    Bytes stream;
    EXPECT_EQ(lzwEncode(text, stream), kLzwOk);
    return stream;
}

Bytes sampleQuizText() {
    QuizTextBuilder quiz(2, 3, 1);
    quiz.field("Les capitales").field("Jeanne").field("Nommez la ville").field("").field("");
    quiz.field("PARIS").field("").field("ROME").field("").field("BERLIN").field("");
    return quiz.byte(kRewardText).field("Oui").field("Si").field("Ja").colour(9, 8, 7).bytes();
}

// A copy of a fixture module built beside the tests, given these PATCH resources, loaded as
// data. Wine's UpdateResource cannot write a resource of size 0: such cases have a fixture.
class QuizModule {
  public:
    QuizModule(const char* fixture, const std::map<int, Bytes>& patches) {
        const std::string path = folder_.file("quiz.dll");
        EXPECT_TRUE(CopyFileA((executableFolder() + fixture).c_str(), path.c_str(), FALSE));
        if (!patches.empty()) {
            HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
            for (const auto& [id, bytes] : patches)
                EXPECT_TRUE(UpdateResourceA(update, "PATCH", MAKEINTRESOURCEA(id),
                                            MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                            const_cast<uint8_t*>(bytes.data()), bytes.size()));
            EXPECT_TRUE(EndUpdateResourceA(update, FALSE));
        }
        module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    ~QuizModule() {
        if (module_)
            FreeLibrary(module_);
    }
    HMODULE handle() const { return module_; }

  private:
    TemporaryFolder folder_;
    HMODULE module_ = nullptr;
};

enum class Expect { kDefaultQuiz, kConstructionValues, kWholeQuiz };

void expectRecord(const QuizRecord& record, Expect expected) {
    switch (expected) {
    case Expect::kDefaultQuiz:
        EXPECT_STREQ(record.title, "Nom du plimo");
        EXPECT_EQ(record.questionCount, 7);
        EXPECT_EQ(record.answerFieldCount, 2);
        EXPECT_EQ(record.colourRed, 0x35);
        EXPECT_STREQ(questionAt(record, 6)->answer2, "test");
        break;
    case Expect::kConstructionValues:
        EXPECT_STREQ(record.title, "nom du plimo");
        EXPECT_EQ(record.questionCount, 2);
        EXPECT_EQ(record.colourRed, 0x5A);
        EXPECT_EQ(questionAt(record, 0), nullptr);
        break;
    case Expect::kWholeQuiz:
        EXPECT_STREQ(record.title, "Les capitales");
        EXPECT_EQ(record.questionCount, 3);
        EXPECT_EQ(record.rewardKind, kRewardText);
        EXPECT_STREQ(questionAt(record, 2)->answer1, "BERLIN");
        EXPECT_STREQ(questionAt(record, 2)->rewardText, "Ja");
        EXPECT_EQ(record.colourBlue, 7);
        break;
    }
}

TEST(QuizLoader, FollowsTheFailureTable) {
    const Bytes quiz = encoded(sampleQuizText());
    const Bytes codes = encoded(codeLines({"UN", "DEUX", "TROIS"}));
    const Bytes corrupt = {0x30, 0xC0}; // stops before its end code
    Bytes cutShort = sampleQuizText();
    cutShort.pop_back(); // the blue byte
    const char* kEmpty = "quiz_fixture.dll";
    const char* quizUnreadable = "Erreur dans le d\xE9"
                                 "cryptage des reponses";
    struct Case {
        const char* name;
        const char* fixture;
        std::map<int, Bytes> resources;
        const char* message; // null: no box
        Expect record;
        bool codesLoaded;
    } cases[] = {
        {"no quiz resource", kEmpty, {}, nullptr, Expect::kDefaultQuiz, false},
        {"codes only", kEmpty, {{IDR_QUIZ_CODES, codes}}, nullptr, Expect::kDefaultQuiz, false},
        {"quiz of size 0", "quiz_fixture_empty_text.dll", {}, nullptr, Expect::kDefaultQuiz, false},
        {"quiz does not decode",
         kEmpty,
         {{IDR_QUIZ_TEXT, corrupt}, {IDR_QUIZ_CODES, codes}},
         quizUnreadable,
         Expect::kConstructionValues,
         false},
        {"quiz cut short",
         kEmpty,
         {{IDR_QUIZ_TEXT, encoded(cutShort)}, {IDR_QUIZ_CODES, codes}},
         quizUnreadable,
         Expect::kConstructionValues,
         false},
        {"codes missing",
         kEmpty,
         {{IDR_QUIZ_TEXT, quiz}},
         "Codes non trouv\xE9s.",
         Expect::kWholeQuiz,
         false},
        {"codes of size 0",
         "quiz_fixture_empty_codes.dll",
         {},
         "Codes non renseign\xE9s.",
         Expect::kWholeQuiz,
         false},
        {"codes do not decode",
         kEmpty,
         {{IDR_QUIZ_TEXT, quiz}, {IDR_QUIZ_CODES, corrupt}},
         "Erreur dans le d\xE9"
         "cryptage des codes",
         Expect::kWholeQuiz,
         false},
        {"whole quiz",
         kEmpty,
         {{IDR_QUIZ_TEXT, quiz}, {IDR_QUIZ_CODES, codes}},
         nullptr,
         Expect::kWholeQuiz,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuizModule module(c.fixture, c.resources);
        ASSERT_NE(module.handle(), nullptr);
        auto record = std::make_unique<QuizRecord>();
        MessageBoxCapture capture;
        // Only a record without a quiz may be told apart: it must never be saved over answers.
        EXPECT_EQ(loadQuizFromModule(module.handle(), *record),
                  c.record != Expect::kConstructionValues);
        ASSERT_EQ(capture.boxes().size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(capture.boxes()[0].caption, "Plimo");
            EXPECT_EQ(capture.boxes()[0].text, c.message);
            EXPECT_EQ(capture.boxes()[0].buttonCount, 1);
            EXPECT_FALSE(capture.boxes()[0].hasOwner);
        }
        expectRecord(*record, c.record);
        EXPECT_STREQ(record->codes[0], c.codesLoaded ? "UN" : "");
        EXPECT_STREQ(record->codes[2], c.codesLoaded ? "TROIS" : "");
    }
    // The test executable carries no PATCH resources, like a player built without a quiz.
    auto record = std::make_unique<QuizRecord>();
    MessageBoxCapture capture;
    loadQuiz(*record);
    EXPECT_TRUE(capture.boxes().empty());
    expectRecord(*record, Expect::kDefaultQuiz);

    Bytes output;
    lzwFailNextOutputAllocationForTesting();
    EXPECT_EQ(lzwDecode(Bytes{0x30, 0xC0, 0x00}, output), kLzwOutOfMemory);
    ASSERT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(capture.boxes()[0].caption, "information");
    EXPECT_EQ(capture.boxes()[0].text, "Impossible d'allouer la memoire");
}

} // namespace
