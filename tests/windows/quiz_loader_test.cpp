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
    for (const char* field : {"Les capitales", "Jeanne", "Nommez la ville", "", "", "PARIS", "",
                              "ROME", "", "BERLIN", ""})
        quiz.field(field);
    return quiz.byte(kRewardText).field("Oui").field("Si").field("Ja").colour(9, 8, 7).bytes();
}

// Loads as data a copy (at `path`) of a module built beside the tests, given these PATCH
// resources. The player has none; Wine's UpdateResource cannot write a resource of size 0: the
// fixture module has one.
HMODULE loadCopy(const std::string& path, const char* module, const std::map<int, Bytes>& patches) {
    EXPECT_TRUE(CopyFileA((executableFolder() + module).c_str(), path.c_str(), FALSE));
    if (!patches.empty()) {
        HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
        for (const auto& [id, bytes] : patches)
            EXPECT_TRUE(UpdateResourceA(update, "PATCH", MAKEINTRESOURCEA(id),
                                        MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                        const_cast<uint8_t*>(bytes.data()), bytes.size()));
        EXPECT_TRUE(EndUpdateResourceA(update, FALSE));
    }
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

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
    const char *none = "plimo.exe", *emptyCodes = "quiz_fixture.dll";
    const std::string unreadable = "Erreur dans le d\xE9"
                                   "cryptage des ";
    const int T = IDR_QUIZ_TEXT, C = IDR_QUIZ_CODES;
    struct Case {
        const char* fixture;
        std::map<int, Bytes> resources;
        std::string message; // empty: no box
        Expected record;
        bool codesLoaded;
    } cases[] = {
        {none, {{C, codes}}, "", kDefaultQuiz, false}, // codes without a quiz text
        {none, {{T, corrupt}, {C, codes}}, unreadable + "reponses", kUntouched, false},
        {none, {{T, encoded(cutShort)}, {C, codes}}, unreadable + "reponses", kUntouched, false},
        {none, {{T, quiz}}, "Codes non trouv\xE9s.", kWholeQuiz, false},
        {emptyCodes, {}, "Codes non renseign\xE9s.", kWholeQuiz, false},
        {none, {{T, quiz}, {C, corrupt}}, unreadable + "codes", kWholeQuiz, false},
        {none, {{T, quiz}, {C, codes}}, "", kWholeQuiz, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        TemporaryFolder folder;
        HMODULE module = loadCopy(folder.file("quiz.dll"), c.fixture, c.resources);
        ASSERT_NE(module, nullptr);
        auto record = std::make_unique<QuizRecord>();
        MessageBoxCapture capture;
        // Only a record without a quiz may be told apart: it must never be saved over answers.
        EXPECT_EQ(loadQuizFromModule(module, *record), c.record.title != kUntouched.title);
        ASSERT_EQ(capture.boxes().size(), c.message.empty() ? 0u : 1u);
        for (const CapturedBox& box : capture.boxes())
            EXPECT_TRUE(box.caption + "|" + box.text == "Plimo|" + c.message &&
                        box.buttonCount == 1 && !box.hasOwner)
                << box.text;
        EXPECT_STREQ(record->title, c.record.title);
        EXPECT_EQ(record->questionCount, c.record.questions);
        EXPECT_EQ(questionAt(*record, 0) != nullptr, c.record.title != kUntouched.title);
        EXPECT_STREQ(record->codes[2], c.codesLoaded ? "TROIS" : "");
        if (c.record.title == kWholeQuiz.title) {
            EXPECT_STREQ(questionAt(*record, 2)->answer1, "BERLIN");
            EXPECT_STREQ(questionAt(*record, 2)->rewardText, "Ja");
            EXPECT_EQ(record->rewardKind * 1000 + record->colourBlue, kRewardText * 1000 + 7);
        }
        FreeLibrary(module);
    }
    // The decoder's allocation failure is told in a box of its own.
    MessageBoxCapture capture;
    Bytes output;
    lzwFailNextOutputAllocationForTesting();
    EXPECT_EQ(lzwDecode(Bytes{0x30, 0xC0, 0x00}, output), kLzwOutOfMemory);
    ASSERT_EQ(capture.boxes().size(), 1u);
    EXPECT_EQ(capture.boxes()[0].caption + "|" + capture.boxes()[0].text,
              "information|Impossible d'allouer la memoire");
}

} // namespace
