#include "maker/media_format.h"
#include "maker/picture_orientation.h"
#include "maker/picture_preparation.h"
#include "tests/maker/maker_test_support.h"

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <memory>

namespace {

// The fields of an APP1 EXIF block that a test damages.
struct ExifShape {
    bool bigEndian = false;
    uint32_t orientation = 6;
    uint16_t type = 3; // SHORT
    uint32_t directoryAt = 8;
    uint16_t entries = 2;
    const char* header = "Exif";
    int cutSegmentBy = 0; // the segment announces this many bytes more than it holds
};

void put(std::vector<uint8_t>& out, uint32_t value, int size, bool bigEndian) {
    for (int i = 0; i < size; ++i)
        out.push_back(uint8_t(value >> 8 * (bigEndian ? size - 1 - i : i)));
}

// An APP1 segment with a TIFF block whose first directory holds a DateTime entry and then the
// orientation.
std::vector<uint8_t> exifSegment(const ExifShape& shape) {
    std::vector<uint8_t> tiff;
    const bool be = shape.bigEndian;
    tiff.insert(tiff.end(), {uint8_t(be ? 'M' : 'I'), uint8_t(be ? 'M' : 'I')});
    put(tiff, 42, 2, be);
    put(tiff, shape.directoryAt, 4, be);
    put(tiff, shape.entries, 2, be);
    for (uint32_t field : {0x0132u, 2u, 20u, 100u}) // DateTime, ASCII, its text elsewhere
        put(tiff, field, field == 0x0132u || field == 2u ? 2 : 4, be);
    put(tiff, 0x0112, 2, be);
    put(tiff, shape.type, 2, be);
    put(tiff, 1, 4, be);
    put(tiff, shape.orientation, shape.type == 4 ? 4 : 2, be);
    tiff.resize(tiff.size() + (shape.type == 4 ? 0 : 2));

    const size_t length = 2 + 6 + tiff.size() + shape.cutSegmentBy;
    std::vector<uint8_t> segment = {0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length)};
    segment.insert(segment.end(), shape.header, shape.header + 4);
    segment.insert(segment.end(), {0, 0});
    segment.insert(segment.end(), tiff.begin(), tiff.end());
    return segment;
}

// `jpeg` with the EXIF segment right after its start, where cameras write it.
std::vector<uint8_t> withExif(std::vector<uint8_t> jpeg, const ExifShape& shape) {
    const std::vector<uint8_t> segment = exifSegment(shape);
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

// The start of a JPEG: an APP0, the EXIF block, the end.
std::vector<uint8_t> exifJpeg(const ExifShape& shape) {
    return withExif({0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xD9}, shape);
}

TEST(PictureOrientation, ReadsTheExifTagOrCountsAsUpright) {
    for (bool bigEndian : {false, true})
        for (uint32_t orientation = 1; orientation <= 8; ++orientation)
            EXPECT_EQ(jpegExifOrientation(exifJpeg({bigEndian, orientation})), int(orientation))
                << bigEndian;
    const struct {
        ExifShape shape;
        int expected;
    } rows[] = {
        {{.type = 4}, 6},                 // a LONG some writers use
        {{.orientation = 9}, 1},          // out of range
        {{.orientation = 0}, 1},          //
        {{.type = 2}, 1},                 // ASCII is not a number
        {{.directoryAt = 0xFFFFFFF0}, 1}, // directory past the end
        {{.entries = 0xFFFF}, 6},         // entries past the end: the tag is found first
        {{.entries = 1}, 1},              // the tag is not among the entries counted
        {{.header = "XMP "}, 1},          // another APP1
        {{.cutSegmentBy = 100}, 1},       // a segment running past the file
    };
    for (const auto& row : rows)
        EXPECT_EQ(jpegExifOrientation(exifJpeg(row.shape)), row.expected)
            << row.shape.orientation << " " << row.shape.directoryAt;

    std::vector<uint8_t> file = exifJpeg({});
    EXPECT_EQ(jpegExifOrientation({file.data(), 30}), 1); // cut inside the block
    file[1] = 0xD9;
    EXPECT_EQ(jpegExifOrientation(file), 1); // not a JPEG
}

// Where the stored picture's top-left and top-right pixels are once upright, as the EXIF
// standard describes each orientation (0: top-left, 1: top-right, 2: bottom-left, 3:
// bottom-right).
TEST(PictureOrientation, TurnsStoredPixelsUpright) {
    const struct {
        int orientation, degrees;
        int topLeftGoesTo, topRightGoesTo;
    } rows[] = {
        {1, 0, 0, 1},  {2, 0, 1, 0},  {3, 0, 3, 2},   {4, 0, 2, 3},  {5, 0, 0, 2},
        {6, 0, 1, 3},  {7, 0, 3, 1},  {8, 0, 2, 0},   {1, 90, 1, 3}, {1, 270, 2, 0},
        {6, 90, 3, 2}, {8, 90, 0, 1}, {6, -90, 0, 1},
    };
    // 3 x 2 pixels of one byte each: 1 2 3 / 4 5 6.
    const std::vector<uint8_t> stored = {1, 2, 3, 4, 5, 6};
    for (const auto& row : rows) {
        const PictureTurn turn = pictureTurn(row.orientation, row.degrees);
        const std::vector<uint8_t> upright = turnedPixels(stored, 3, 2, 1, turn);
        const int width = turn.swapsSides() ? 2 : 3;
        ASSERT_EQ(upright.size(), 6u);
        const size_t corners[] = {0, size_t(width - 1), size_t(6 - width), 5};
        EXPECT_EQ(upright[corners[row.topLeftGoesTo]], 1) << row.orientation << " " << row.degrees;
        EXPECT_EQ(upright[corners[row.topRightGoesTo]], 3) << row.orientation << " " << row.degrees;
    }
}

// A JPEG of 400 x 200 whose quarters are red, green (top) and blue, white (bottom).
std::vector<uint8_t> quarteredJpeg() {
    std::vector<uint8_t> pixels, file;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 400; ++x) {
            const bool right = x >= 200, bottom = y >= 100;
            const uint8_t white = right && bottom ? 255 : 0;
            pixels.insert(pixels.end(), {uint8_t(!right && !bottom ? 255 : white),
                                         uint8_t(right && !bottom ? 255 : white),
                                         uint8_t(!right && bottom ? 255 : white)});
        }
    }
    stbi_write_jpg_to_func(
        [](void* out, void* data, int size) {
            auto* bytes = static_cast<uint8_t*>(data);
            static_cast<std::vector<uint8_t>*>(out)->insert(
                static_cast<std::vector<uint8_t>*>(out)->end(), bytes, bytes + size);
        },
        &file, 400, 200, 3, pixels.data(), 95);
    return file;
}

