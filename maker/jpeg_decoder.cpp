#include "maker/jpeg_decoder.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// A progressive photo has about ten scans; a file of thousands of tiny scans would make the
// decoder go over the whole picture thousands of times.
constexpr int kMostScans = 256;

// The whole-picture buffers of a progressive file take two bytes per coefficient, at most four
// components of one coefficient a pixel: this bounds them for the largest picture accepted.
constexpr int64_t kMostBufferBytesPerPixel = 2 * 4;

// libjpeg-turbo reports an error through error_exit, which must not return: it jumps back to the
// stage that called the library, over the library's own C frames only.
struct ErrorManager {
    jpeg_error_mgr base; // first, as the library sees only it
    jmp_buf stage;
    char message[JMSG_LENGTH_MAX];
};

// The decompressor with its managers, destroyed whatever stage it reached.
struct Decompressor {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};

    Decompressor() = default;
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    ~Decompressor() { jpeg_destroy_decompress(&info); }
};

ErrorManager& errorsOf(j_common_ptr info) {
    return *reinterpret_cast<ErrorManager*>(info->err);
}

// The message is written first: nothing may be left to destroy behind the jump.
[[noreturn]] void abandon(j_common_ptr info) {
    info->err->format_message(info, errorsOf(info).message);
    longjmp(errorsOf(info).stage, 1);
}

// A warning means that the data is corrupt and that the library makes up what it lacks: the
// author is told instead. An unknown JFIF revision or Adobe transform code says nothing of the
// pixels. Trace messages (levels 0 and up) are ignored.
void refuseCorruptData(j_common_ptr info, int level) {
    const int code = info->err->msg_code;
    if (level < 0 && code != JWRN_JFIF_MAJOR && code != JWRN_ADOBE_XFORM)
        abandon(info);
}

void refuseEndlessScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= kMostScans)
        return;
    snprintf(errorsOf(info).message, JMSG_LENGTH_MAX, "more than %d scans", kMostScans);
    longjmp(errorsOf(info).stage, 1);
}

// Each stage calls the library under setjmp and returns false when the library gave up. Nothing
// that has a destructor lives in it, so that the jump back skips none.

bool readHeader(Decompressor& decompressor, std::span<const uint8_t> file, int64_t maxPixels) {
    jpeg_decompress_struct& info = decompressor.info;
    info.err = jpeg_std_error(&decompressor.errors.base);
    decompressor.errors.base.error_exit = abandon;
    decompressor.errors.base.emit_message = refuseCorruptData;
    if (setjmp(decompressor.errors.stage))
        return false;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use =
        static_cast<long>(std::min<int64_t>(LONG_MAX, maxPixels * kMostBufferBytesPerPixel));
    decompressor.progress.progress_monitor = refuseEndlessScans;
    info.progress = &decompressor.progress;
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    return true;
}

// CMYK and YCCK come out as CMYK, which the library does not turn into RGB; every other colour
// space comes out as RGB.
bool chooseScale(Decompressor& decompressor, int minLongerSide) {
    jpeg_decompress_struct& info = decompressor.info;
    if (setjmp(decompressor.errors.stage))
        return false;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGB;
    info.scale_num = 1;
    for (info.scale_denom = 8; info.scale_denom > 1; info.scale_denom /= 2) {
        jpeg_calc_output_dimensions(&info);
        if (static_cast<int64_t>(std::max(info.output_width, info.output_height)) >= minLongerSide)
            return true;
    }
    jpeg_calc_output_dimensions(&info);
    return true;
}

bool readPixels(Decompressor& decompressor, uint8_t* pixels) {
    jpeg_decompress_struct& info = decompressor.info;
    if (setjmp(decompressor.errors.stage))
        return false;
    jpeg_start_decompress(&info);
    const size_t rowBytes = size_t{info.output_width} * info.output_components;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + info.output_scanline * rowBytes;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

// Adobe's applications, which write nearly every CMYK JPEG, store the inks inverted (255 for
// none): the channel's light is then simply ink x black.
std::vector<uint8_t> rgbOfCmyk(const std::vector<uint8_t>& cmyk, bool inverted) {
    std::vector<uint8_t> rgb(cmyk.size() / 4 * 3);
    for (size_t pixel = 0; pixel < cmyk.size() / 4; ++pixel) {
        const uint8_t* inks = &cmyk[4 * pixel];
        auto light = [inverted](unsigned ink) { return inverted ? ink : 255 - ink; };
        for (int c = 0; c < 3; ++c)
            rgb[3 * pixel + c] =
                static_cast<uint8_t>((light(inks[c]) * light(inks[3]) + 127) / 255);
    }
    return rgb;
}

std::string sizeText(int64_t width, int64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

} // namespace

std::optional<DecodedJpeg> decodeJpegScaled(std::span<const uint8_t> file, int minLongerSide,
                                            int64_t maxPixels, std::string& reason) {
    if (file.size() > ULONG_MAX) {
        reason = "larger than 4 GB";
        return std::nullopt;
    }
    Decompressor decompressor;
    jpeg_decompress_struct& info = decompressor.info;
    if (!readHeader(decompressor, file, maxPixels)) {
        reason = decompressor.errors.message;
        return std::nullopt;
    }
    DecodedJpeg decoded;
    decoded.fullWidth = static_cast<int>(info.image_width);
    decoded.fullHeight = static_cast<int>(info.image_height);
    if (int64_t{decoded.fullWidth} * decoded.fullHeight > maxPixels) {
        reason = sizeText(decoded.fullWidth, decoded.fullHeight) + " pixels, more than " +
                 std::to_string(maxPixels / 1'000'000) + " megapixels";
        return std::nullopt;
    }
    if (!chooseScale(decompressor, minLongerSide)) {
        reason = decompressor.errors.message;
        return std::nullopt;
    }
    decoded.width = static_cast<int>(info.output_width);
    decoded.height = static_cast<int>(info.output_height);
    decoded.scaleDenominator = static_cast<int>(info.scale_denom);
    std::vector<uint8_t> pixels(size_t{info.output_width} * info.output_height *
                                info.out_color_components);
    if (!readPixels(decompressor, pixels.data())) {
        reason = decompressor.errors.message;
        return std::nullopt;
    }
    decoded.rgb = info.out_color_space == JCS_CMYK ? rgbOfCmyk(pixels, info.saw_Adobe_marker)
                                                   : std::move(pixels);
    return decoded;
}
