// The variable-width LZW stream in which a quiz executable stores its texts.
//
// Codes are packed most significant bit first with no alignment; the last byte is padded with
// zero bits. 0..255 are literals, 256 ends the stream, 257 widens every following code by one
// bit, 258 resets the dictionary (next code 259, width 9), 259..4095 are dictionary entries.
// The first code is a literal and the first width is 9 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

enum LzwResult : int {
    kLzwOk = 0,
    kLzwOutOfMemory = -4,
    kLzwNoInput = -5,
    kLzwWidthRefused = -6, // encoder: a code wider than 32 bits
    kLzwCorrupt = -7,      // decoder: bad code, width over 32 bits, or no end code
    kLzwOverLimit = -8,    // a source or a result larger than the codec's buffers
};

constexpr uint32_t kLzwEndCode = 256;
constexpr uint32_t kLzwWidenCode = 257;
constexpr uint32_t kLzwResetCode = 258;
constexpr uint32_t kLzwFirstEntry = 259;
constexpr uint32_t kLzwDictionarySize = 4096;
constexpr uint32_t kLzwInitialWidth = 9;
constexpr uint32_t kLzwMaxWidth = 32;

// Stored lengths are 16-bit, so no source may be longer than this.
constexpr size_t kLzwMaxSourceLength = 65535;
constexpr size_t kLzwDecodeCapacity = 120000;
constexpr size_t kLzwEncodeCapacity = 32768;

// Decodes one stream. `output` receives the bytes decoded so far, also when decoding fails.
// A stream whose result would pass kLzwDecodeCapacity is refused whole with kLzwOverLimit.
LzwResult lzwDecode(std::span<const uint8_t> source, std::vector<uint8_t>& output);

// Compresses `source` into exactly the stream that lzwDecode reads back.
LzwResult lzwEncode(std::span<const uint8_t> source, std::vector<uint8_t>& output);

// Makes the next output allocation fail, so the out-of-memory report can be tested.
void lzwFailNextOutputAllocationForTesting();