// Photos are stored upright whatever way the camera held them, and as the author turns them.
TEST(PhonePhotos, AreStoredUpright) {
    const char* const kColours[] = {"red", "green", "blue", "white"};
    const auto colourAt = [&](const uint8_t* rgb) {
        const int index = rgb[0] > 128 ? (rgb[1] > 128 ? 3 : 0) : (rgb[1] > 128 ? 1 : 2);
        return std::string(kColours[index]);
    };
    const struct {
        int orientation, degrees;
        const char* corners; // top-left, top-right, bottom-left, bottom-right once stored
    } rows[] = {
        {1, 0, "red green blue white"},   {2, 0, "green red white blue"},
        {3, 0, "white blue green red"},   {4, 0, "blue white red green"},
        {5, 0, "red blue green white"},   {6, 0, "blue red white green"},
        {7, 0, "white green blue red"},   {8, 0, "green white red blue"},
        {1, 90, "blue red white green"},  {6, 270, "red green blue white"},
        {8, 180, "blue red white green"},
    };
    const std::vector<uint8_t> photo = quarteredJpeg();
    for (const auto& row : rows) {
        const PreparedPicture prepared = preparePicture(
            withExif(photo, {.orientation = uint32_t(row.orientation)}), row.degrees);
        ASSERT_TRUE(prepared.ok()) << prepared.refusal;
        int width = 0, height = 0, channels = 0;
        std::unique_ptr<stbi_uc, void (*)(void*)> rgb(
            stbi_load_from_memory(prepared.bytes.data(), int(prepared.bytes.size()), &width,
                                  &height, &channels, 3),
            stbi_image_free);
        ASSERT_TRUE(rgb);
        const bool portrait = (row.orientation >= 5) != (row.degrees % 180 == 90);
        EXPECT_EQ(std::pair(width, height), portrait ? std::pair(130, 260) : std::pair(260, 130));
        std::string corners;
        for (auto [x, y] :
             {std::pair{10, 10}, {width - 10, 10}, {10, height - 10}, {width - 10, height - 10}})
            corners += (corners.empty() ? "" : " ") + colourAt(rgb.get() + 3 * (y * width + x));
        EXPECT_EQ(corners, row.corners) << row.orientation << " " << row.degrees;
    }
    const PreparedPicture turned = preparePicture(withExif(photo, {.orientation = 6}));
    EXPECT_EQ(describeOrigin(turned.origin),
              "turned upright and scaled from JPEG 400 x 200 (EXIF orientation 6)");
    EXPECT_EQ(describeOrigin(preparePicture(photo, 90).origin),
              "turned 90 degrees clockwise and scaled from JPEG 400 x 200");
    // A small photo the player could read as it is is turned all the same.
    const std::vector<uint8_t> small = withExif(readBytes(kData / "q1.jpg"), {.orientation = 8});
    EXPECT_EQ(preparePicture(small).origin.change, PictureChange::kConverted);
    EXPECT_TRUE(pictureNeedsTurning(small, 0));
    EXPECT_FALSE(pictureNeedsTurning(small, 90)); // 270 + 90
}

TEST(PhonePhotos, NamesTheFormatsTheMakerDoesNotRead) {
    const struct {
        std::string head;
        const char* format;
    } rows[] = {
        {std::string("\0\0\0\x18"
                     "ftypheic\0\0\0\0",
                     16),
         "HEIC photo"},
        {std::string("\0\0\0\x18"
                     "ftyphevc",
                     12),
         "HEIC photo"},
        {std::string("\0\0\0\x1C"
                     "ftypmif1",
                     12),
         "HEIF picture"},
        {std::string("\0\0\0\x1C"
                     "ftypavif",
                     12),
         "AVIF picture"},
        {std::string("\0\0\0\x1C"
                     "ftypisom",
                     12),
         ""}, // an MP4 video
        {"RIFF\x10\1\1\1WEBPVP8 ", "WebP picture"},
        {"RIFF\x10\1\1\1AVI LIST", ""},
        {std::string("II*\0\x08\0\0\0", 8), "TIFF picture"},
        {std::string("MM\0*\0\0\0\x08", 8), "TIFF picture"},
        {"\xFF\xD8\xFF\xE1", ""},
        {"ftyp", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(unreadPictureFormat(std::vector<uint8_t>(row.head.begin(), row.head.end())),
                  row.format)
            << row.format;
    EXPECT_THAT(unreadPictureAdvice("HEIC photo"),
                AllOf(StartsWith("HEIC photo: the maker reads JPEG, PNG, GIF and BMP; save it as "
                                 "JPEG first"),
                      HasSubstr("Most Compatible")));
}

} // namespace
