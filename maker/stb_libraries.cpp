// The one place where stb's decoders, resampler and JPEG writer are compiled. Files are read by
// the maker itself and handed over in memory, so stb's own file functions (which take ANSI
// paths on Windows) are left out. Only the decoders of the pictures that phones, cameras and
// screenshots make are compiled: the others (PSD, TGA, HDR, PIC, PNM) serve no quiz author and
// in the packaged stb carry faults that damaged files reach.
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_GIF
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>
#include <stb/stb_image_write.h>
