// Everything the maker prints passes through here: texts, keys and paths come from sources and
// executables that someone else may have made, and a terminal obeys the control characters in
// them (an ESC sequence can clear the screen or retitle the window).
#pragma once

#include <string>
#include <string_view>

// `utf8` with every control character (U+0000..U+001F, U+007F, U+0080..U+009F, the line feed
// too, so that a message stays one line) written as "\u001b", and every byte that is not
// UTF-8 as "\xff". Everything else is kept as it is.
std::string printable(std::string_view utf8);
