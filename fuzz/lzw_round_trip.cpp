// Whatever the compressor accepts must decode back to the same bytes.
#include "content/lzw_codec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> stream, decoded;
    LzwResult encoded = lzwEncode({data, size}, stream);
    if (encoded != kLzwOk) {
        if (size != 0 && encoded != kLzwOverLimit)
            abort();
        return 0;
    }
    if (lzwDecode(stream, decoded) != kLzwOk)
        abort();
    if (decoded != std::vector<uint8_t>(data, data + size))
        abort();
    return 0;
}
