// Whatever the compressor accepts must decode back to the same bytes; it refuses only what is
// empty or too large.
#include "content/lzw_codec.h"
#include "fuzz/property.h"

bool propertyHolds(const uint8_t* data, size_t size) {
    std::vector<uint8_t> stream, decoded;
    const LzwResult encoded = lzwEncode({data, size}, stream);
    if (encoded != kLzwOk)
        return size == 0 || encoded == kLzwOverLimit;
    return lzwDecode(stream, decoded) == kLzwOk && decoded == std::vector(data, data + size);
}
