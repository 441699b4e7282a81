// Pictures of the quiz: image resources decoded by the platform and scaled into a box.
#pragma once

#include <windows.h>

#include <cstddef>

// The picture resource `id` of type `type` scaled into width x height with its proportions
// kept; null when the resource is missing or is not a picture. The caller owns the bitmap.
HBITMAP loadPictureResource(HMODULE module, int id, const char* type, int width, int height);

// A bitmap of the image's own size from JPEG, BMP or GIF bytes; null when they do not decode.
HBITMAP decodePicture(const void* bytes, size_t count);

// A new bitmap of `bitmap` scaled by one factor so that it touches the box from inside.
HBITMAP scalePicture(HBITMAP bitmap, int width, int height);
