// Each harness states its property as `propertyHolds`; an input for which it does not hold
// aborts, so that libFuzzer reports it and keeps it.
#pragma once

#include <cstdint>
#include <cstdlib>

bool propertyHolds(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!propertyHolds(data, size))
        abort();
    return 0;
}
