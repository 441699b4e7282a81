// Which way up a photo is. A phone stores a portrait photo as landscape pixels and says in the
// EXIF block how to turn them; the player's decoder ignores that, so the maker turns the pixels
// itself. An author may turn a picture further by hand, the photo file never being changed.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// How to make stored pixels upright: mirrored left to right first (or not), then turned
// clockwise by a quarter turn `quarterTurns` times.
struct PictureTurn {
    bool mirrored = false;
    int quarterTurns = 0; // 0 to 3

    bool operator==(const PictureTurn&) const = default;
    bool isNone() const { return !mirrored && quarterTurns == 0; }
    bool swapsSides() const { return quarterTurns % 2 != 0; }
};

// The EXIF Orientation of a JPEG, 1 to 8; 1 (as stored) when the file has no EXIF block, when
// the block or the value is damaged, or when the file is not a JPEG. Never reads past `file`.
int jpegExifOrientation(std::span<const uint8_t> file);

// The turn that EXIF orientation 1 to 8 asks for, followed by `clockwiseDegrees` more (0, 90,
// 180 or 270) of the author's. An orientation out of range counts as 1.
PictureTurn pictureTurn(int exifOrientation, int clockwiseDegrees = 0);

// `pixels`, `width` x `height` of `channels` bytes each, row after row, turned by `turn`. The
// result is `height` x `width` when the turn swaps the sides.
std::vector<uint8_t> turnedPixels(std::span<const uint8_t> pixels, int width, int height,
                                  int channels, PictureTurn turn);
