#include "board/progress_lines.h"

namespace {

constexpr uint8_t kCarriageReturn = 0x0D;
constexpr uint8_t kLineFeed = 0x0A;

} // namespace

size_t progressTextSizeLimit(int lineCount) {
    return lineCount > 0 ? size_t(lineCount) * (kQuizTextMaxLength + 2) : 0;
}

bool couldBeProgressText(std::span<const uint8_t> bytes, int lineCount) {
    if (bytes.size() > progressTextSizeLimit(lineCount))
        return false;
    int lines = 0;
    size_t lineLength = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == 0)
            return false;
        if (bytes[i] == kCarriageReturn && i + 1 < bytes.size() && bytes[i + 1] == kLineFeed) {
            ++lines;
            lineLength = 0;
            ++i;
        } else if (++lineLength > size_t(kQuizTextMaxLength)) {
            return false;
        }
    }
    if (lineLength > 0)
        ++lines;
    return lines <= lineCount;
}

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
