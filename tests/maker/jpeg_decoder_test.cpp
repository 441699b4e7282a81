#include "maker/jpeg_decoder.h"
#include "tests/maker/maker_test_support.h"

#include <stb/stb_image_write.h>

#include <algorithm>
#include <array>

namespace {

constexpr int64_t kMaxPixels = 100'000'000;

struct Rgb {
    int red, green, blue;
};
// Top left, top right, bottom left, bottom right.
using Quadrants = std::array<Rgb, 4>;
constexpr Quadrants kColours = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}};
// As tests/maker/data/grey.jpg and cmyk.jpg were drawn (with ImageMagick), before cmyk.jpg was
// stored as CMYK.
constexpr Quadrants kGreys = {{{32, 32, 32}, {96, 96, 96}, {160, 160, 160}, {224, 224, 224}}};

// A JPEG written by stb, of the four colours of kColours in its four quadrants.
std::vector<uint8_t> quadrantJpeg(int width, int height) {
    std::vector<uint8_t> pixels(3 * size_t(width) * height), file;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb colour = kColours[2 * (y >= height / 2) + (x >= width / 2)];
            std::ranges::copy(std::array{colour.red, colour.green, colour.blue},
                              &pixels[3 * (size_t(y) * width + x)]);
        }
    auto append = [](void* out, void* data, int size) {
        auto* into = static_cast<std::vector<uint8_t>*>(out);
        into->insert(into->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    };
    stbi_write_jpg_to_func(append, &file, width, height, 3, pixels.data(), 90);
    return file;
}

void expectQuadrants(const DecodedJpeg& picture, const Quadrants& colours) {
    ASSERT_EQ(picture.rgb.size(), 3 * size_t(picture.width) * picture.height);
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        const int x = picture.width * (1 + 2 * (quadrant % 2)) / 4;
        const int y = picture.height * (1 + 2 * (quadrant / 2)) / 4;
        const uint8_t* pixel = &picture.rgb[3 * (size_t(y) * picture.width + x)];
        SCOPED_TRACE("quadrant " + std::to_string(quadrant));
        EXPECT_NEAR(pixel[0], colours[quadrant].red, 8);
        EXPECT_NEAR(pixel[1], colours[quadrant].green, 8);
        EXPECT_NEAR(pixel[2], colours[quadrant].blue, 8);
    }
}

TEST(JpegDecoder, DecodesAtTheSmallestScaleThatKeepsTheLongerSide) {
    const struct {
        int fullWidth, fullHeight, minLongerSide, denominator, width, height; // as decoded
        std::vector<uint8_t> file = quadrantJpeg(fullWidth, fullHeight);
        Quadrants colours = kColours;
    } rows[] = {
        {4160, 3120, 520, 8, 520, 390},
        {4000, 3000, 520, 4, 1000, 750}, // at 1/8 it would be 500 pixels wide
        {1040, 100, 520, 2, 520, 50},
        {1000, 700, 520, 1, 1000, 700},
        {300, 200, 520, 1, 300, 200},
        // The longer side is the height; a fraction of a pixel counts as one.
        {390, 520, 65, 8, 49, 65},
        {521, 391, 66, 8, 66, 49},
        {64, 48, 520, 1, 64, 48, readBytes(kData / "grey.jpg"), kGreys},
        {64, 48, 16, 4, 16, 12, readBytes(kData / "cmyk.jpg")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.fullWidth) + " x " + std::to_string(row.fullHeight));
        std::string reason;
        const std::optional<DecodedJpeg> picture =
            decodeJpegScaled(row.file, row.minLongerSide, kMaxPixels, reason);
        ASSERT_TRUE(picture) << reason;
        EXPECT_EQ(picture->scaleDenominator, row.denominator);
        EXPECT_EQ(std::pair(picture->width, picture->height), std::pair(row.width, row.height));
        EXPECT_EQ(std::pair(picture->fullWidth, picture->fullHeight),
                  std::pair(row.fullWidth, row.fullHeight));
        expectQuadrants(*picture, row.colours);
    }
}

// The same picture with its frame header announcing another size.
std::vector<uint8_t> announcing(std::vector<uint8_t> file, int width, int height) {
    const uint8_t frame[] = {0xFF, 0xC0};
    const auto at = std::search(file.begin(), file.end(), frame, frame + 2) - file.begin();
    file[at + 5] = uint8_t(height >> 8), file[at + 6] = uint8_t(height);
    file[at + 7] = uint8_t(width >> 8), file[at + 8] = uint8_t(width);
    return file;
}

TEST(JpegDecoder, RefusesDamagedFilesSayingWhy) {
    const std::vector<uint8_t> whole = quadrantJpeg(300, 200);
    std::vector<uint8_t> marked = whole;
    // A restart marker where the picture's data has none.
    std::ranges::copy(std::array{0xFF, 0xD3}, marked.begin() + marked.size() / 2);
    const std::pair<std::vector<uint8_t>, const char*> rows[] = {
        {{whole.begin(), whole.begin() + whole.size() / 2}, "Premature end of JPEG file"},
        {{whole.begin(), whole.begin() + 100}, "Premature end of JPEG file"},
        {{whole.begin(), whole.end() - 2}, "Premature end of JPEG file"},
        {marked, "Corrupt JPEG data"},
        {readBytes(kData / "not_a_picture.jpg"), "Not a JPEG file"},
        {{}, "Empty input file"},
        {announcing(whole, 11000, 9092), "11000 x 9092 pixels, more than 100 megapixels"},
        {announcing(whole, 0, 200), "Empty JPEG image"},
        // Valid, but every step of every coefficient's progression in a scan of its own: 263
        // (written with libjpeg-turbo's scan_info).
        {readBytes(kData / "many_scans.jpg"), "more than 256 scans"},
    };
    for (const auto& [file, reason] : rows) {
        SCOPED_TRACE(reason);
        std::string found;
        EXPECT_FALSE(decodeJpegScaled(file, 520, kMaxPixels, found));
        EXPECT_THAT(found, HasSubstr(reason));
    }
}

} // namespace
