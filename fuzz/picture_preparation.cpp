// Any bytes given to the maker as a picture: either a refusal with its reason, or a picture
// that stb reads back no larger than the board's box: the very file when it is kept, a JPEG
// otherwise, and exactly as long as the box on its longer side when it was scaled.
#include "maker/picture_preparation.h"

#include <stb/stb_image.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

void require(bool condition) {
    if (!condition)
        abort();
}

// Pictures announcing more than this only slow the search down: every decoded pixel costs
// time under the sanitizers. The maker's own limit is tested in its tests.
constexpr int64_t kFuzzedPixels = 1'000'000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    if (auto announced = pictureDimensions(file);
        announced && int64_t{announced->width} * announced->height > kFuzzedPixels)
        return -1;
    const PreparedPicture picture = preparePicture(file);
    if (!picture.ok()) {
        require(picture.bytes.empty());
        return 0;
    }
    const std::vector<uint8_t>& stored = picture.bytes;
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(stored.data(), static_cast<int>(stored.size()), &width, &height,
                              &channels, 3),
        stbi_image_free);
    require(pixels != nullptr);
    require(std::max(width, height) <= kBoardPictureBox);
    switch (picture.origin.change) {
    case PictureChange::kKept:
        require(std::equal(stored.begin(), stored.end(), file.begin(), file.end()));
        break;
    case PictureChange::kScaled:
        require(std::max(width, height) == kBoardPictureBox);
        [[fallthrough]];
    case PictureChange::kConverted:
        require(detectMediaFormat(stored) == MediaFormat::kJpeg);
        break;
    }
    return 0;
}
