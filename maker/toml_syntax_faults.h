// The faults an author makes most often in a quiz source, said in the author's words and on
// the line where they were made. The TOML parser names them in its own terms, often on the next
// line; this reading is asked only when the parser has refused the text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct SyntaxFault {
    int line = 0; // from 1
    std::string message;
    bool operator==(const SyntaxFault&) const = default;
};

// The first fault of the kinds an author makes (a text whose closing quote is missing, a key
// without '=', a text without quotes, stray characters after a value) on a line up to
// `lastLine`; none when the text holds none of them there.
std::optional<SyntaxFault> findAuthorSyntaxFault(std::string_view toml, int lastLine);
