// Reading the saved answers back, one line per answer field. A line ends at a carriage
// return; the bytes up to the next line feed after it are skipped. A lone line feed is part
// of the answer, a zero byte adds nothing, and once the text is used up every line is empty.
#pragma once

#include "content/quiz_record.h"

#include <cstddef>
#include <cstdint>
#include <span>

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
