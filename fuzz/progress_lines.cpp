// Any file as a progress file: every line read stays inside its answer buffer and holds no CR,
// also when more fields than lines are read.
#include "board/progress_lines.h"
#include "fuzz/property.h"

#include <cstring>

bool propertyHolds(const uint8_t* data, size_t size) {
    ProgressLineReader reader({data, size});
    for (int field = 0; field < 200; ++field) {
        char text[kQuizTextSize];
        memset(text, 'Z', sizeof text);
        reader.nextLine(text);
        const char* end = static_cast<const char*>(memchr(text, '\0', sizeof text));
        if (!end || memchr(text, '\r', size_t(end - text)))
            return false;
    }
    return true;
}
