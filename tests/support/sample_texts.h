// Texts shaped like decoded quizzes, for round trips and benchmarks.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Short '|'-separated fields of repeated words with accented letters, like resource 104.
inline std::vector<uint8_t> quizLikeText(size_t length, uint32_t seed) {
    static const std::string words[] = {"TOUR EIFFEL|", "Qui a peint ce tableau ?|", "ch\xE2teau|",
                                        "PARIS|", "\xE9glise|"};
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < length)
        text += words[random() % std::size(words)];
    return {text.begin(), text.begin() + length};
}
