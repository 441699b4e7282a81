// Any file as a progress file: every line read must stay inside its answer buffer.
#include "board/progress_lines.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ProgressLineReader reader({data, size});
    // More fields than lines: reading on past the end must stay safe.
    for (int field = 0; field < 200; ++field) {
        char text[kQuizTextSize];
        memset(text, 'Z', sizeof text);
        reader.nextLine(text);
        const char* end = static_cast<const char*>(memchr(text, '\0', sizeof text));
        if (!end)
            abort();
        if (memchr(text, '\r', size_t(end - text)))
            abort();
    }
    return 0;
}
