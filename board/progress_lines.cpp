#include "board/progress_lines.h"

namespace {

constexpr uint8_t kCarriageReturn = 0x0D;
constexpr uint8_t kLineFeed = 0x0A;

} // namespace

void ProgressLineReader::nextLine(char (&text)[kQuizTextSize]) {
    size_t length = 0;
    while (position_ < bytes_.size() && bytes_[position_] != kCarriageReturn) {
        uint8_t byte = bytes_[position_++];
        if (byte != 0 && length < kQuizTextMaxLength)
            text[length++] = static_cast<char>(byte);
    }
    text[length] = '\0';
    while (position_ < bytes_.size() && bytes_[position_] != kLineFeed)
        ++position_;
    if (position_ < bytes_.size())
        ++position_;
}
