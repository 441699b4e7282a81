// Builds decoded quiz texts (resource 104) and code lists (resource 105) for tests, and the
// streams the resources hold.
#pragma once

#include "content/lzw_codec.h"

#include <cstdint>
#include <string>
#include <vector>

struct QuizTextBuilder {
    // The four leading bytes: unused, media kind + 1, question count, answer fields.
    QuizTextBuilder(uint8_t mediaByte, uint8_t questionCount, uint8_t answerFieldCount)
        : bytes_{0, mediaByte, questionCount, answerFieldCount} {}

    QuizTextBuilder& field(const std::string& text) {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return byte('|');
    }
    QuizTextBuilder& byte(uint8_t value) { return bytes_.push_back(value), *this; }
    QuizTextBuilder& colour(uint8_t r, uint8_t g, uint8_t b) { return byte(r).byte(g).byte(b); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> bytes_;
};

// One CR LF line per code.
inline std::vector<uint8_t> codeLines(const std::vector<std::string>& codes) {
    std::string text;
    for (const std::string& code : codes)
        text += code + "\r\n";
    return {text.begin(), text.end()};
}

// `text` as a resource holds it: compressed, or empty when the codec refuses it.
inline std::vector<uint8_t> encoded(const std::vector<uint8_t>& text) {
    std::vector<uint8_t> stream;
    lzwEncode(text, stream);
    return stream;
}
