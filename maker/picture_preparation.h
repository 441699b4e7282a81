// Pictures made ready for the board: scaled to the size at which the board shows them and
// stored as baseline JPEG, so that a quiz of phone photos stays small and its board appears at
// once. stb decodes, resamples and writes them, the same code in every build of the maker.
#pragma once

#include "board/board_layout.h"
#include "maker/media_format.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The board fits every picture (and a reward picture, in its place) into a box of this size:
// a picture whose longer side is this long is drawn at 1:1, without a second resampling.
constexpr int kBoardPictureBox = kPictureBox;

// A picture is refused by the size its header announces, before it is decoded: a 4000 x 3000
// phone photo has 12 megapixels, while a 100 megapixel picture already takes 400 MB decoded.
constexpr int64_t kMaxPicturePixels = 100'000'000;

// A picture of more megapixels takes hundreds of megabytes while it is decoded (a 16-bit PNG
// of 100 megapixels some 1.6 GB): such pictures are prepared one at a time.
constexpr int64_t kLargePicturePixels = 25'000'000;

constexpr int kPictureJpegQuality = 90;

struct PictureDimensions {
    int width = 0;
    int height = 0;
    bool operator==(const PictureDimensions&) const = default;
};

enum class PictureChange {
    kKept,      // stored as the file is
    kScaled,    // larger than the box: scaled down and stored as JPEG
    kConverted, // fits the box, stored as JPEG at its own size
};

// What the maker did to a picture, for `show`.
struct PictureOrigin {
    PictureChange change = PictureChange::kKept;
    MediaFormat format = MediaFormat::kUnknown; // of the file, by its first bytes
    PictureDimensions size;                     // of the file; 0 x 0 when unknown
    int exifOrientation = 1;                    // of a JPEG file, 1 to 8
    int turnDegrees = 0;                        // the author's own turn, clockwise
};

// What was done to each picture of a quiz, by resource identifier.
using PictureOrigins = std::map<int, PictureOrigin>;

struct PreparedPicture {
    std::vector<uint8_t> bytes; // what the quiz stores; empty when refused
    std::string refusal;        // why it cannot be stored, for the author; empty when prepared
    PictureOrigin origin;

    bool ok() const { return refusal.empty(); }
};

// A picture file of any format stb reads, made ready for the board: turned upright as its
// EXIF orientation says, then `turnDegrees` (0, 90, 180 or 270) clockwise more. A picture that
// fits the box, needs no turn and that the player reads as it is (a JPEG, a GIF, or a BMP
// stored bottom-up) is kept when its JPEG would not be smaller; a transparent picture is laid on
// white.
PreparedPicture preparePicture(std::span<const uint8_t> file, int turnDegrees = 0);

// Whether a picture file must be turned to show upright with `turnDegrees` more: one that does
// cannot be stored as it is, since the player's decoder knows nothing of EXIF.
bool pictureNeedsTurning(std::span<const uint8_t> file, int turnDegrees);

// The size of a picture as its header announces it, when stb reads the format.
std::optional<PictureDimensions> pictureDimensions(std::span<const uint8_t> bytes);

// Whether the header announces more than kLargePicturePixels.
bool isLargePicture(std::span<const uint8_t> file);

// "scaled from PNG 4000 x 3000", "converted from PNG 200 x 100", "kept as it was", "turned
// upright and scaled from JPEG 4032 x 3024 (EXIF orientation 6)".
std::string describeOrigin(const PictureOrigin& origin);

// "JPEG 260 x 195", or the format alone when stb cannot read the size.
std::string describeStoredPicture(std::span<const uint8_t> bytes);
