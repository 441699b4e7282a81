// Reading the saved answers back, one line per answer field. A line ends at a carriage
// return; the bytes up to the next line feed after it are skipped. A lone line feed is part
// of the answer, a zero byte adds nothing, and once the text is used up every line is empty.
#pragma once

#include "content/quiz_record.h"

#include <cstddef>
#include <cstdint>
#include <span>

// Whether `bytes` can be a file that the save wrote for a board of `lineCount` answer fields:
// at most that many lines (each ended by CR LF, the last one perhaps not), none longer than an
// answer field holds, and no zero byte. Any other file is someone else's and must not be
// replaced.
bool couldBeProgressText(std::span<const uint8_t> bytes, int lineCount);

// The largest such file, in bytes: a file above it need not be read to be told apart.
size_t progressTextSizeLimit(int lineCount);

class ProgressLineReader {
  public:
    ProgressLineReader() = default;
    explicit ProgressLineReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    // The next answer, cut to kQuizTextMaxLength bytes (only a hand-edited file is longer).
    void nextLine(char (&text)[kQuizTextSize]);

  private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};
