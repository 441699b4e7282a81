// Any bytes given to the decoder: it must answer with a result code, never read or write
// outside its buffers, and never hand back more than its capacity.
#include "content/lzw_codec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> output;
    LzwResult result = lzwDecode({data, size}, output);
    if (output.size() > kLzwDecodeCapacity)
        abort();
    if (result == kLzwOk && output.empty())
        abort();
    if (result != kLzwOk && result != kLzwNoInput && result != kLzwCorrupt &&
        result != kLzwOverLimit)
        abort();
    return 0;
}
