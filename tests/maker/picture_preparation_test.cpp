#include "maker/picture_preparation.h"
#include "tests/maker/maker_test_support.h"

#include <stb/stb_image.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

using testing::HasSubstr;

struct Decoded {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    uint8_t at(int x, int y, int channel) const { return rgb[3 * (y * width + x) + channel]; }
};

Decoded decoded(const std::vector<uint8_t>& bytes) {
    Decoded picture;
    int channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &picture.width,
                              &picture.height, &channels, 3),
        stbi_image_free);
    EXPECT_NE(pixels, nullptr) << stbi_failure_reason();
    if (pixels)
        picture.rgb.assign(pixels.get(), pixels.get() + 3 * picture.width * picture.height);
    return picture;
}

struct Preparation {
    const char* name;
    std::vector<uint8_t> file;
    PictureChange change;
    int width, height; // of the stored picture
};

void PrintTo(const Preparation& row, std::ostream* out) {
    *out << row.name;
}

class PreparePicture : public testing::TestWithParam<Preparation> {};

TEST_P(PreparePicture, StoresWhatTheBoardShowsAtItsSize) {
    const Preparation& row = GetParam();
    const PreparedPicture picture = preparePicture(row.file);
    ASSERT_TRUE(picture.ok()) << picture.refusal;
    EXPECT_EQ(picture.origin.change, row.change);
    const Decoded stored = decoded(picture.bytes);
    EXPECT_EQ(stored.width, row.width);
    EXPECT_EQ(stored.height, row.height);
    if (row.change == PictureChange::kKept)
        EXPECT_EQ(picture.bytes, row.file);
    else
        EXPECT_EQ(detectMediaFormat(picture.bytes), MediaFormat::kJpeg);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PreparePicture,
    testing::Values(
        Preparation{"photo_wider_than_the_box", madePicture("jpg", 4000, 3000),
                    PictureChange::kScaled, 260, 195},
        Preparation{"png_taller_than_the_box", madePicture("png", 300, 450), PictureChange::kScaled,
                    173, 260},
        Preparation{"sliver_keeps_one_pixel", madePicture("png", 2000, 3), PictureChange::kScaled,
                    260, 1},
        Preparation{"png_within_the_box", madePicture("png", 200, 100), PictureChange::kConverted,
                    200, 100},
        Preparation{"bmp_larger_than_its_jpeg", madePicture("bmp", 200, 100),
                    PictureChange::kConverted, 200, 100},
        Preparation{"progressive_jpeg", readBytes(testData() / "progressive.jpg"),
                    PictureChange::kConverted, 200, 20},
        Preparation{"small_jpeg", readBytes(testData() / "q1.jpg"), PictureChange::kKept, 4, 3},
        // As the maker writes them: a quiz built again from its extract keeps its pictures.
        Preparation{"jpeg_of_quality_90", madePicture("jpg", 260, 173), PictureChange::kKept, 260,
                    173},
        Preparation{"small_bmp", readBytes(testData() / "q2.bmp"), PictureChange::kKept, 4, 3},
        Preparation{"small_gif", readBytes(testData() / "q3.gif"), PictureChange::kKept, 4, 3}),
    [](const testing::TestParamInfo<Preparation>& info) { return info.param.name; });

TEST(PreparePicture, LaysATransparentPictureOnWhite) {
    // Blue is 0x80 in every pixel: on white it shows 255 when transparent, 191 half so.
    for (const auto& [alpha, blue] :
         {std::pair{0, 255}, std::pair{128, 191}, std::pair{255, 128}}) {
        // Small enough to be converted at its own size.
        std::vector<uint8_t> file = madePicture("png", 16, 16, 4, static_cast<uint8_t>(alpha));
        const PreparedPicture picture = preparePicture(file);
        ASSERT_TRUE(picture.ok()) << picture.refusal;
        EXPECT_NEAR(decoded(picture.bytes).at(8, 8, 2), blue, 6) << "alpha " << alpha;
    }
}

// A PNG whose header announces `width` x `height`, with no pixels behind it.
std::vector<uint8_t> announcedPng(uint32_t width, uint32_t height) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    for (uint32_t value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8)
            png.push_back(static_cast<uint8_t>(value >> shift));
    }
    png.insert(png.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
    return png;
}

struct Refusal {
    const char* name;
    std::vector<uint8_t> file;
    std::string mention;
};

void PrintTo(const Refusal& row, std::ostream* out) {
    *out << row.name;
}

class PictureRefusals : public testing::TestWithParam<Refusal> {};

TEST_P(PictureRefusals, SayWhyAndStoreNothing) {
    const PreparedPicture picture = preparePicture(GetParam().file);
    EXPECT_FALSE(picture.ok());
    EXPECT_THAT(picture.refusal, HasSubstr(GetParam().mention));
    EXPECT_TRUE(picture.bytes.empty());
}

// A JPEG that starts with `head` and holds one Huffman table of 16 x 17 = 272 codes, more than
// the 256 a table has room for. The segment is `length` long, shorter than the table when stb
// is to read the table's counts past its end.
std::vector<uint8_t> crowdedHuffmanTable(std::vector<uint8_t> head, uint8_t length) {
    head.insert(head.end(), {0xFF, 0xC4, 0x00, length, 0x00});
    head.insert(head.end(), 16, 17);
    return head;
}

std::vector<uint8_t> cut(std::vector<uint8_t> bytes, size_t length) {
    bytes.resize(length);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, PictureRefusals,
    testing::Values(Refusal{"text", readBytes(testData() / "not_a_picture.jpg"), "not a picture"},
                    Refusal{"mp3", readBytes(testData() / "clip.mp3"), "not a picture"},
                    Refusal{"nothing", {}, "not a picture"},
                    Refusal{"over_100_megapixels", announcedPng(10001, 10000),
                            "is 10001 x 10000 pixels, more than the 100 megapixels"},
                    Refusal{"pixels_cut_off", cut(madePicture("png", 300, 300), 200),
                            "cannot be decoded"},
                    Refusal{"huffman_table_of_272_codes", crowdedHuffmanTable({0xFF, 0xD8}, 19),
                            "damaged JPEG"},
                    Refusal{"huffman_counts_past_the_segment", crowdedHuffmanTable({0xFF, 0xD8}, 3),
                            "damaged JPEG"},
                    Refusal{"fill_bytes_before_the_jpeg",
                            crowdedHuffmanTable({0xFF, 0xFF, 0xD8}, 19), "damaged JPEG"}),
    [](const testing::TestParamInfo<Refusal>& info) { return info.param.name; });

} // namespace
