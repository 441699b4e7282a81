// What toml++ reads instead of a source: the same TOML in ASCII alone. Debian 12's toml++ (3.3)
// reaches undefined behaviour when it asks whether a character beyond ASCII is whitespace or
// part of a bare key: on a letter outside quotes (a bare key "réponse", a table "[à]", text
// after a value), right after a backslash in a multi-line text, or at the start of a line that
// a backslash continues. So toml++ never sees such a character: in texts it becomes its \u
// escape (a literal text becomes the basic text of the same value), in comments it is left
// out, and outside quotes it is the author's slip that it is: keys are ASCII, texts go in
// quotes. Nor does toml++ see a key or table header nested more than 256 tables deep, whose
// tables it would make and free by recursion until the stack runs out.
#pragma once

#include <string>
#include <string_view>

struct AsciiToml {
    std::string text;    // the TOML to parse; only meaningful without a problem
    int line = 0;        // 1-based, where the problem is
    std::string problem; // a message for the author; empty when the text was made
};

// Lines stay where they were, so toml++'s line numbers are the source's. A leading byte order
// mark is dropped.
AsciiToml asciiToml(std::string_view toml);
