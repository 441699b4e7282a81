#include "maker/cp1252.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace {

// What the bytes 0x80..0x9F stand for. Every other byte is the Unicode character of the same
// value. The undefined bytes keep their C1 control character so that they round-trip.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte for a character, or -1 when Windows-1252 has none.
int cp1252Byte(char32_t character) {
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == character)
            return static_cast<int>(0x80 + i);
    }
    // The C1 range is taken by the table above: only its five undefined bytes map to C1.
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<int>(character);
    return -1;
}

void appendUtf8(std::string& out, char32_t character) {
    auto push = [&out](uint32_t byte) { out.push_back(static_cast<char>(byte)); };
    const uint32_t c = character;
    if (c < 0x80) {
        push(c);
    } else if (c < 0x800) {
        push(0xC0 | (c >> 6));
        push(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        push(0xE0 | (c >> 12));
        push(0x80 | ((c >> 6) & 0x3F));
        push(0x80 | (c & 0x3F));
    } else {
        push(0xF0 | (c >> 18));
        push(0x80 | ((c >> 12) & 0x3F));
        push(0x80 | ((c >> 6) & 0x3F));
        push(0x80 | (c & 0x3F));
    }
}

} // namespace

bool decodeUtf8(std::string_view text, size_t& position, char32_t& character) {
    const auto byteAt = [&text](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byteAt(position);
    size_t length;
    char32_t value;
    char32_t smallest;
    if (lead < 0x80) {
        character = lead;
        ++position;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        smallest = 0x10000;
    } else {
        return false;
    }
    if (text.size() - position < length)
        return false;
    for (size_t i = 1; i < length; ++i) {
        const uint8_t next = byteAt(position + i);
        if ((next & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are all refused.
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return false;
    character = value;
    position += length;
    return true;
}

std::string codePointName(char32_t character) {
    char name[16];
    snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(character));
    return name;
}

std::string Cp1252Conversion::describe() const {
    switch (problem) {
    case Cp1252Problem::kNone:
        return "converts to Windows-1252";
    case Cp1252Problem::kInvalidUtf8:
        return "holds bytes that are not valid UTF-8 at byte " + std::to_string(offset);
    case Cp1252Problem::kNoCp1252Byte: {
        std::string shown;
        appendUtf8(shown, character);
        return "holds the character \"" + shown + "\" (" + codePointName(character) +
               "), which Windows-1252 cannot store";
    }
    }
    return {};
}

Cp1252Conversion utf8ToCp1252(std::string_view utf8) {
    Cp1252Conversion result;
    result.text.reserve(utf8.size());
    size_t position = 0;
    while (position < utf8.size()) {
        const size_t start = position;
        char32_t character = 0;
        if (!decodeUtf8(utf8, position, character)) {
            result.problem = Cp1252Problem::kInvalidUtf8;
            result.offset = start;
            return result;
        }
        const int byte = cp1252Byte(character);
        if (byte < 0) {
            result.problem = Cp1252Problem::kNoCp1252Byte;
            result.character = character;
            result.offset = start;
            return result;
        }
        result.text.push_back(static_cast<char>(byte));
    }
    return result;
}

std::string cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() * 2);
    for (char c : cp1252) {
        const uint8_t byte = static_cast<uint8_t>(c);
        appendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte);
    }
    return out;
}
