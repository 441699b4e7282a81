// A look at a source before toml++ reads it. Debian 12's toml++ (3.3) reaches undefined
// behaviour on a letter beyond ASCII outside quotes (a bare key "réponse", a table "[à]", text
// after a value), so such a letter is found here first and reported as the author's slip that
// it is: keys are ASCII, texts go in quotes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct StrayCharacter {
    int line;              // 1-based
    std::string character; // its UTF-8 bytes, or the single byte when it is not UTF-8
};

// The first byte beyond ASCII that lies outside every string and comment of the TOML text.
std::optional<StrayCharacter> findNonAsciiOutsideQuotes(std::string_view toml);
