// The ways a pupil is likely to type an answer, each judged by the player's own judge, so that
// an author sees before the pupils do which of them the player calls wrong: a French keyboard
// has no key for "\x9C", a pupil in a hurry types no accents and no capitals.
#pragma once

#include "judge/verdict.h"

#include <string>
#include <string_view>
#include <vector>

enum class VariantRule {
    kWithoutAccents,      // e for \xE9, c for \xE7, oe for \x9C, ae for \xE6
    kHyphensAsSpaces,     //
    kSpacesAsHyphens,     //
    kStraightApostrophes, // ' for \x92 and \x91
    kCurlyApostrophes,    // \x92 for '
    kWithoutApostrophes,  //
    kLowerCase,           // every letter, accented ones too
    kUpperCase,           //
    kLetterMissing,       // the first letter after the first
    kLettersSwapped,      // the first two neighbouring letters after the first
    kLetterDoubled,       // the first letter after the first, when none is double
    kLetterUndoubled,     // the first double letter
    kArticleDropped,      // le, la, les, l', un, une
    kArticleAdded,        //
    kHurried,             // without accents, hyphens as spaces, apostrophes straight, lower case
};

struct AnswerVariant {
    VariantRule rule;
    std::string typed; // Windows-1252, as a pupil types it
    Verdict verdict;   // what the player says to it
};

// Every variant of `answer` (Windows-1252) that differs from it and from the variants before
// it, in the order of VariantRule, with the player's verdict.
std::vector<AnswerVariant> answerVariants(std::string_view answer);

// "without accents", "all capitals", ...
std::string_view variantRuleName(VariantRule rule);

// A pupil expects these to pass: accents, ligatures, hyphens, apostrophes and case are how the
// answer is typed, not what it is. An author is warned when the player calls one wrong.
bool pupilExpectsItToPass(VariantRule rule);

// One line of advice for a variant that a pupil expects to pass and the player does not, in
// Windows-1252: "a French keyboard cannot type \x9C: consider writing Sacr\xE9-Coeur".
std::string variantAdvice(std::string_view answer, const AnswerVariant& variant);
