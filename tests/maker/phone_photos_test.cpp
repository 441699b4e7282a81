#include "maker/media_format.h"
#include "maker/picture_orientation.h"
#include "tests/maker/maker_test_support.h"

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

// A JPEG's first segments: SOI, an APP0, the APP1 with a TIFF block whose first directory
// holds a DateTime entry and then the orientation, and the end of the picture.
std::vector<uint8_t> exifJpeg(const ExifShape& shape) {
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

    std::vector<uint8_t> file = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F'};
    const size_t length = 2 + 6 + tiff.size() + shape.cutSegmentBy;
    file.insert(file.end(), {0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length)});
    file.insert(file.end(), shape.header, shape.header + 4);
    file.insert(file.end(), {0, 0});
    file.insert(file.end(), tiff.begin(), tiff.end());
    file.insert(file.end(), {0xFF, 0xD9});
    return file;
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
        {{.cutSegmentBy = 3}, 1},         // a segment running past the file
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
