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

// Expected records: the built-in quiz, a record left as constructed, and the quiz above.
struct Expected {
    const char* title;
    int questions;
};
const Expected kDefaultQuiz{"Nom du plimo", 7}, kUntouched{"nom du plimo", 2},
    kWholeQuiz{"Les capitales", 3};

TEST(QuizLoader, FollowsTheFailureTable) {
    const Bytes quiz = encoded(sampleQuizText()),
                codes = encoded(codeLines({"UN", "DEUX", "TROIS"}));
    const Bytes corrupt = {0x30, 0xC0}; // stops before its end code
    Bytes cutShort = sampleQuizText();
    cutShort.pop_back(); // the blue byte
    const char *none = "quiz_fixture.dll", *emptyText = "quiz_fixture_empty_text.dll",
               *emptyCodes = "quiz_fixture_empty_codes.dll";
    const char* unreadable = "Erreur dans le d\xE9"
                             "cryptage des reponses";
    const int T = IDR_QUIZ_TEXT, C = IDR_QUIZ_CODES;
    struct Case {
        const char* fixture;
        std::map<int, Bytes> resources;
        const char* message; // null: no box
        Expected record;
        bool codesLoaded;
    } cases[] = {
        {none, {}, nullptr, kDefaultQuiz, false},
        {none, {{C, codes}}, nullptr, kDefaultQuiz, false},
        {emptyText, {}, nullptr, kDefaultQuiz, false},
        {none, {{T, corrupt}, {C, codes}}, unreadable, kUntouched, false},
        {none, {{T, encoded(cutShort)}, {C, codes}}, unreadable, kUntouched, false},
        {none, {{T, quiz}}, "Codes non trouv\xE9s.", kWholeQuiz, false},
        {emptyCodes, {}, "Codes non renseign\xE9s.", kWholeQuiz, false},
        {none,
         {{T, quiz}, {C, corrupt}},
         "Erreur dans le d\xE9"
         "cryptage des codes",
         kWholeQuiz,
         false},
        {none, {{T, quiz}, {C, codes}}, nullptr, kWholeQuiz, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        QuizModule module(c.fixture, c.resources);
        ASSERT_NE(module.handle(), nullptr);
        auto record = std::make_unique<QuizRecord>();
        MessageBoxCapture capture;
        // Only a record without a quiz may be told apart: it must never be saved over answers.
        EXPECT_EQ(loadQuizFromModule(module.handle(), *record), c.record.title != kUntouched.title);
        ASSERT_EQ(capture.boxes().size(), c.message ? 1u : 0u);
        if (c.message) {
            const CapturedBox& box = capture.boxes()[0];
            EXPECT_EQ(box.caption + "|" + box.text, std::string("Plimo|") + c.message);
            EXPECT_TRUE(box.buttonCount == 1 && !box.hasOwner);
        }
        EXPECT_STREQ(record->title, c.record.title);
        EXPECT_EQ(record->questionCount, c.record.questions);
        EXPECT_EQ(questionAt(*record, 0) != nullptr, c.record.title != kUntouched.title);
        EXPECT_STREQ(record->codes[2], c.codesLoaded ? "TROIS" : "");
        if (c.record.title == kWholeQuiz.title) {
            EXPECT_STREQ(questionAt(*record, 2)->answer1, "BERLIN");
            EXPECT_STREQ(questionAt(*record, 2)->rewardText, "Ja");
            EXPECT_EQ(record->rewardKind * 1000 + record->colourBlue, kRewardText * 1000 + 7);
        }
    }
    // The test executable carries no PATCH resources, like a player built without a quiz.
    auto record = std::make_unique<QuizRecord>();
    MessageBoxCapture capture;
    loadQuiz(*record);
    EXPECT_TRUE(capture.boxes().empty());
    EXPECT_STREQ(record->title, kDefaultQuiz.title);
    EXPECT_STREQ(questionAt(*record, 6)->answer2, "test");

    Bytes output;
    lzwFailNextOutputAllocationForTesting();
    EXPECT_EQ(lzwDecode(Bytes{0x30, 0xC0, 0x00}, output), kLzwOutOfMemory);
    ASSERT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(capture.boxes()[0].caption + "|" + capture.boxes()[0].text,
              "information|Impossible d'allouer la memoire");
}

} // namespace
