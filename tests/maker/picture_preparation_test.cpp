#include "maker/picture_preparation.h"
#include "tests/maker/maker_test_support.h"

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <algorithm>

namespace {

void appendTo(void* out, void* data, int size) {
    auto* into = static_cast<std::vector<uint8_t>*>(out);
    into->insert(into->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

// A picture made by stb's writers ("png", "jpg" or "bmp"), its colours changing across it as a
// photo's do, of blue 0x80 and of alpha `alpha`.
std::vector<uint8_t> madePicture(const std::string& format, int width, int height,
                                 int alpha = 255) {
    std::vector<uint8_t> pixels, file;
    for (int at = 0; at < width * height; ++at)
        pixels.insert(pixels.end(), {uint8_t(at % width * 255 / width),
                                     uint8_t(at / width * 255 / height), 0x80, uint8_t(alpha)});
    if (format == "png")
        stbi_write_png_to_func(appendTo, &file, width, height, 4, pixels.data(), 0);
    else if (format == "jpg")
        stbi_write_jpg_to_func(appendTo, &file, width, height, 4, pixels.data(), 90);
    else
        stbi_write_bmp_to_func(appendTo, &file, width, height, 4, pixels.data());
    return file;
}

// `file` with `bytes` written over it from `at`.
std::vector<uint8_t> patched(std::vector<uint8_t> file, size_t at, std::vector<uint8_t> bytes) {
    std::ranges::copy(bytes, file.begin() + static_cast<ptrdiff_t>(at));
    return file;
}

// A BMP stored top-down, as Windows writes them: its height is negative.
std::vector<uint8_t> topDownBmp(int width, int height) {
    return patched(madePicture("bmp", width, height), 22,
                   {uint8_t(-height), uint8_t(-height >> 8), uint8_t(-height >> 16), 0xFF});
}

// A 16 x 16 RGB PNG of one colour, which its tRNS chunk (after the header) names transparent:
// its alpha comes only from that chunk. stb does not check the chunk's CRC.
std::vector<uint8_t> pngWithKeyColour() {
    std::vector<uint8_t> pixels(16 * 16 * 3, 0x40), file;
    stbi_write_png_to_func(appendTo, &file, 16, 16, 3, pixels.data(), 0);
    const uint8_t chunk[] = {0, 0, 0, 6, 't', 'R', 'N', 'S', 0, 0x40, 0, 0x40, 0, 0x40, 0, 0, 0, 0};
    file.insert(file.begin() + 33, std::begin(chunk), std::end(chunk));
    return file;
}

TEST(PreparePicture, StoresWhatTheBoardShowsAtTheSizeItShowsIt) {
    using enum PictureChange;
    const struct {
        std::vector<uint8_t> file;
        PictureChange change;
        int width, height, blue = 0x80; // of the stored picture; its blue at the centre, if known
    } rows[] = {
        {madePicture("png", 520, 301), kScaled, 260, 151}, // 150.5 rounds up
        {madePicture("png", 300, 450), kScaled, 173, 260},
        {madePicture("png", 2000, 3), kScaled, 260, 1},       // a sliver keeps one pixel
        {madePicture("bmp", 200, 100), kConverted, 200, 100}, // its JPEG is smaller
        // A transparent picture is laid on white.
        {madePicture("png", 16, 16, 0), kConverted, 16, 16, 255},
        {madePicture("png", 16, 16, 128), kConverted, 16, 16, 191},
        {readBytes(kData / "progressive.jpg"), kConverted, 200, 20, -1},
        {readBytes(kData / "q1.jpg"), kKept, 4, 3, -1},
        // As the maker writes them: a quiz built again from its extract keeps its pictures (and
        // a GIF, as the resource folder test shows).
        {madePicture("jpg", 260, 173), kKept, 260, 173},
        {readBytes(kData / "q2.bmp"), kKept, 4, 3, -1},
        {topDownBmp(100, 50), kConverted, 100, 50},
        {pngWithKeyColour(), kConverted, 16, 16, 255},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height));
        const PreparedPicture picture = preparePicture(row.file);
        ASSERT_TRUE(picture.ok()) << picture.refusal;
        EXPECT_EQ(picture.origin.change, row.change);
        EXPECT_EQ(picture.bytes == row.file, row.change == kKept);
        int width = 0, height = 0, channels = 0;
        stbi_uc* rgb = stbi_load_from_memory(picture.bytes.data(), int(picture.bytes.size()),
                                             &width, &height, &channels, 3);
        ASSERT_NE(rgb, nullptr);
        EXPECT_EQ(std::pair(width, height), std::pair(row.width, row.height));
        if (row.blue >= 0)
            EXPECT_NEAR(rgb[3 * (height / 2 * width + width / 2) + 2], row.blue, 6);
        stbi_image_free(rgb);
    }
}

// A damaged or oversized file gives a reason, never a crash.
TEST(PreparePicture, RefusesWhatItCannotDecodeSayingWhy) {
    std::vector<uint8_t> cut = madePicture("png", 300, 300);
    cut.resize(200);
    // A JPEG Huffman table of 16 x 17 = 272 codes, more than the 256 a table has room for.
    std::vector<uint8_t> crowded = {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 19, 0x00};
    crowded.insert(crowded.end(), 16, 17);
    const std::pair<std::vector<uint8_t>, const char*> rows[] = {
        {readBytes(kData / "not_a_picture.jpg"), "not a picture"},
        {{0, 0, 0, 0x18, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c', 0, 0, 0, 0},
         "is a HEIC photo: the maker reads JPEG, PNG, GIF and BMP; save it as JPEG first"},
        // A PNG header announcing 10001 x 10000 pixels, with no pixels behind it.
        {{0x89, 'P',  'N',  'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0,
          0,    0x27, 0x11, 0,   0,    0x27, 0x10, 8,    2, 0, 0, 0,  0,   0,   0,   0},
         "is 10001 x 10000 pixels, more than the 100 megapixels"},
        {cut, "cannot be decoded"},
        {crowded, "damaged JPEG: one of its Huffman tables"},
        // A 300 x 300 picture's data behind a header announcing 1 x 1: stb would inflate it all.
        {patched(madePicture("png", 300, 300), 16, {0, 0, 0, 1, 0, 0, 0, 1}),
         "is a damaged PNG: its pixel data inflates to more than its 1 x 1 pixels take"},
        // Its scan decodes with DC table 2 and AC table 3, which no table segment defines.
        {patched(readBytes(kData / "q1.jpg"), 272, {0x23}),
         "is a damaged JPEG: a scan decodes with a Huffman table"},
    };
    for (const auto& [file, reason] : rows) {
        const PreparedPicture picture = preparePicture(file);
        EXPECT_FALSE(picture.ok()) << reason;
        EXPECT_THAT(picture.refusal, HasSubstr(reason));
        EXPECT_TRUE(picture.bytes.empty());
    }
}

// The size that `show` prints for a stored picture, as the player will show it.
TEST(DescribeStoredPicture, GivesTheFormatAndTheSizeShown) {
    const std::pair<std::vector<uint8_t>, const char*> rows[] = {
        {readBytes(kData / "q1.jpg"), "JPEG 4 x 3"},
        {topDownBmp(100, 50), "BMP 100 x 50"},
    };
    for (const auto& [file, text] : rows)
        EXPECT_EQ(describeStoredPicture(file), text);
}

} // namespace
