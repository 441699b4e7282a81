#include "maker/quiz_source.h"

#include <cstdio>

namespace {

template <size_t N>
std::optional<size_t> indexOfWord(const std::array<std::string_view, N>& words,
                                  std::string_view word) {
    for (size_t i = 0; i < N; ++i) {
        if (words[i] == word)
            return i;
    }
    return std::nullopt;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<MediaKind> layoutFromWord(std::string_view word) {
    auto index = indexOfWord(kLayoutWords, word);
    return index ? std::optional(static_cast<MediaKind>(*index)) : std::nullopt;
}

std::optional<RewardKind> rewardFromWord(std::string_view word) {
    auto index = indexOfWord(kRewardWords, word);
    return index ? std::optional(static_cast<RewardKind>(*index)) : std::nullopt;
}

std::string_view layoutWord(MediaKind layout) {
    return kLayoutWords.at(static_cast<size_t>(layout));
}

std::string_view rewardWord(RewardKind reward) {
    return kRewardWords.at(static_cast<size_t>(reward));
}

std::string_view mediaKey(MediaKind layout) {
    switch (layout) {
    case kMediaPictures:
        return "picture";
    case kMediaSound:
        return "sound";
    case kMediaVideo:
        return "video";
    case kMediaTextList:
        break;
    }
    return {};
}

bool rewardHasText(RewardKind reward) {
    return reward == kRewardText || reward == kRewardMessage || reward == kRewardFinal;
}

std::optional<QuizColour> colourFromText(std::string_view text) {
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    uint8_t components[3];
    for (int i = 0; i < 3; ++i) {
        const int high = hexDigit(text[1 + 2 * i]);
        const int low = hexDigit(text[2 + 2 * i]);
        if (high < 0 || low < 0)
            return std::nullopt;
        components[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return QuizColour{components[0], components[1], components[2]};
}

std::string colourText(const QuizColour& colour) {
    char text[8];
    snprintf(text, sizeof text, "#%02X%02X%02X", colour.red, colour.green, colour.blue);
    return text;
}

std::string questionField(int index, std::string_view key) {
    std::string field = "question[" + std::to_string(index + 1) + "]";
    if (!key.empty())
        field += "." + std::string(key);
    return field;
}

std::string answerField(const QuizSource& quiz, int questionIndex, int answerIndex) {
    if (quiz.answerFieldCount == 1)
        return questionField(questionIndex, "answer");
    return questionField(questionIndex, "answers[" + std::to_string(answerIndex + 1) + "]");
}

std::string inQuotes(std::string_view utf8) {
    return "\"" + std::string(utf8) + "\"";
}

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    // A narrow string would be taken in the ANSI code page on Windows.
    std::u8string text(utf8.size(), u8'\0');
    for (size_t i = 0; i < utf8.size(); ++i)
        text[i] = static_cast<char8_t>(utf8[i]);
    return std::filesystem::path(text);
}

std::string pathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
