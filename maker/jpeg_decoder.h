// JPEG photos decoded by libjpeg-turbo straight at a fraction of their size: its DCT scaling
// makes a 12-megapixel photo at 1/8 several times faster than a full decode, and the picture
// then left to resample is 64 times smaller. The EXIF orientation is neither read nor applied.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct DecodedJpeg {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb; // three bytes (red, green, blue) a pixel, rows one after the other
    int scaleDenominator = 1; // the picture is 1/scaleDenominator of the file's size
    int fullWidth = 0, fullHeight = 0;
};

// Decodes a JPEG at the smallest DCT scale (1/8, 1/4, 1/2 or 1) that still leaves its longer
// side at least `minLongerSide` pixels (or at its full size when that is smaller), as 8-bit RGB
// whatever its colour space (greyscale, YCbCr, RGB, CMYK, YCCK). A file whose header announces
// more than `maxPixels` pixels is refused before anything is decoded. A file that libjpeg-turbo
// finds damaged, even where it would carry on, is refused: `reason` then says why.
std::optional<DecodedJpeg> decodeJpegScaled(std::span<const uint8_t> file, int minLongerSide,
                                            int64_t maxPixels, std::string& reason);
