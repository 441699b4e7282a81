// Any bytes given to the maker as a picture: either a refusal with no bytes, or a picture that
// stb reads back no larger than the board's box: the very file when it is kept, a JPEG
// otherwise, and exactly as long as the box on its longer side when it was scaled.
#include "maker/picture_preparation.h"
#include "fuzz/property.h"

#include <stb/stb_image.h>

#include <algorithm>

bool propertyHolds(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    // Every decoded pixel costs time under the sanitizers; the maker's own limit is tested in
    // its tests.
    if (auto announced = pictureDimensions(file);
        announced && int64_t{announced->width} * announced->height > 1'000'000)
        return true;
    const PreparedPicture picture = preparePicture(file);
    const std::vector<uint8_t>& stored = picture.bytes;
    if (!picture.ok())
        return stored.empty();
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels =
        stbi_load_from_memory(stored.data(), int(stored.size()), &width, &height, &channels, 3);
    stbi_image_free(pixels);
    const PictureChange change = picture.origin.change;
    return pixels && std::max(width, height) <= kBoardPictureBox &&
           (change == PictureChange::kKept ? std::ranges::equal(stored, file)
                                           : detectMediaFormat(stored) == MediaFormat::kJpeg) &&
           (change != PictureChange::kScaled || std::max(width, height) == kBoardPictureBox);
}
