#include "maker/answer_variants.h"

#include "content/quiz_record.h"

#include <algorithm>
#include <array>
#include <functional>

namespace {

constexpr char kCurlyApostrophe = '\x92';
constexpr unsigned char kOeLigature = 0x9C;
constexpr unsigned char kCapitalOeLigature = 0x8C;

unsigned char byteOf(char c) {
    return static_cast<unsigned char>(c);
}

// The letter without its accent, in Windows-1252; ligatures give two letters.
std::string_view baseLetters(char c) {
    // 0xC0 to 0xFF, then the letters of 0x80 to 0x9F.
    static constexpr std::array<std::string_view, 64> kFromC0 = {
        "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
        "D", "N", "O", "O", "O", "O", "O",  "",  "O", "U", "U", "U", "U", "Y", "",  "ss",
        "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
        "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "",  "y",
    };
    switch (byteOf(c)) {
    case 0x8A:
        return "S";
    case 0x8C:
        return "OE";
    case 0x8E:
        return "Z";
    case 0x9A:
        return "s";
    case 0x9C:
        return "oe";
    case 0x9E:
        return "z";
    case 0x9F:
        return "Y";
    default:
        break;
    }
    if (byteOf(c) >= 0xC0 && !kFromC0[byteOf(c) - 0xC0].empty())
        return kFromC0[byteOf(c) - 0xC0];
    return {};
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || !baseLetters(c).empty();
}

// Windows-1252 case: the accented capitals are 0x20 below their small letters.
char lowerCase(char c) {
    const unsigned char b = byteOf(c);
    if ((c >= 'A' && c <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
        return static_cast<char>(b + 0x20);
    if (b == 0x8A || b == 0x8C || b == 0x8E)
        return static_cast<char>(b + 0x10);
    return b == 0x9F ? '\xFF' : c;
}

char upperCase(char c) {
    const unsigned char b = byteOf(c);
    if ((c >= 'a' && c <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
        return static_cast<char>(b - 0x20);
    if (b == 0x9A || b == 0x9C || b == 0x9E)
        return static_cast<char>(b - 0x10);
    return b == 0xFF ? '\x9F' : c;
}

std::string mapped(std::string_view text, const std::function<std::string(char)>& map) {
    std::string result;
    for (char c : text)
        result += map(c);
    return result;
}

std::string withoutAccents(std::string_view text) {
    return mapped(text, [](char c) {
        const std::string_view base = byteOf(c) >= 0x80 ? baseLetters(c) : std::string_view();
        return base.empty() ? std::string(1, c) : std::string(base);
    });
}

std::string replaced(std::string_view text, std::string_view from, char to) {
    return mapped(text, [&](char c) {
        return from.find(c) == std::string_view::npos ? std::string(1, c) : std::string(1, to);
    });
}

std::string withoutApostrophes(std::string_view text) {
    std::string result(text);
    std::erase_if(result, [](char c) { return c == '\'' || c == kCurlyApostrophe; });
    return result;
}

std::string straightApostrophes(std::string_view text) {
    return replaced(text, std::string_view("\x91\x92", 2), '\'');
}

std::string lowered(std::string_view text) {
    return mapped(text, [](char c) { return std::string(1, lowerCase(c)); });
}

std::string uppered(std::string_view text) {
    return mapped(text, [](char c) { return std::string(1, upperCase(c)); });
}

// Positions of the letters, for the slips of a pupil's fingers; the first letter is typed
// with care.
std::vector<size_t> letterPositions(std::string_view text) {
    std::vector<size_t> positions;
    for (size_t i = 0; i < text.size(); ++i) {
        if (isLetter(text[i]))
            positions.push_back(i);
    }
    return positions;
}

std::string letterMissing(std::string_view text) {
    const std::vector<size_t> letters = letterPositions(text);
    std::string result(text);
    if (letters.size() > 2)
        result.erase(letters[1], 1);
    return result;
}

std::string lettersSwapped(std::string_view text) {
    std::string result(text);
    for (size_t i = 1; i + 1 < result.size(); ++i) {
        if (isLetter(result[i]) && isLetter(result[i + 1]) && result[i] != result[i + 1]) {
            std::swap(result[i], result[i + 1]);
            break;
        }
    }
    return result;
}

size_t firstDoubleLetter(std::string_view text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (isLetter(text[i]) && lowerCase(text[i]) == lowerCase(text[i + 1]))
            return i;
    }
    return std::string_view::npos;
}

std::string letterDoubled(std::string_view text) {
    const std::vector<size_t> letters = letterPositions(text);
    std::string result(text);
    if (firstDoubleLetter(text) == std::string_view::npos && letters.size() > 2)
        result.insert(letters[1], 1, text[letters[1]]);
    return result;
}

std::string letterUndoubled(std::string_view text) {
    std::string result(text);
    if (const size_t at = firstDoubleLetter(text); at != std::string_view::npos)
        result.erase(at, 1);
    return result;
}

constexpr std::array<std::string_view, 7> kArticles = {"le ",  "la ", "les ", "un ",
                                                       "une ", "l'",  "l\x92"};

size_t articleLength(std::string_view text) {
    const std::string lower = lowered(text);
    for (std::string_view article : kArticles) {
        if (lower.starts_with(article) && lower.size() > article.size())
            return article.size();
    }
    return 0;
}

std::string articleDropped(std::string_view text) {
    return std::string(text.substr(articleLength(text)));
}

std::string articleAdded(std::string_view text) {
    if (articleLength(text) > 0 || text.empty())
        return std::string(text);
    const char first = withoutAccents(lowered(text.substr(0, 1)))[0];
    return (std::string_view("aeiouyh").find(first) != std::string_view::npos ? "l'" : "le ") +
           std::string(text);
}

// Sacr\xE9-Coeur for Sacr\xE9-C\x9Cur: the accents stay, only what no French key types goes.
std::string withLigaturesSpelledOut(std::string_view text) {
    return mapped(text, [](char c) {
        if (byteOf(c) == kOeLigature)
            return std::string("oe");
        if (byteOf(c) == kCapitalOeLigature)
            return std::string("Oe");
        return std::string(1, c);
    });
}

std::string hurried(std::string_view text) {
    return lowered(withoutAccents(straightApostrophes(replaced(text, "-", ' '))));
}

struct Rule {
    VariantRule rule;
    std::string_view name;
    bool pupilExpectsToPass;
    std::string (*make)(std::string_view);
};

const std::array<Rule, 15> kRules = {{
    {VariantRule::kWithoutAccents, "without accents", true, withoutAccents},
    {VariantRule::kHyphensAsSpaces, "hyphens as spaces", true,
     [](std::string_view t) { return replaced(t, "-", ' '); }},
    {VariantRule::kSpacesAsHyphens, "spaces as hyphens", true,
     [](std::string_view t) { return replaced(t, " ", '-'); }},
    {VariantRule::kStraightApostrophes, "straight apostrophes", true, straightApostrophes},
    {VariantRule::kCurlyApostrophes, "curly apostrophes", true,
     [](std::string_view t) { return replaced(t, "'", kCurlyApostrophe); }},
    {VariantRule::kWithoutApostrophes, "without apostrophes", false, withoutApostrophes},
    {VariantRule::kLowerCase, "all small letters", true, lowered},
    {VariantRule::kUpperCase, "all capitals", true, uppered},
    {VariantRule::kLetterMissing, "one letter missing", false, letterMissing},
    {VariantRule::kLettersSwapped, "two letters swapped", false, lettersSwapped},
    {VariantRule::kLetterDoubled, "one letter doubled", false, letterDoubled},
    {VariantRule::kLetterUndoubled, "one letter undoubled", false, letterUndoubled},
    {VariantRule::kArticleDropped, "without its article", false, articleDropped},
    {VariantRule::kArticleAdded, "with an article", false, articleAdded},
    {VariantRule::kHurried, "in a hurry", true, hurried},
}};

const Rule& ruleOf(VariantRule rule) {
    return kRules[static_cast<size_t>(rule)];
}

bool holds(std::string_view text, unsigned char byte) {
    return text.find(static_cast<char>(byte)) != std::string_view::npos;
}

} // namespace

std::vector<AnswerVariant> answerVariants(std::string_view answer) {
    const std::string expected(answer.substr(0, kQuizTextMaxLength));
    std::vector<AnswerVariant> variants;
    for (const Rule& rule : kRules) {
        std::string typed = rule.make(expected);
        typed.resize(std::min<size_t>(typed.size(), kQuizTextMaxLength));
        const bool seen = typed == expected ||
                          std::any_of(variants.begin(), variants.end(),
                                      [&](const AnswerVariant& v) { return v.typed == typed; });
        if (!seen)
            variants.push_back({rule.rule, typed, chooseVerdict(expected.c_str(), typed.c_str())});
    }
    return variants;
}

std::string_view variantRuleName(VariantRule rule) {
    return ruleOf(rule).name;
}

bool pupilExpectsItToPass(VariantRule rule) {
    return ruleOf(rule).pupilExpectsToPass;
}

std::string variantAdvice(std::string_view answer, const AnswerVariant& variant) {
    const std::string said =
        "\"" + variant.typed + "\" is judged " + verdictText(variant.verdict) + ": ";
    switch (variant.rule) {
    case VariantRule::kWithoutAccents:
    case VariantRule::kHurried:
        if (holds(answer, kOeLigature) || holds(answer, kCapitalOeLigature))
            return said + "a French keyboard cannot type \x9C: consider writing " +
                   withLigaturesSpelledOut(answer);
        return said + "pupils often leave accents out; the player counts each as a mistake";
    case VariantRule::kHyphensAsSpaces:
    case VariantRule::kSpacesAsHyphens:
        return said + "the player counts a hyphen typed as a space, or the other way, as a "
                      "mistake";
    case VariantRule::kStraightApostrophes:
        return said + "a keyboard types the straight apostrophe ': consider writing " +
               straightApostrophes(answer);
    case VariantRule::kCurlyApostrophes:
        return said + "some keyboards type a curly apostrophe \x92";
    case VariantRule::kLowerCase:
    case VariantRule::kUpperCase:
        return said + "the player tells small and capital accented letters apart";
    default:
        return said + "a pupil may well type it so";
    }
}
