#include "maker/picture_preparation.h"

#include "maker/jpeg_decoder.h"
#include "maker/picture_orientation.h"

#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

// Decoded pixels, three bytes (red, green, blue) each, rows one after the other, in the buffer
// that their decoder made: a picture of 100 megapixels is held once, not copied. None when
// they could not be made.
struct RgbPixels {
    PictureDimensions size;
    PictureDimensions fileSize; // a JPEG is decoded at a fraction of its size
    std::unique_ptr<stbi_uc, StbFree> stbBytes;
    std::vector<uint8_t> jpegBytes;

    const uint8_t* data() const { return stbBytes ? stbBytes.get() : jpegBytes.data(); }
    bool empty() const { return !stbBytes && jpegBytes.empty(); }
    void release() {
        stbBytes.reset();
        jpegBytes = {};
    }
};

int length(std::span<const uint8_t> bytes) {
    return static_cast<int>(std::min<size_t>(bytes.size(), INT_MAX));
}

std::string sizeText(PictureDimensions size) {
    return std::to_string(size.width) + " x " + std::to_string(size.height);
}

bool fitsTheBox(PictureDimensions size) {
    return size.width <= kBoardPictureBox && size.height <= kBoardPictureBox;
}

// The longer side becomes the box's; the shorter keeps the proportions, rounded, and at least
// one pixel. The player then finds the picture at the box's size already.
PictureDimensions boxSize(PictureDimensions size) {
    const int64_t longer = std::max(size.width, size.height);
    const int64_t shorter = std::min(size.width, size.height);
    const int scaled =
        static_cast<int>(std::max<int64_t>(1, (shorter * kBoardPictureBox + longer / 2) / longer));
    return size.width >= size.height ? PictureDimensions{kBoardPictureBox, scaled}
                                     : PictureDimensions{scaled, kBoardPictureBox};
}

// A transparent pixel shows the white of the board's picture field. The pixels of four bytes
// become pixels of three in the same buffer: each is written at or before where it was read.
void layOnWhite(uint8_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const unsigned alpha = pixels[4 * i + 3];
        for (int c = 0; c < 3; ++c)
            pixels[3 * i + c] =
                static_cast<uint8_t>((pixels[4 * i + c] * alpha + 255 * (255 - alpha) + 127) / 255);
    }
}

RgbPixels decodeWithStb(std::span<const uint8_t> file, bool transparent, std::string& reason) {
    int width = 0, height = 0, channels = 0;
    RgbPixels rgb;
    rgb.stbBytes.reset(stbi_load_from_memory(file.data(), length(file), &width, &height, &channels,
                                             transparent ? 4 : 3));
    if (!rgb.stbBytes) {
        reason = stbi_failure_reason();
        return rgb;
    }
    rgb.size = rgb.fileSize = {width, height};
    if (transparent)
        layOnWhite(rgb.stbBytes.get(), size_t(width) * size_t(height));
    return rgb;
}

// A JPEG is decoded by libjpeg-turbo at the smallest fraction of its size that still leaves
// twice the box to resample from, which looks as good as the whole and takes a fraction of the
// time. What it finds damaged goes to stb, which reads what it always read.
RgbPixels decode(std::span<const uint8_t> file, bool transparent, std::string& reason) {
    if (detectMediaFormat(file.first(std::min(file.size(), kMediaHeadLength))) ==
        MediaFormat::kJpeg) {
        std::string turboReason;
        if (std::optional<DecodedJpeg> jpeg =
                decodeJpegScaled(file, 2 * kBoardPictureBox, kMaxPicturePixels, turboReason)) {
            RgbPixels rgb;
            rgb.size = {jpeg->width, jpeg->height};
            rgb.fileSize = {jpeg->fullWidth, jpeg->fullHeight};
            rgb.jpegBytes = std::move(jpeg->rgb);
            return rgb;
        }
    }
    return decodeWithStb(file, transparent, reason);
}

