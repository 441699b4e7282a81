#include "maker/answer_variants.h"
#include "tests/maker/maker_test_support.h"

#include <algorithm>
#include <optional>

namespace {

std::optional<AnswerVariant> variantBy(const std::vector<AnswerVariant>& variants,
                                       VariantRule rule) {
    const auto found = std::find_if(variants.begin(), variants.end(),
                                    [rule](const AnswerVariant& v) { return v.rule == rule; });
    return found == variants.end() ? std::nullopt : std::optional(*found);
}

TEST(AnswerVariants, TypesTheAnswerAsPupilsDoAndJudgesIt) {
    using enum VariantRule;
    using enum Verdict;
    const struct {
        const char* answer;
        VariantRule rule;
        const char* typed;
        std::optional<Verdict> verdict; // when the row is about the verdict too
    } rows[] = {
        {"Sacr\xE9-C\x9Cur", kHurried, "sacre coeur", kWrong},
        {"Sacr\xE9-C\x9Cur", kWithoutAccents, "Sacre-Coeur", {}},
        {"Sacr\xE9-C\x9Cur", kUpperCase, "SACR\xC9-C\x8CUR", {}},
        {"Notre-Dame", kHyphensAsSpaces, "Notre Dame", kOneEdit},
        {"Notre-Dame", kHurried, "notre dame", kOneEdit},
        {"Mus\xE9"
         "e d\x92Orsay",
         kStraightApostrophes,
         "Mus\xE9"
         "e d'Orsay",
         kOneEdit},
        {"Mus\xE9"
         "e d\x92Orsay",
         kHurried, "musee d'orsay", kTwoEdits},
        {"Mus\xE9"
         "e d\x92Orsay",
         kWithoutApostrophes,
         "Mus\xE9"
         "e dOrsay",
         {}},
        {"Mont Saint-Michel", kSpacesAsHyphens, "Mont-Saint-Michel", {}},
        {"l'Arc",
         kCurlyApostrophes,
         "l\x92"
         "Arc",
         {}},
        {"Tour Eiffel", kLowerCase, "tour eiffel", kRight},
        {"\xC9vian", kLowerCase, "\xE9vian", kOneEdit}, // the player folds ASCII letters only
        {"\xC6gypte", kWithoutAccents, "AEgypte", {}},
        {"Tour Eiffel", kLetterMissing, "Tur Eiffel", kOneEdit},
        {"Tour Eiffel", kLettersSwapped, "Tuor Eiffel", {}},
        {"Arc", kLettersSwapped, "Acr", {}}, // the last two letters
        {"Tour Eiffel", kLetterUndoubled, "Tour Eifel", kOneEdit},
        {"Louvre", kLetterDoubled, "Loouvre", {}},
        {"La Joconde", kArticleDropped, "Joconde", {}},
        {"L\x92"
         "Arc",
         kArticleDropped,
         "Arc",
         {}},
        {"Louvre", kArticleAdded, "le Louvre", kTooLong},
        {"Arc", kArticleAdded, "l'Arc", {}},
        {"\xC9tretat", kArticleAdded, "l'\xC9tretat", {}},
    };
    for (const auto& row : rows) {
        const std::optional<AnswerVariant> variant =
            variantBy(answerVariants(row.answer), row.rule);
        ASSERT_TRUE(variant) << row.answer << " " << variantRuleName(row.rule);
        EXPECT_EQ(variant->typed, row.typed) << row.answer;
        if (row.verdict)
            EXPECT_EQ(variant->verdict, *row.verdict) << row.answer << " " << row.typed;
    }
}

TEST(AnswerVariants, ListsEachWayOfTypingOnceAndOnlyWhenItChangesSomething) {
    using enum VariantRule;
    std::vector<VariantRule> rules;
    for (const AnswerVariant& variant : answerVariants("Louvre"))
        rules.push_back(variant.rule);
    // No accent, hyphen, space, apostrophe or article to change; in a hurry is all small
    // letters, already listed.
    EXPECT_EQ(rules, (std::vector{kLowerCase, kUpperCase, kLetterMissing, kLettersSwapped,
                                  kLetterDoubled, kArticleAdded}));
    EXPECT_TRUE(answerVariants("").empty());
}

TEST(AnswerVariants, AdvisesWhatTheAuthorCanChange) {
    const std::string answer = "Sacr\xE9-C\x9Cur";
    const std::optional<AnswerVariant> hurried =
        variantBy(answerVariants(answer), VariantRule::kHurried);
    ASSERT_TRUE(hurried);
    EXPECT_EQ(variantAdvice(answer, *hurried),
              "\"sacre coeur\" is judged FAUX: a French keyboard cannot type \x9C: consider "
              "writing Sacr\xE9-Coeur");
    const std::string museum = "Mus\xE9"
                               "e d\x92Orsay";
    const std::optional<AnswerVariant> straight =
        variantBy(answerVariants(museum), VariantRule::kStraightApostrophes);
    ASSERT_TRUE(straight);
    EXPECT_THAT(variantAdvice(museum, *straight), HasSubstr("consider writing Mus\xE9"
                                                            "e d'Orsay"));
    EXPECT_TRUE(pupilExpectsItToPass(VariantRule::kWithoutAccents));
    EXPECT_FALSE(pupilExpectsItToPass(VariantRule::kLetterMissing));
}

TEST(AnswerVariants, WarnTheAuthorOnTheAnswerAPupilWouldTypeSoInAWindowOnly) {
    QuizSource quiz;
    quiz.file = "quiz.toml";
    quiz.answerFieldCount = 2;
    quiz.questions.resize(2);
    quiz.questions[0].answers = {{"Louvre", 3}, {"Notre-Dame", 4}};
    quiz.questions[1].answers = {{"Sacr\xE9-C\x9Cur", 6}, {"", 0}};
    Diagnostics warned;
    answerVariantWarnings(quiz, warned);
    std::vector<std::string> found;
    for (const Diagnostic& warning : warned.all()) {
        EXPECT_EQ(warning.severity, Severity::kWarning);
        found.push_back(warning.field + ":" + std::to_string(warning.line) + ": " +
                        warning.message);
    }
    // UTF-8 messages, as every diagnostic; nothing on an answer typed any way a pupil would.
    // One warning an answer, the hurried pupil's way first.
    EXPECT_THAT(found, testing::ElementsAre(
                           "question[1].answers[2]:4: \"notre dame\" is judged Quasiment: the "
                           "player counts a hyphen typed as a space, or the other way, as a "
                           "mistake; judged wrong too: \"Notre Dame\"",
                           StartsWith("question[2].answers[1]:6: \"sacre coeur\" is judged FAUX: "
                                      "a French keyboard cannot type \xC5\x93: consider writing "
                                      "Sacr\xC3\xA9-Coeur; judged wrong too: \"Sacre-Coeur\"")));
    EXPECT_THAT(found, testing::Each(testing::Not(StartsWith("question[1].answers[1]"))));
    EXPECT_THAT(found, testing::Each(testing::Not(StartsWith("question[2].answers[2]"))));
    Diagnostics checked;
    checkQuizSource(quiz, checked);
    EXPECT_THAT(lines(checked, Severity::kWarning),
                testing::Each(testing::Not(HasSubstr("judged"))));
}

} // namespace
