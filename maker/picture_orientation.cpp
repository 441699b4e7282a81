#include "maker/picture_orientation.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr uint16_t kTypeLong = 4;

// The bytes of a TIFF block, read in its own byte order; every read is checked against its end.
class TiffBytes {
  public:
    TiffBytes(std::span<const uint8_t> bytes, bool bigEndian)
        : bytes_(bytes), bigEndian_(bigEndian) {}

    std::optional<uint32_t> read(size_t at, size_t size) const {
        if (at > bytes_.size() || size > bytes_.size() - at)
            return std::nullopt;
        uint32_t value = 0;
        for (size_t i = 0; i < size; ++i) {
            const uint8_t byte = bytes_[at + (bigEndian_ ? i : size - 1 - i)];
            value = value << 8 | byte;
        }
        return value;
    }

  private:
    std::span<const uint8_t> bytes_;
    bool bigEndian_;
};

// The Orientation entry of the first IFD; 1 when there is none that reads.
int tiffOrientation(std::span<const uint8_t> tiff) {
    if (tiff.size() < 8)
        return 1;
    const std::string_view order(reinterpret_cast<const char*>(tiff.data()), 2);
    if (order != "II" && order != "MM")
        return 1;
    const TiffBytes bytes(tiff, order == "MM");
    const std::optional<uint32_t> magic = bytes.read(2, 2);
    const std::optional<uint32_t> directory = bytes.read(4, 4);
    const std::optional<uint32_t> entries = directory ? bytes.read(*directory, 2) : std::nullopt;
    if (magic != 42u || !entries)
        return 1;
    for (uint32_t i = 0; i < *entries; ++i) {
        const size_t entry = size_t{*directory} + 2 + size_t{i} * 12;
        const std::optional<uint32_t> tag = bytes.read(entry, 2);
        if (!tag)
            return 1;
        if (*tag != kOrientationTag)
            continue;
        const std::optional<uint32_t> type = bytes.read(entry + 2, 2);
        std::optional<uint32_t> value;
        if (type == kTypeShort)
            value = bytes.read(entry + 8, 2);
        else if (type == kTypeLong)
            value = bytes.read(entry + 8, 4);
        return value && *value >= 1 && *value <= 8 ? int(*value) : 1;
    }
    return 1;
}

bool isExifBlock(std::span<const uint8_t> segment) {
    static constexpr uint8_t kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
    return segment.size() >= sizeof kExifHeader &&
           std::equal(std::begin(kExifHeader), std::end(kExifHeader), segment.begin());
}

} // namespace

int jpegExifOrientation(std::span<const uint8_t> file) {
    if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8)
        return 1;
    // The EXIF block is an APP1 segment among those before the first scan.
    size_t at = 2;
    while (at + 4 <= file.size() && file[at] == 0xFF) {
        const uint8_t marker = file[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)
            break;
        const size_t length = size_t{file[at + 2]} << 8 | file[at + 3];
        if (length < 2 || length > file.size() - at - 2)
            break;
        const std::span<const uint8_t> segment = file.subspan(at + 4, length - 2);
        if (marker == 0xE1 && isExifBlock(segment))
            return tiffOrientation(segment.subspan(6));
        at += 2 + length;
    }
    return 1;
}

PictureTurn pictureTurn(int exifOrientation, int clockwiseDegrees) {
    // Orientations 1 to 8 as a mirror first, then quarter turns clockwise.
    static constexpr PictureTurn kByOrientation[] = {
        {false, 0}, {true, 0}, {false, 2}, {true, 2}, {true, 3}, {false, 1}, {true, 1}, {false, 3},
    };
    PictureTurn turn = exifOrientation >= 1 && exifOrientation <= 8
                           ? kByOrientation[exifOrientation - 1]
                           : PictureTurn{};
    turn.quarterTurns = (turn.quarterTurns + clockwiseDegrees / 90 % 4 + 4) % 4;
    return turn;
}

std::vector<uint8_t> turnedPixels(std::span<const uint8_t> pixels, int width, int height,
                                  int channels, PictureTurn turn) {
    const int outWidth = turn.swapsSides() ? height : width;
    const int outHeight = turn.swapsSides() ? width : height;
    std::vector<uint8_t> out(size_t(outWidth) * size_t(outHeight) * size_t(channels));
    for (int y = 0; y < outHeight; ++y) {
        for (int x = 0; x < outWidth; ++x) {
            // Where the pixel comes from in the mirrored picture, undoing the turn.
            int sx = x, sy = y;
            switch (turn.quarterTurns) {
            case 1:
                sx = y, sy = height - 1 - x;
                break;
            case 2:
                sx = width - 1 - x, sy = height - 1 - y;
                break;
            case 3:
                sx = width - 1 - y, sy = x;
                break;
            default:
                break;
            }
            if (turn.mirrored)
                sx = width - 1 - sx;
            const size_t from = (size_t(sy) * size_t(width) + size_t(sx)) * size_t(channels);
            const size_t to = (size_t(y) * size_t(outWidth) + size_t(x)) * size_t(channels);
            std::copy_n(pixels.begin() + ptrdiff_t(from), channels, out.begin() + ptrdiff_t(to));
        }
    }
    return out;
}
