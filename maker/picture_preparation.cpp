#include "maker/picture_preparation.h"

#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace {

// Decoded pixels, three bytes (red, green, blue) each, rows one after the other; no bytes when
// they could not be made.
struct RgbPixels {
    PictureDimensions size;
    std::vector<uint8_t> bytes;
};

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
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

// A transparent pixel shows the white of the board's picture field.
void layOnWhite(const uint8_t* rgba, size_t pixels, uint8_t* rgb) {
    for (size_t i = 0; i < pixels; ++i) {
        const unsigned alpha = rgba[4 * i + 3];
        for (int c = 0; c < 3; ++c)
            rgb[3 * i + c] =
                static_cast<uint8_t>((rgba[4 * i + c] * alpha + 255 * (255 - alpha) + 127) / 255);
    }
}

RgbPixels decode(std::span<const uint8_t> file, int channelsInFile, std::string& reason) {
    const bool transparent = channelsInFile == 2 || channelsInFile == 4;
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<stbi_uc, StbFree> pixels(stbi_load_from_memory(
        file.data(), length(file), &width, &height, &channels, transparent ? 4 : 3));
    if (!pixels) {
        reason = stbi_failure_reason();
        return {};
    }
    RgbPixels rgb{{width, height}, {}};
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (transparent) {
        rgb.bytes.resize(3 * count);
        layOnWhite(pixels.get(), count, rgb.bytes.data());
    } else {
        rgb.bytes.assign(pixels.get(), pixels.get() + 3 * count);
    }
    return rgb;
}

RgbPixels scaled(const RgbPixels& picture) {
    RgbPixels result{boxSize(picture.size), {}};
    result.bytes.resize(3 * static_cast<size_t>(result.size.width) * result.size.height);
    if (!stbir_resize_uint8_srgb(picture.bytes.data(), picture.size.width, picture.size.height, 0,
                                 result.bytes.data(), result.size.width, result.size.height, 0, 3,
                                 STBIR_ALPHA_CHANNEL_NONE, 0))
        result.bytes.clear();
    return result;
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

std::vector<uint8_t> encodeJpeg(const RgbPixels& picture) {
    std::vector<uint8_t> jpeg;
    if (!stbi_write_jpg_to_func(appendBytes, &jpeg, picture.size.width, picture.size.height, 3,
                                picture.bytes.data(), kPictureJpegQuality))
        jpeg.clear();
    return jpeg;
}

// What the maker must know of a JPEG before stb decodes it.
struct JpegFacts {
    bool progressive = false;
    // The packaged stb builds a Huffman table of up to 16 x 255 codes into room for 256: a
    // damaged file would write past it.
    bool tablesFit = true;
};

// stb reads tables while the segment's announced length is not used up, past its end if the
// counts say so, and sees zeros past the end of the file.
bool huffmanTablesFit(std::span<const uint8_t> file, size_t at, size_t length) {
    for (ptrdiff_t left = static_cast<ptrdiff_t>(length) - 2; left > 0;) {
        size_t codes = 0;
        for (size_t i = at + 1; i < at + 17 && i < file.size(); ++i)
            codes += file[i];
        if (codes > 256)
            return false;
        at += 17 + codes;
        left -= static_cast<ptrdiff_t>(17 + codes);
    }
    return true;
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
        if (marker == 0xC4)
            facts.tablesFit = facts.tablesFit && huffmanTablesFit(file, at + 4, length);
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

} // namespace

std::optional<PictureDimensions> pictureDimensions(std::span<const uint8_t> bytes) {
    int width = 0, height = 0, channels = 0;
    // stb reads the Huffman tables before the size.
    if (bytes.size() > INT_MAX || !factsOf(bytes).tablesFit ||
        !stbi_info_from_memory(bytes.data(), length(bytes), &width, &height, &channels))
        return std::nullopt;
    return PictureDimensions{width, height};
}

PreparedPicture preparePicture(std::span<const uint8_t> file) {
    PreparedPicture picture;
    picture.origin.format = detectMediaFormat(file.first(std::min(file.size(), kMediaHeadLength)));
    const JpegFacts jpeg = factsOf(file);
    if (!jpeg.tablesFit)
        return refused(picture, "is a damaged JPEG: one of its Huffman tables has more than 256 "
                                "codes");
    int width = 0, height = 0, channels = 0;
    if (file.size() > INT_MAX ||
        !stbi_info_from_memory(file.data(), length(file), &width, &height, &channels))
        return refused(picture, "is not a picture that the maker reads (JPEG, PNG, GIF or BMP)");
    picture.origin.size = {width, height};
    if (width < 1 || height < 1)
        return refused(picture,
                       "is " + sizeText(picture.origin.size) + " pixels: it shows nothing");
    if (static_cast<int64_t>(width) * height > kMaxPicturePixels)
        return refused(picture, "is " + sizeText(picture.origin.size) + " pixels, more than the " +
                                    std::to_string(kMaxPicturePixels / 1'000'000) +
                                    " megapixels a quiz takes: make it smaller first");

    std::string reason;
    RgbPixels pixels = decode(file, channels, reason);
    if (pixels.bytes.empty())
        return refused(picture, "cannot be decoded (" + reason + ")");
    if (!(pixels.size == picture.origin.size))
        return refused(picture, "announces " + sizeText(picture.origin.size) +
                                    " pixels but holds " + sizeText(pixels.size));
    const bool fits = fitsTheBox(pixels.size);
    if (!fits && (pixels = scaled(pixels)).bytes.empty())
        return refused(picture, "cannot be scaled: not enough memory");
    picture.bytes = encodeJpeg(pixels);
    if (picture.bytes.empty())
        return refused(picture, "cannot be written as JPEG");

    picture.origin.change = fits ? PictureChange::kConverted : PictureChange::kScaled;
    if (playerReadsAsItIs(picture.origin, jpeg) &&
        !worthConverting(picture.origin, file.size(), picture.bytes.size())) {
        picture.bytes.assign(file.begin(), file.end());
        picture.origin.change = PictureChange::kKept;
    }
    return picture;
}

std::string describeOrigin(const PictureOrigin& origin) {
    if (origin.change == PictureChange::kKept)
        return "kept as it was";
    std::string from = origin.change == PictureChange::kScaled ? "scaled from " : "converted from ";
    if (origin.format != MediaFormat::kUnknown)
        from += std::string(mediaFormatName(origin.format)) + " ";
    return from + sizeText(origin.size);
}

std::string describeStoredPicture(std::span<const uint8_t> bytes) {
    std::string text(mediaFormatName(detectMediaFormat(bytes)));
    if (std::optional<PictureDimensions> size = pictureDimensions(bytes))
        text += " " + sizeText(*size);
    return text;
}
