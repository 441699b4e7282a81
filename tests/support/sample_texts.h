// Texts shaped like decoded quizzes, for round trips and benchmarks.
#pragma once

#include <cstdint>
#include <cstring>
#include <iterator>
#include <random>
#include <vector>

// Short '|'-separated fields of repeated words with accented letters, like resource 104.
inline std::vector<uint8_t> quizLikeText(size_t length, uint32_t seed) {
    static const char* words[] = {
        "TOUR EIFFEL", "ARC DE TRIOMPHE", "NOTRE DAME",        "Qui a peint ce tableau ?",
        "Monument",    "ch\xE2teau",      "Mont Saint-Michel", "PARIS",
        "Versailles",  "\xE9glise"};
    std::mt19937 random(seed);
    std::vector<uint8_t> text;
    while (text.size() < length) {
        const char* word = words[random() % std::size(words)];
        text.insert(text.end(), word, word + strlen(word));
        text.push_back('|');
    }
    text.resize(length);
    return text;
}
