// Whatever the compressor accepts must decode back to the same bytes; it refuses only what is
// empty or too large.
#include "content/lzw_codec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> stream, decoded;
    const LzwResult encoded = lzwEncode({data, size}, stream);
    if (encoded != kLzwOk ? size != 0 && encoded != kLzwOverLimit
                          : lzwDecode(stream, decoded) != kLzwOk ||
                                decoded != std::vector<uint8_t>(data, data + size))
        abort();
    return 0;
}
