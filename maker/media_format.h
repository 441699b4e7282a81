// The kinds of file a quiz stores as IMG resources, and PNG, which the maker converts,
// recognised by their first bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

enum class MediaFormat { kUnknown, kJpeg, kBmp, kGif, kPng, kMp3, kAvi };

MediaFormat detectMediaFormat(std::span<const uint8_t> head);

// "HEIC photo", "WebP picture", ...: the formats of photos that the maker does not read but
// that phones and web pages give, so that an author is told what the file is rather than
// that it is none. Empty for any other file.
std::string_view unreadPictureFormat(std::span<const uint8_t> head);

// What to do with a file of such a format, after its name: "HEIC photo: the maker reads ...".
std::string unreadPictureAdvice(std::string_view format);

// The pictures that the player's decoder turns into a bitmap.
bool isPictureFormat(MediaFormat format);

// "JPEG", "BMP", ... for messages and listings.
std::string_view mediaFormatName(MediaFormat format);

// ".jpg", ".bmp", ".gif", ".png", ".mp3", ".avi"; ".bin" when unknown.
std::string_view mediaFormatExtension(MediaFormat format);

// The largest picture or clip a quiz carries. The player takes each one whole from its
// resources (and writes a clip to a file to play it), a quiz of 96 questions with reward
// pictures holds up to 192 of them, and a Windows executable cannot pass 4 GiB: 16 MiB each
// keeps the fullest quiz near 3 GiB, while a picture shown three to a board row or a clip of
// several minutes needs far less. A bigger file is refused by its size, before it is read.
constexpr uintmax_t kMaxMediaFileBytes = 16 * 1024 * 1024;

// Enough leading bytes to tell every format apart.
constexpr size_t kMediaHeadLength = 12;
