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

// Loads as data a copy (at `path`) of the player, which has no quiz resources, given these
// PATCH resources; Wine's UpdateResource cannot write one of size 0, so the codes may be emptied
// afterwards.
HMODULE loadCopy(const std::string& path, const std::map<int, Bytes>& patches, bool codesEmptied) {
    EXPECT_TRUE(CopyFileA((executableFolder() + "plimo.exe").c_str(), path.c_str(), FALSE));
    HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
    for (const auto& [id, bytes] : patches)
        EXPECT_TRUE(UpdateResourceA(update, kQuizResourceType, MAKEINTRESOURCEA(id),
                                    MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                    const_cast<uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_TRUE(EndUpdateResourceA(update, FALSE));
    EXPECT_EQ(codesEmptied &&
                  writeDamagedCopy(path, kQuizResourceType, MAKEINTRESOURCEA(IDR_QUIZ_CODES),
                                   ResourceDamage::kEmptied, path),
              codesEmptied);
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

TEST(QuizLoader, FollowsTheFailureTable) {
    QuizTextBuilder builder(2, 3, 1);
    for (const char* field : {"Les capitales", "Jeanne", "Nommez la ville", "", "", "PARIS", "",
                              "ROME", "", "BERLIN", ""})
        builder.field(field);
    Bytes text =
        builder.byte(kRewardText).field("Oui").field("Si").field("Ja").colour(9, 8, 7).bytes();
    const Bytes quiz = encoded(text), codes = encoded(codeLines({"UN", "DEUX", "TROIS"}));
    const Bytes corrupt = {0x30, 0xC0}; // stops before its end code
    text.pop_back();                    // cut short of its blue byte
    const std::string unreadable = "Erreur dans le d\xE9"
                                   "cryptage des ";
    const int T = IDR_QUIZ_TEXT, C = IDR_QUIZ_CODES;
    // The records' titles: the built-in quiz, a record left as constructed, and the quiz above.
    const char *builtIn = "Nom du plimo", *untouched = "nom du plimo", *whole = "Les capitales";
    struct Case {
        std::map<int, Bytes> resources;
        std::string message; // empty: no box
        const char* title;
        int questions;
        bool codesLoaded, codesEmptied = false;
    } cases[] = {
        {{{C, codes}}, "", builtIn, 7, false}, // codes without a quiz text
        {{{T, corrupt}, {C, codes}}, unreadable + "reponses", untouched, 2, false},
        {{{T, encoded(text)}, {C, codes}}, unreadable + "reponses", untouched, 2, false},
        {{{T, quiz}}, "Codes non trouv\xE9s.", whole, 3, false},
        {{{T, quiz}, {C, codes}}, "Codes non renseign\xE9s.", whole, 3, false, true},
        {{{T, quiz}, {C, corrupt}}, unreadable + "codes", whole, 3, false},
        {{{T, quiz}, {C, codes}}, "", whole, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        TemporaryFolder folder;
        HMODULE module = loadCopy(folder.file("quiz.dll"), c.resources, c.codesEmptied);
        ASSERT_NE(module, nullptr);
        auto record = std::make_unique<QuizRecord>();
        MessageBoxCapture capture;
        // Only a record without a quiz may be told apart: it must never be saved over answers.
        EXPECT_EQ(loadQuizFromModule(module, *record), c.title != untouched);
        ASSERT_EQ(capture.boxes().size(), c.message.empty() ? 0u : 1u);
        for (const CapturedBox& box : capture.boxes())
            EXPECT_TRUE(box.caption + "|" + box.text == "Plimo|" + c.message &&
                        box.buttonCount == 1 && !box.hasOwner)
                << box.text;
        EXPECT_STREQ(record->title, c.title);
        EXPECT_EQ(record->questionCount, c.questions);
        EXPECT_EQ(questionAt(*record, 0) != nullptr, c.title != untouched);
        EXPECT_STREQ(record->codes[2], c.codesLoaded ? "TROIS" : "");
        // The quiz's last byte, the built-in quiz's colour, or the record's own.
        EXPECT_EQ(record->colourBlue, c.title == whole ? 7 : c.title == builtIn ? 0xA3 : 0x96);
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
