#include "maker/printable.h"

#include "maker/cp1252.h"

#include <cstdio>

namespace {

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

} // namespace

std::string printable(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t position = 0;
    while (position < utf8.size()) {
        const size_t start = position;
        char32_t character = 0;
        char escape[8];
        if (!decodeUtf8(utf8, position, character)) {
            snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned char>(utf8[start]));
            out += escape;
            position = start + 1;
        } else if (isControl(character)) {
            snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(character));
            out += escape;
        } else {
            out.append(utf8, start, position - start);
        }
    }
    return out;
}