// Empty when stb finds no memory for its work.
std::vector<uint8_t> scaled(const RgbPixels& picture, PictureDimensions to) {
    std::vector<uint8_t> result(3 * static_cast<size_t>(to.width) * to.height);
    if (!stbir_resize_uint8_srgb(picture.data(), picture.size.width, picture.size.height, 0,
                                 result.data(), to.width, to.height, 0, 3, STBIR_ALPHA_CHANNEL_NONE,
                                 0))
        result.clear();
    return result;
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

std::vector<uint8_t> encodeJpeg(PictureDimensions size, const uint8_t* rgb, std::string& reason) {
    std::vector<uint8_t> jpeg;
    if (!stbi_write_jpg_to_func(appendBytes, &jpeg, size.width, size.height, 3, rgb,
                                kPictureJpegQuality)) {
        jpeg.clear();
        reason = "cannot be written as JPEG";
    }
    return jpeg;
}

// Byte `at` as stb reads it: zero past the end of the file.
uint8_t byteAt(std::span<const uint8_t> file, size_t at) {
    return at < file.size() ? file[at] : 0;
}

// What the maker must know of a JPEG before stb decodes it.
struct JpegFacts {
    bool progressive = false;
    // The packaged stb builds a Huffman table of up to 16 x 255 codes into room for 256: a
    // damaged file would write past it.
    bool tablesFit = true;
    // stb decodes a scan with whatever memory its tables take when the file never defined them.
    bool scansFindTheirTables = true;
    uint32_t definedTables = 0; // as tableBit() numbers them
};

// DC tables 0 to 15 take bits 0 to 15, AC tables bits 16 to 31: a scan may name any of them,
// stb defines 0 to 3.
uint32_t tableBit(bool ac, unsigned number) {
    return uint32_t{1} << ((ac ? 16 : 0) + (number & 15));
}

// stb reads tables while the segment's announced length is not used up, past its end if the
// counts say so, and sees zeros past the end of the file.
void readHuffmanTables(std::span<const uint8_t> file, size_t at, size_t length, JpegFacts& facts) {
    for (ptrdiff_t left = static_cast<ptrdiff_t>(length) - 2; left > 0;) {
        const uint8_t kind = byteAt(file, at); // 0 or 1 (DC or AC), then the table's number
        if (kind >> 4 <= 1 && (kind & 15) <= 3)
            facts.definedTables |= tableBit(kind >> 4, kind);
        size_t codes = 0;
        for (size_t i = at + 1; i < at + 17; ++i)
            codes += byteAt(file, i);
        if (codes > 256) {
            facts.tablesFit = false;
            return;
        }
        at += 17 + codes;
        left -= static_cast<ptrdiff_t>(17 + codes);
    }
}

// The tables a scan decodes with: a baseline scan both of each of its components; a
// progressive scan the AC tables when it holds AC coefficients, else the DC tables in the
// first pass only (a refining pass reads bare bits).
uint32_t tablesOfScan(std::span<const uint8_t> file, size_t at, bool progressive) {
    const size_t components = byteAt(file, at + 4);
    const size_t after = at + 5 + 2 * components;
    const bool holdsAc = byteAt(file, after) != 0;
    const bool dc = !progressive || (!holdsAc && byteAt(file, after + 2) >> 4 == 0);
    const bool ac = !progressive || holdsAc;
    uint32_t used = 0;
    for (size_t c = 0; c < components; ++c) {
        const uint8_t tables = byteAt(file, at + 6 + 2 * c);
        used |= (dc ? tableBit(false, tables >> 4) : 0) | (ac ? tableBit(true, tables) : 0);
    }
    return used;
}

bool isFrameMarker(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the marker segments of the file as stb finds them, stepping over the coded data
// between them: a progressive picture has Huffman tables before each of its scans. Where stb
// would stop at a damaged segment the walk goes on, so it sees every table stb could read.
JpegFacts jpegFacts(std::span<const uint8_t> file, size_t at) {
    JpegFacts facts;
    while (at + 1 < file.size()) {
        const uint8_t marker = file[at + 1];
        const bool standalone = marker == 0x00 || marker == 0x01 || marker == 0xFF ||
                                (marker >= 0xD0 && marker <= 0xD7);
        if (file[at] != 0xFF || standalone) {
            at += file[at] == 0xFF && marker != 0xFF ? 2 : 1;
            continue;
        }
        if (marker == 0xD9 || at + 4 > file.size())
            break;
        const size_t length = size_t{file[at + 2]} << 8 | file[at + 3];
        if (marker == 0xC4 && facts.tablesFit)
            readHuffmanTables(file, at + 4, length, facts);
        else if (marker == 0xDA &&
                 (tablesOfScan(file, at, facts.progressive) & ~facts.definedTables) != 0)
            facts.scansFindTheirTables = false;
        else if (isFrameMarker(marker) && (marker & 0x03) == 0x02)
            facts.progressive = true; // C2, C6, CA, CE
        at += 2 + std::max<size_t>(length, 2);
    }
    return facts;
}

// stb takes a file for a JPEG when it starts with the start-of-image marker, after any number
// of 0xFF fill bytes.
JpegFacts factsOf(std::span<const uint8_t> file) {
    size_t at = 0;
    while (at < file.size() && file[at] == 0xFF)
        ++at;
    return at > 0 && at < file.size() && file[at] == 0xD8 ? jpegFacts(file, at + 1) : JpegFacts{};
}

// What the maker must know of a PNG before stb decodes it, from its chunks as stb reads them.
struct PngFacts {
    bool complete = false;   // whole chunks up to IEND: stb inflates the data
    bool keyColour = false;  // a tRNS chunk: a colour, or palette entries, shown transparent
    bool rawDeflate = false; // a CgBI chunk: Apple's PNGs store deflate data with no zlib header
    uint64_t width = 0, height = 0;
    uint8_t depth = 0, colourType = 0;
    std::vector<std::span<const uint8_t>> pixelData; // the IDAT chunks' data, in order
};

uint32_t bigEndian32(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 |
           uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

// stb takes the chunks one after the other, wherever they are, until IEND. A chunk cut short
// by the end of the file makes it fail before it inflates anything.
PngFacts pngFacts(std::span<const uint8_t> file) {
    static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PngFacts facts;
    if (file.size() < std::size(kSignature) || !std::ranges::equal(kSignature, file.first(8)))
        return facts;
    for (size_t at = 8; at + 8 <= file.size();) {
        const size_t length = bigEndian32(file, at);
        const std::string_view type(reinterpret_cast<const char*>(&file[at + 4]), 4);
        if (type == "IEND") {
            facts.complete = true;
            break;
        }
        const size_t room = file.size() - at - 8; // for the data and its CRC
        if (room < 4 || length > room - 4)
            break;
        const std::span<const uint8_t> body = file.subspan(at + 8, length);
        if (type == "IHDR" && length == 13) {
            facts.width = bigEndian32(body, 0);
            facts.height = bigEndian32(body, 4);
            facts.depth = body[8];
            facts.colourType = body[9];
        } else if (type == "tRNS") {
            facts.keyColour = true;
        } else if (type == "CgBI") {
            facts.rawDeflate = true;
        } else if (type == "IDAT") {
            facts.pixelData.push_back(body);
        }
        at += 12 + length;
    }
    return facts;
}

// What the pixels of a PNG inflate to at most: each row starts with a filter byte and is
// rounded up to whole bytes; the seven passes of an interlaced picture have up to twice as
// many rows as the picture and seven more. Writers that pad the data are given 64 KiB.
uint64_t inflatedSizeLimit(const PngFacts& png) {
    const uint64_t channels = png.colourType == 2   ? 3
                              : png.colourType == 4 ? 2
                              : png.colourType == 6 ? 4
                                                    : 1;
    const uint64_t rowBytes = (png.width * channels * png.depth + 7) / 8;
    return rowBytes * png.height + 2 * (2 * png.height + 7) + 64 * 1024;
}

// stb's decoder grows its buffer as long as the data inflates, up to gigabytes for a file of a
// few megabytes: the data is first inflated, by the same code, into room for the pixels only.
// Damaged data that fails otherwise is left for stb to report.
bool inflatesBeyondItsPixels(const PngFacts& png) {
    if (!png.complete)
        return false;
    std::vector<uint8_t> data;
    for (std::span<const uint8_t> chunk : png.pixelData)
        data.insert(data.end(), chunk.begin(), chunk.end());
    const int room = static_cast<int>(std::min<uint64_t>(inflatedSizeLimit(png), INT_MAX));
    // Pages that inflating never reaches are never touched.
    const auto buffer = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(room));
    const char* compressed = reinterpret_cast<const char*>(data.data());
    const int inflated =
        png.rawDeflate
            ? stbi_zlib_decode_noheader_buffer(buffer.get(), room, compressed, length(data))
            : stbi_zlib_decode_buffer(buffer.get(), room, compressed, length(data));
    // Only the reason tells running out of room from damaged data.
    return inflated < 0 && std::strcmp(stbi_failure_reason(), "output buffer limit") == 0;
}

// Older decoders read only baseline JPEG; a progressive one is stored again as baseline.
bool playerReadsAsItIs(const PictureOrigin& origin, const JpegFacts& jpeg) {
    return fitsTheBox(origin.size) && isPictureFormat(origin.format) && !jpeg.progressive;
}

// A JPEG loses detail each time it is encoded again: it is converted only when that saves more
// than a tenth of its size, so that a quiz extracted and built again keeps its pictures.
bool worthConverting(const PictureOrigin& origin, size_t fileSize, size_t jpegSize) {
    if (origin.format == MediaFormat::kJpeg)
        return jpegSize * 10 < fileSize * 9;
    return jpegSize < fileSize;
}

PreparedPicture refused(PreparedPicture picture, std::string reason) {
    picture.refusal = std::move(reason);
    return picture;
}

struct PictureHeader {
    PictureDimensions size;
    int channels = 0;
    bool topDown = false; // a BMP whose rows run from the top, which older decoders misread
};

// The header as stb reads it. A BMP stored top-down (as Windows writes them) announces a
// negative height, which stb's decoder takes as the picture's height.
std::optional<PictureHeader> readHeader(std::span<const uint8_t> file) {
    int width = 0, height = 0, channels = 0;
    if (file.size() > INT_MAX ||
        !stbi_info_from_memory(file.data(), length(file), &width, &height, &channels) ||
        height == INT_MIN)
        return std::nullopt;
    return PictureHeader{{width, std::abs(height)}, channels, height < 0};
}

// Why stb must not be given a JPEG, found from its segments; empty when it may.
std::string jpegDamage(const JpegFacts& jpeg) {
    if (!jpeg.tablesFit)
        return "is a damaged JPEG: one of its Huffman tables has more than 256 codes";
    if (!jpeg.scansFindTheirTables)
        return "is a damaged JPEG: a scan decodes with a Huffman table that the file does not "
               "define before it";
    return {};
}

// Pixels at the board's size, turned: scaled first, so that only the small picture is turned.
std::vector<uint8_t> turnedJpeg(PictureDimensions size, const uint8_t* rgb, PictureTurn turn,
                                std::string& reason) {
    if (turn.isNone())
        return encodeJpeg(size, rgb, reason);
    const size_t bytes = 3 * static_cast<size_t>(size.width) * static_cast<size_t>(size.height);
    const std::vector<uint8_t> turned =
        turnedPixels({rgb, bytes}, size.width, size.height, 3, turn);
    const PictureDimensions upright =
        turn.swapsSides() ? PictureDimensions{size.height, size.width} : size;
    return encodeJpeg(upright, turned.data(), reason);
}

// The picture as the board shows it, as JPEG; the reason when it cannot be made.
std::vector<uint8_t> boardJpeg(RgbPixels pixels, PictureTurn turn, std::string& reason) {
    if (fitsTheBox(pixels.size))
        return turnedJpeg(pixels.size, pixels.data(), turn, reason);
    // The file's proportions, not those of a fraction of it that libjpeg rounded.
    const PictureDimensions box = boxSize(pixels.fileSize);
    const std::vector<uint8_t> small = scaled(pixels, box);
    pixels.release(); // before the JPEG writer takes its memory
    if (small.empty()) {
        reason = "cannot be scaled: not enough memory";
        return {};
    }
    return turnedJpeg(box, small.data(), turn, reason);
}

// The leading bytes that tell the formats apart.
std::span<const uint8_t> headOf(std::span<const uint8_t> file) {
    return file.first(std::min(file.size(), kMediaHeadLength));
}

int exifOrientationOf(std::span<const uint8_t> file) {
    return detectMediaFormat(headOf(file)) == MediaFormat::kJpeg ? jpegExifOrientation(file) : 1;
}

// "turned upright", "turned 90 degrees clockwise", both, or nothing.
std::string turnText(const PictureOrigin& origin) {
    std::string text;
    if (origin.exifOrientation != 1)
        text = "turned upright";
    if (pictureTurn(1, origin.turnDegrees).quarterTurns != 0)
        text += (text.empty() ? "turned " : " and ") + std::to_string(origin.turnDegrees) +
                " degrees clockwise";
    return text;
}

} // namespace

std::optional<PictureDimensions> pictureDimensions(std::span<const uint8_t> bytes) {
    // stb reads the Huffman tables before the size.
    if (!factsOf(bytes).tablesFit)
        return std::nullopt;
    const std::optional<PictureHeader> header = readHeader(bytes);
    return header ? std::optional(header->size) : std::nullopt;
}

bool isLargePicture(std::span<const uint8_t> file) {
    const std::optional<PictureDimensions> size = pictureDimensions(file);
    return size && int64_t{size->width} * size->height > kLargePicturePixels;
}

bool pictureNeedsTurning(std::span<const uint8_t> file, int turnDegrees) {
    return !pictureTurn(exifOrientationOf(file), turnDegrees).isNone();
}

PreparedPicture preparePicture(std::span<const uint8_t> file, int turnDegrees) {
    PreparedPicture picture;
    picture.origin.format = detectMediaFormat(headOf(file));
    picture.origin.exifOrientation = exifOrientationOf(file);
    picture.origin.turnDegrees = turnDegrees;
    const PictureTurn turn = pictureTurn(picture.origin.exifOrientation, turnDegrees);
    const JpegFacts jpeg = factsOf(file);
    if (std::string damage = jpegDamage(jpeg); !damage.empty())
        return refused(picture, damage);
    const std::optional<PictureHeader> header = readHeader(file);
    const std::string_view unread = unreadPictureFormat(headOf(file));
    if (!header && !unread.empty())
        return refused(picture, "is a " + unreadPictureAdvice(unread));
    if (!header)
        return refused(picture, "is not a picture that the maker reads (JPEG, PNG, GIF or BMP)");
    const PictureDimensions size = picture.origin.size = header->size;
    if (size.width < 1 || size.height < 1)
        return refused(picture, "is " + sizeText(size) + " pixels: it shows nothing");
    if (int64_t{size.width} * size.height > kMaxPicturePixels)
        return refused(picture, "is " + sizeText(size) + " pixels, more than the " +
                                    std::to_string(kMaxPicturePixels / 1'000'000) +
                                    " megapixels a quiz takes: make it smaller first");
    const PngFacts png = pngFacts(file);
    if (inflatesBeyondItsPixels(png))
        return refused(picture, "is a damaged PNG: its pixel data inflates to more than its " +
                                    sizeText(size) + " pixels take");

    std::string reason;
    const bool transparent = header->channels == 2 || header->channels == 4 || png.keyColour;
    RgbPixels pixels = decode(file, transparent, reason);
    if (pixels.empty())
        return refused(picture, "cannot be decoded (" + reason + ")");
    if (!(pixels.fileSize == size))
        return refused(picture, "announces " + sizeText(size) + " pixels but holds " +
                                    sizeText(pixels.fileSize));
    picture.bytes = boardJpeg(std::move(pixels), turn, reason);
    if (picture.bytes.empty())
        return refused(picture, reason);

    picture.origin.change = fitsTheBox(size) ? PictureChange::kConverted : PictureChange::kScaled;
    if (turn.isNone() && !header->topDown && playerReadsAsItIs(picture.origin, jpeg) &&
        !worthConverting(picture.origin, file.size(), picture.bytes.size())) {
        picture.bytes.assign(file.begin(), file.end());
        picture.origin.change = PictureChange::kKept;
    }
    return picture;
}

std::string describeOrigin(const PictureOrigin& origin) {
    if (origin.change == PictureChange::kKept)
        return "kept as it was";
    std::string from = turnText(origin);
    if (!from.empty())
        from += " and ";
    from += origin.change == PictureChange::kScaled ? "scaled from " : "converted from ";
    if (origin.format != MediaFormat::kUnknown)
        from += std::string(mediaFormatName(origin.format)) + " ";
    from += sizeText(origin.size);
    if (origin.exifOrientation != 1)
        from += " (EXIF orientation " + std::to_string(origin.exifOrientation) + ")";
    return from;
}

std::string describeStoredPicture(std::span<const uint8_t> bytes) {
    std::string text(mediaFormatName(detectMediaFormat(bytes)));
    if (std::optional<PictureDimensions> size = pictureDimensions(bytes))
        text += " " + sizeText(*size);
    return text;
}
