// Any bytes given to the JPEG decoder: either a refusal that says why, or RGB pixels of the size
// that the chosen scale gives the announced picture, the smallest scale whose longer side is
// still at least the asked length.
#include "maker/jpeg_decoder.h"
#include "fuzz/property.h"

#include <algorithm>
#include <array>

namespace {

// Small enough that most pictures are scaled; few enough pixels that each input is quick under
// the sanitizers.
constexpr int kMinLongerSide = 16;
constexpr int64_t kMaxPixels = 1'000'000;

int scaledSide(int side, int denominator) {
    return (side + denominator - 1) / denominator;
}

int scaledLongerSide(const DecodedJpeg& picture, int denominator) {
    return std::max(scaledSide(picture.fullWidth, denominator),
                    scaledSide(picture.fullHeight, denominator));
}

} // namespace

bool propertyHolds(const uint8_t* data, size_t size) {
    std::string reason;
    const std::optional<DecodedJpeg> picture =
        decodeJpegScaled({data, size}, kMinLongerSide, kMaxPixels, reason);
    if (!picture)
        return !reason.empty();
    const int denominator = picture->scaleDenominator;
    const bool smallestScale =
        denominator == 8 || scaledLongerSide(*picture, 2 * denominator) < kMinLongerSide;
    const bool largeEnough =
        denominator == 1 || scaledLongerSide(*picture, denominator) >= kMinLongerSide;
    return std::ranges::count(std::array{1, 2, 4, 8}, denominator) == 1 && smallestScale &&
           largeEnough && int64_t{picture->fullWidth} * picture->fullHeight <= kMaxPixels &&
           picture->width == scaledSide(picture->fullWidth, denominator) &&
           picture->height == scaledSide(picture->fullHeight, denominator) &&
           picture->rgb.size() == 3 * size_t(picture->width) * picture->height;
}
