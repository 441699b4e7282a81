#include "maker/quiz_resources.h"

#include "maker/media_format.h"

std::string mediaFileName(int resourceId, MediaKind layout, std::span<const uint8_t> bytes) {
    const bool reward = resourceId > IDR_REWARD_PICTURE_BASE;
    MediaFormat format = detectMediaFormat(bytes);
    if (!reward && layout == kMediaSound)
        format = MediaFormat::kMp3;
    else if (!reward && layout == kMediaVideo)
        format = MediaFormat::kAvi;
    return (reward ? "reward_" : "media_") + std::to_string(resourceId) +
           std::string(mediaFormatExtension(format));
}
