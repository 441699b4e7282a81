// The kinds of file a quiz stores whole as IMG resources, recognised by their first bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

enum class MediaFormat { kUnknown, kJpeg, kBmp, kGif, kMp3, kAvi };

MediaFormat detectMediaFormat(std::span<const uint8_t> head);

// The pictures that the player's decoder turns into a bitmap.
bool isPictureFormat(MediaFormat format);

// "JPEG", "BMP", ... for messages and listings.
std::string_view mediaFormatName(MediaFormat format);

// ".jpg", ".bmp", ".gif", ".mp3", ".avi"; ".bin" when unknown.
std::string_view mediaFormatExtension(MediaFormat format);

// Enough leading bytes to tell every format apart.
constexpr size_t kMediaHeadLength = 12;
