// Writes hand-made LZW streams code by code, for tests that need streams the compressor
// would never produce (bad codes, missing end codes, forced widths).
#pragma once

#include <cstdint>
#include <vector>

class LzwStreamBuilder {
  public:
    // Appends `code` at the current width.
    LzwStreamBuilder& code(uint32_t value) {
        for (uint32_t bit = width_; bit-- > 0;)
            pushBit(static_cast<uint32_t>((uint64_t{value} >> bit) & 1));
        return *this;
    }
    // Appends the widen code and widens.
    LzwStreamBuilder& widen() {
        code(257);
        ++width_;
        return *this;
    }
    LzwStreamBuilder& reset() {
        code(258);
        width_ = 9;
        return *this;
    }
    LzwStreamBuilder& end() { return code(256); }
    // Appends `value`, widening first as often as it takes.
    LzwStreamBuilder& codeWidening(uint32_t value) {
        while (value >= (uint64_t{1} << width_))
            widen();
        return code(value);
    }

    uint32_t width() const { return width_; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

  private:
    void pushBit(uint32_t bit) {
        if (bitCount_ % 8 == 0)
            bytes_.push_back(0);
        if (bit)
            bytes_.back() |= static_cast<uint8_t>(0x80 >> (bitCount_ % 8));
        ++bitCount_;
    }

    std::vector<uint8_t> bytes_;
    uint64_t bitCount_ = 0;
    uint32_t width_ = 9;
};
