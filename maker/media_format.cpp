#include "maker/media_format.h"

#include <algorithm>

namespace {

bool startsWith(std::span<const uint8_t> bytes, std::string_view prefix, size_t at = 0) {
    return bytes.size() >= at + prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), bytes.begin() + static_cast<ptrdiff_t>(at),
                      [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
}

// ISO media files (HEIF and its kin) name their kind by the brand of their first box.
std::string_view isoMediaPictureFormat(std::span<const uint8_t> head) {
    if (!startsWith(head, "ftyp", 4))
        return {};
    for (std::string_view brand : {"heic", "heix", "heim", "heis", "hevc", "hevx"}) {
        if (startsWith(head, brand, 8))
            return "HEIC photo";
    }
    for (std::string_view brand : {"avif", "avis"}) {
        if (startsWith(head, brand, 8))
            return "AVIF picture";
    }
    for (std::string_view brand : {"mif1", "msf1"}) {
        if (startsWith(head, brand, 8))
            return "HEIF picture";
    }
    return {};
}

} // namespace

std::string_view unreadPictureFormat(std::span<const uint8_t> head) {
    if (startsWith(head, "RIFF") && startsWith(head, "WEBP", 8))
        return "WebP picture";
    if (startsWith(head, std::string_view("II*\0", 4)) ||
        startsWith(head, std::string_view("MM\0*", 4)))
        return "TIFF picture";
    return isoMediaPictureFormat(head);
}

std::string unreadPictureAdvice(std::string_view format) {
    std::string advice(format);
    advice += ": the maker reads JPEG, PNG, GIF and BMP; save it as JPEG first";
    if (format.starts_with("HEIC") || format.starts_with("HEIF"))
        advice += " (on an iPhone: Settings > Camera > Formats > Most Compatible; on Windows: "
                  "open it in Photos, then Save as JPEG)";
    return advice;
}

MediaFormat detectMediaFormat(std::span<const uint8_t> head) {
    if (startsWith(head, "\xFF\xD8\xFF"))
        return MediaFormat::kJpeg;
    if (startsWith(head, "BM"))
        return MediaFormat::kBmp;
    if (startsWith(head, "GIF8"))
        return MediaFormat::kGif;
    if (startsWith(head, "\x89PNG"))
        return MediaFormat::kPng;
    if (startsWith(head, "RIFF") && startsWith(head, "AVI ", 8))
        return MediaFormat::kAvi;
    // An MP3 starts with its ID3 tag or directly with an MPEG audio frame: eleven set bits.
    if (startsWith(head, "ID3") ||
        (head.size() >= 2 && head[0] == 0xFF && (head[1] & 0xE0) == 0xE0))
        return MediaFormat::kMp3;
    return MediaFormat::kUnknown;
}

bool isPictureFormat(MediaFormat format) {
    return format == MediaFormat::kJpeg || format == MediaFormat::kBmp ||
           format == MediaFormat::kGif;
}

std::string_view mediaFormatName(MediaFormat format) {
    switch (format) {
    case MediaFormat::kJpeg:
        return "JPEG";
    case MediaFormat::kBmp:
        return "BMP";
    case MediaFormat::kGif:
        return "GIF";
    case MediaFormat::kPng:
        return "PNG";
    case MediaFormat::kMp3:
        return "MP3";
    case MediaFormat::kAvi:
        return "AVI";
    case MediaFormat::kUnknown:
        break;
    }
    return "unknown format";
}

std::string_view mediaFormatExtension(MediaFormat format) {
    switch (format) {
    case MediaFormat::kJpeg:
        return ".jpg";
    case MediaFormat::kBmp:
        return ".bmp";
    case MediaFormat::kGif:
        return ".gif";
    case MediaFormat::kPng:
        return ".png";
    case MediaFormat::kMp3:
        return ".mp3";
    case MediaFormat::kAvi:
        return ".avi";
    case MediaFormat::kUnknown:
        break;
    }
    return ".bin";
}
