#include "maker/file_name_answer.h"

#include "maker/printable.h"

#include <algorithm>
#include <array>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A letter of any script: ASCII letters and the lead bytes of UTF-8 sequences.
bool isLetter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (lowerAscii(c) >= 'a' && lowerAscii(c) <= 'z') || byte >= 0xC0;
}

bool isSeparator(char c) {
    return c == ' ' || c == '_' || c == '-' || c == '.';
}

bool startsWithWord(std::string_view text, std::string_view lowerPrefix) {
    return text.size() >= lowerPrefix.size() &&
           std::equal(lowerPrefix.begin(), lowerPrefix.end(), text.begin(),
                      [](char p, char t) { return p == lowerAscii(t); });
}

bool endsWithWord(std::string_view text, std::string_view lowerSuffix) {
    return text.size() >= lowerSuffix.size() &&
           startsWithWord(text.substr(text.size() - lowerSuffix.size()), lowerSuffix);
}

// The digits from `at`, without their leading zeros; `at` moves past them.
std::string_view numberAt(std::string_view text, size_t& at) {
    const size_t start = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    std::string_view digits = text.substr(start, at - start);
    const size_t firstSignificant = digits.find_first_not_of('0');
    return firstSignificant == std::string_view::npos ? std::string_view()
                                                      : digits.substr(firstSignificant);
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSeparator(text.front()) && text.front() != '.')
        text.remove_prefix(1);
    while (!text.empty() && isSeparator(text.back()) && text.back() != '.')
        text.remove_suffix(1);
    return text;
}

// What the file managers add to a copy: "Copie de ", " - Copie", " (2)", " copy".
bool dropCopyMark(std::string_view& name) {
    for (std::string_view prefix : {"copie de ", "copy of "}) {
        if (startsWithWord(name, prefix)) {
            name.remove_prefix(prefix.size());
            return true;
        }
    }
    for (std::string_view suffix : {" - copie", " - copy", " copie", " copy"}) {
        if (endsWithWord(name, suffix)) {
            name.remove_suffix(suffix.size());
            return true;
        }
    }
    if (name.size() >= 3 && name.back() == ')') {
        size_t open = name.size() - 2;
        while (open > 0 && isDigit(name[open]))
            --open;
        if (name[open] == '(' && open < name.size() - 2 && open > 0) {
            name = trimmed(name.substr(0, open));
            return true;
        }
    }
    return false;
}

// "01 - ", "3 ", "10_", "2. " before a letter: the author's way of keeping files in order.
std::string_view withoutOrderingNumber(std::string_view name) {
    size_t at = 0;
    while (at < name.size() && isDigit(name[at]))
        ++at;
    const size_t digitsEnd = at;
    while (at < name.size() && (isSeparator(name[at]) || name[at] == ')'))
        ++at;
    if (digitsEnd == 0 || at == digitsEnd || at == name.size() || !isLetter(name[at]))
        return name;
    return name.substr(at);
}

// Names that cameras, phones, messaging programs and screenshot tools make up: no answer.
bool isMadeUpName(std::string_view name) {
    static constexpr std::array<std::string_view, 7> kPhrases = {
        "whatsapp image", "whatsapp video",        "screenshot", "screen shot",
        "capture d'",     "capture d\xE2\x80\x99", "capture_d",
    };
    static constexpr std::array<std::string_view, 14> kCameraPrefixes = {
        "img",  "dsc",  "dscn", "dscf", "pxl",  "mvimg", "vid",
        "pano", "gopr", "dji",  "sam",  "pict", "photo", "p",
    };
    const auto digits = std::count_if(name.begin(), name.end(), isDigit);
    if (digits == 0)
        return false;
    for (std::string_view phrase : kPhrases) {
        if (startsWithWord(name, phrase))
            return true;
    }
    const auto letters = std::count_if(name.begin(), name.end(), isLetter);
    const bool separated = std::any_of(name.begin(), name.end(), isSeparator);
    if (letters == 0)
        return separated; // a date or a time; a plain number is the answer
    size_t prefix = 0;
    while (prefix < name.size() && isLetter(name[prefix]))
        ++prefix;
    const std::string lower = [&] {
        std::string text(name.substr(0, prefix));
        std::transform(text.begin(), text.end(), text.begin(), lowerAscii);
        return text;
    }();
    return std::find(kCameraPrefixes.begin(), kCameraPrefixes.end(), lower) !=
               kCameraPrefixes.end() &&
           digits >= letters;
}

// '_' is a space; '-' too when the author wrote no space, so "tour_eiffel-de-nuit" reads as
// words while "Notre-Dame de Paris" keeps its hyphen.
std::string spaced(std::string_view name, bool keepHyphens) {
    std::string answer;
    for (char c : name) {
        const bool space = c == ' ' || c == '_' || (c == '-' && !keepHyphens);
        if (!space)
            answer.push_back(c);
        else if (!answer.empty() && answer.back() != ' ')
            answer.push_back(' ');
    }
    if (!answer.empty() && answer.back() == ' ')
        answer.pop_back();
    return answer;
}

} // namespace

bool naturalLess(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::string_view x = numberAt(a, i), y = numberAt(b, j);
            if (x.size() != y.size())
                return x.size() < y.size();
            if (x != y)
                return x < y;
        } else if (lowerAscii(a[i]) != lowerAscii(b[j])) {
            return static_cast<unsigned char>(lowerAscii(a[i])) <
                   static_cast<unsigned char>(lowerAscii(b[j]));
        } else {
            ++i, ++j;
        }
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
    return a < b; // names equal but for case or leading zeros still get one order
}

std::string spacedName(std::string_view utf8Name) {
    return spaced(utf8Name, false);
}

std::string answerFromFileName(std::string_view utf8Name) {
    const std::string_view stem = utf8Name.substr(0, extensionStart(utf8Name));
    std::string_view name = trimmed(stem);
    while (dropCopyMark(name))
        name = trimmed(name);
    if (isMadeUpName(name))
        return {};
    name = withoutOrderingNumber(name);
    const std::string answer = spaced(name, stem.find(' ') != std::string_view::npos);
    // No keyboard types a control character: such a name gives no answer either.
    return printable(answer) == answer ? answer : std::string();
}

size_t extensionStart(std::string_view name) {
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name.size() : dot;
}

std::string lowerExtension(std::string_view name) {
    std::string extension(name.substr(extensionStart(name)));
    std::transform(extension.begin(), extension.end(), extension.begin(), lowerAscii);
    return extension;
}
