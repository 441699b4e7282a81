// Conversion between the UTF-8 that authors edit and the Windows-1252 bytes that the player
// stores and shows.
#pragma once

#include <string>
#include <string_view>

enum class Cp1252Problem {
    kNone,
    kInvalidUtf8,  // a malformed, overlong, surrogate or out-of-range sequence
    kNoCp1252Byte, // a well-formed character that Windows-1252 cannot hold
};

struct Cp1252Conversion {
    std::string text; // the Windows-1252 bytes; only meaningful without a problem
    Cp1252Problem problem = Cp1252Problem::kNone;
    char32_t character = 0; // the character without a byte, for kNoCp1252Byte
    size_t offset = 0;      // byte offset in the UTF-8 input where the problem starts

    bool ok() const { return problem == Cp1252Problem::kNone; }
    // One English sentence naming the problem and where it is, for a diagnostic.
    std::string describe() const;
};

// The five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) are taken
// from and given back as the C1 control characters of the same value, so a text read from an
// executable survives the trip through UTF-8 unchanged.
Cp1252Conversion utf8ToCp1252(std::string_view utf8);
std::string cp1252ToUtf8(std::string_view cp1252);

// Decodes the character at `position`, advancing past it; false for an ill-formed sequence
// (malformed, overlong, a surrogate or past Unicode), leaving `position` where it was.
bool decodeUtf8(std::string_view text, size_t& position, char32_t& character);

// "U+20AC" style name of a character.
std::string codePointName(char32_t character);
