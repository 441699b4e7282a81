// Any bytes given to the decoder: a result code, never a read or write outside its buffers, and
// never more than its capacity handed back.
#include "content/lzw_codec.h"
#include "fuzz/property.h"

bool propertyHolds(const uint8_t* data, size_t size) {
    std::vector<uint8_t> output;
    const LzwResult result = lzwDecode({data, size}, output);
    return output.size() <= kLzwDecodeCapacity && (result != kLzwOk || !output.empty()) &&
           (result == kLzwOk || result == kLzwNoInput || result == kLzwCorrupt ||
            result == kLzwOverLimit);
}
