#include "content/lzw_codec.h"

#include "content/platform.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>

namespace {

bool failNextOutputAllocation = false;

// Both directions start by claiming their whole output buffer, as the stored format expects.
bool allocateOutput(std::vector<uint8_t>& output, size_t capacity) {
    output.clear();
    try {
        if (failNextOutputAllocation) {
            failNextOutputAllocation = false;
            throw std::bad_alloc();
        }
        output.reserve(capacity);
        return true;
    } catch (const std::bad_alloc&) {
        showMessageBox("Impossible d'allouer la memoire", "information");
        return false;
    }
}

bool fitsWidth(uint32_t code, uint32_t width) {
    return width >= 32 || code < (uint32_t{1} << width);
}

class BitReader {
  public:
    explicit BitReader(std::span<const uint8_t> source) : source_(source) {}

    // False when the source ends before `width` more bits.
    bool read(uint32_t width, uint32_t& code) {
        while (pendingBits_ < width) {
            if (position_ == source_.size())
                return false;
            pending_ = (pending_ << 8) | source_[position_++];
            pendingBits_ += 8;
        }
        pendingBits_ -= width;
        code = static_cast<uint32_t>((pending_ >> pendingBits_) & ((uint64_t{1} << width) - 1));
        return true;
    }

  private:
    std::span<const uint8_t> source_;
    size_t position_ = 0;
    uint64_t pending_ = 0;
    uint32_t pendingBits_ = 0;
};

class BitWriter {
  public:
    explicit BitWriter(std::vector<uint8_t>& output) : output_(output) {}

    bool write(uint32_t code, uint32_t width) {
        pending_ = (pending_ << width) | code;
        pendingBits_ += width;
        while (pendingBits_ >= 8) {
            pendingBits_ -= 8;
            if (!put(static_cast<uint8_t>(pending_ >> pendingBits_)))
                return false;
        }
        pending_ &= (uint64_t{1} << pendingBits_) - 1;
        return true;
    }

    bool flush() {
        if (pendingBits_ == 0)
            return true;
        uint8_t last = static_cast<uint8_t>(pending_ << (8 - pendingBits_));
        pendingBits_ = 0;
        return put(last);
    }

  private:
    bool put(uint8_t byte) {
        if (output_.size() == kLzwEncodeCapacity)
            return false;
        output_.push_back(byte);
        return true;
    }

    std::vector<uint8_t>& output_;
    uint64_t pending_ = 0;
    uint32_t pendingBits_ = 0;
};

// Every decoded string is a run of bytes already in the output, so an entry is only its
// place there. That keeps entries valid across resets, when later codes overwrite them.
struct OutputRun {
    uint32_t offset;
    uint32_t length;
};

// Appends `run` (which may overlap the end it grows, as in the code-equals-next-entry case).
bool appendRun(std::vector<uint8_t>& output, OutputRun run) {
    if (run.length > kLzwDecodeCapacity - output.size())
        return false;
    for (uint32_t i = 0; i < run.length; ++i)
        output.push_back(output[run.offset + i]);
    return true;
}

LzwResult decodeCodes(BitReader& reader, std::vector<uint8_t>& output) {
    std::array<OutputRun, kLzwDictionarySize> entries;
    uint32_t nextCode = kLzwFirstEntry;
    uint32_t width = kLzwInitialWidth;

    uint32_t code = 0;
    if (!reader.read(width, code))
        return kLzwNoInput;
    output.push_back(static_cast<uint8_t>(code & 0xFF));
    OutputRun current{0, 1};

    for (;;) {
        if (width > kLzwMaxWidth)
            return kLzwCorrupt;
        if (!reader.read(width, code))
            return kLzwCorrupt;
        if (code == kLzwEndCode)
            return kLzwOk;
        if (code == kLzwResetCode) {
            nextCode = kLzwFirstEntry;
            width = kLzwInitialWidth;
            continue;
        }
        if (code == kLzwWidenCode) {
            ++width;
            continue;
        }
        if (code > nextCode || nextCode >= kLzwDictionarySize)
            return kLzwCorrupt;

        OutputRun next;
        if (code < 256)
            next = {static_cast<uint32_t>(output.size()), 1};
        else if (code == nextCode)
            next = {current.offset, current.length + 1};
        else
            next = entries[code];
        // The new entry is the current string and the first byte of the next one, which the
        // output will hold right after the current string.
        entries[nextCode++] = {current.offset, current.length + 1};

        uint32_t start = static_cast<uint32_t>(output.size());
        if (code < 256) {
            if (output.size() == kLzwDecodeCapacity)
                return kLzwOverLimit;
            output.push_back(static_cast<uint8_t>(code));
        } else if (!appendRun(output, next)) {
            return kLzwOverLimit;
        }
        current = {start, next.length};
    }
}

// The compressor's dictionary. Strings are found by (code of the string less its last byte,
// last byte), in an open-addressing table that a generation stamp empties in one step.
class EncoderDictionary {
  public:
    static constexpr uint32_t kNotFound = 0xFFFFFFFF;

    void reset() {
        ++generation_;
        nextCode_ = kLzwFirstEntry;
        orphan_.length = 0;
    }

    uint32_t nextCode() const { return nextCode_; }

    uint32_t find(uint32_t prefix, uint8_t byte) const {
        uint32_t key = makeKey(prefix, byte);
        for (uint32_t slot = hash(key);; slot = (slot + 1) & kSlotMask) {
            const Slot& s = slots_[slot];
            if (s.generation != generation_)
                return kNotFound;
            if (s.key == key)
                return s.code;
        }
    }

    // Adds the string `prefix` + `byte` (prefix a literal or an entry) as the next code.
    void add(uint32_t prefix, uint8_t byte) {
        uint32_t code = nextCode_++;
        prefixOf_[code] = static_cast<uint16_t>(prefix);
        lastByteOf_[code] = byte;
        lengthOf_[code] = static_cast<uint16_t>(lengthOf(prefix) + 1);
        insert(prefix, byte, code);
        adoptOrphan(code);
    }

    // After a reset the string added last is added again as entry 259, but the string it
    // extends is no longer in the dictionary. Once that string comes back under a new code,
    // entry 259 must be found from it, as a byte-by-byte search of the dictionary would.
    void addAfterReset(uint32_t prefix, uint8_t byte) {
        if (prefix >= 256) {
            // The string may itself lead back to the previous orphan: spell it aside first.
            std::array<uint8_t, kLzwDictionarySize + 1> bytes;
            orphan_.length = spell(prefix, bytes.data());
            orphan_.bytes = bytes;
            orphan_.lastByte = byte;
        }
        uint32_t code = nextCode_++;
        prefixOf_[code] = kNoPrefix;
        lastByteOf_[code] = byte;
        lengthOf_[code] = static_cast<uint16_t>(lengthOf(prefix) + 1);
        if (prefix < 256)
            insert(prefix, byte, code);
    }

  private:
    static constexpr uint32_t kSlotCount = 8192;
    static constexpr uint32_t kSlotMask = kSlotCount - 1;
    static constexpr uint16_t kNoPrefix = 0xFFFF;

    struct Slot {
        uint32_t generation = 0;
        uint32_t key = 0;
        uint32_t code = 0;
    };

    static uint32_t makeKey(uint32_t prefix, uint8_t byte) { return (prefix << 8) | byte; }
    static uint32_t hash(uint32_t key) { return (key * 2654435761u) >> 19 & kSlotMask; }

    uint32_t lengthOf(uint32_t code) const { return code < 256 ? 1 : lengthOf_[code]; }

    void insert(uint32_t prefix, uint8_t byte, uint32_t code) {
        uint32_t key = makeKey(prefix, byte);
        uint32_t slot = hash(key);
        while (slots_[slot].generation == generation_)
            slot = (slot + 1) & kSlotMask;
        slots_[slot] = {generation_, key, code};
    }

    // Writes the bytes of `code` into `bytes`; returns their count. Entry 259 after a reset
    // has no prefix entry: its leading bytes are the orphan string.
    uint32_t spell(uint32_t code, uint8_t* bytes) const {
        uint32_t length = lengthOf(code);
        uint32_t end = length;
        while (code >= 256 && prefixOf_[code] != kNoPrefix) {
            bytes[--end] = lastByteOf_[code];
            code = prefixOf_[code];
        }
        if (code < 256) {
            bytes[--end] = static_cast<uint8_t>(code);
        } else {
            bytes[--end] = lastByteOf_[code];
            std::copy_n(orphan_.bytes.data(), end, bytes);
        }
        return length;
    }

    void adoptOrphan(uint32_t code) {
        if (orphan_.length == 0 || lengthOf_[code] != orphan_.length)
            return;
        std::array<uint8_t, kLzwDictionarySize + 1> bytes;
        spell(code, bytes.data());
        if (!std::equal(bytes.begin(), bytes.begin() + orphan_.length, orphan_.bytes.begin()))
            return;
        insert(code, orphan_.lastByte, kLzwFirstEntry);
        orphan_.length = 0;
    }

    struct Orphan {
        std::array<uint8_t, kLzwDictionarySize + 1> bytes;
        uint32_t length = 0;
        uint8_t lastByte = 0;
    };

    std::array<Slot, kSlotCount> slots_{};
    uint32_t generation_ = 1;
    uint32_t nextCode_ = kLzwFirstEntry;
    std::array<uint16_t, kLzwDictionarySize> prefixOf_{};
    std::array<uint8_t, kLzwDictionarySize> lastByteOf_{};
    std::array<uint16_t, kLzwDictionarySize> lengthOf_{};
    Orphan orphan_;
};

class CodeWriter {
  public:
    explicit CodeWriter(std::vector<uint8_t>& output) : bits_(output) {}

    // Widens first, with as many widen codes as the code needs.
    LzwResult writeWidening(uint32_t code) {
        while (!fitsWidth(code, width_)) {
            if (LzwResult result = write(kLzwWidenCode); result != kLzwOk)
                return result;
            ++width_;
        }
        return write(code);
    }

    LzwResult write(uint32_t code) {
        if (width_ > kLzwMaxWidth)
            return kLzwWidthRefused;
        return bits_.write(code, width_) ? kLzwOk : kLzwOverLimit;
    }

    void resetWidth() { width_ = kLzwInitialWidth; }
    LzwResult finish() { return bits_.flush() ? kLzwOk : kLzwOverLimit; }

  private:
    BitWriter bits_;
    uint32_t width_ = kLzwInitialWidth;
};

LzwResult encodeBytes(std::span<const uint8_t> source, EncoderDictionary& dictionary,
                      std::vector<uint8_t>& output) {
    CodeWriter writer(output);
    uint32_t current = source[0];
    for (size_t i = 1; i < source.size(); ++i) {
        uint8_t byte = source[i];
        uint32_t extended = dictionary.find(current, byte);
        if (extended != EncoderDictionary::kNotFound) {
            current = extended;
            continue;
        }
        dictionary.add(current, byte);
        if (LzwResult result = writer.writeWidening(current); result != kLzwOk)
            return result;
        uint32_t added = current;
        current = byte;
        if (dictionary.nextCode() == kLzwDictionarySize) {
            if (LzwResult result = writer.write(kLzwResetCode); result != kLzwOk)
                return result;
            dictionary.reset();
            dictionary.addAfterReset(added, byte);
            writer.resetWidth();
        }
    }
    if (LzwResult result = writer.writeWidening(current); result != kLzwOk)
        return result;
    if (LzwResult result = writer.write(kLzwEndCode); result != kLzwOk)
        return result;
    return writer.finish();
}

} // namespace

LzwResult lzwDecode(std::span<const uint8_t> source, std::vector<uint8_t>& output) {
    if (!allocateOutput(output, kLzwDecodeCapacity))
        return kLzwOutOfMemory;
    if (source.size() > kLzwMaxSourceLength)
        return kLzwOverLimit;
    BitReader reader(source);
    LzwResult result = decodeCodes(reader, output);
    if (result == kLzwOverLimit)
        output.clear(); // never hand back a silently cut text
    return result;
}

LzwResult lzwEncode(std::span<const uint8_t> source, std::vector<uint8_t>& output) {
    if (!allocateOutput(output, kLzwEncodeCapacity))
        return kLzwOutOfMemory;
    if (source.empty())
        return kLzwNoInput;
    if (source.size() > kLzwMaxSourceLength)
        return kLzwOverLimit;
    auto dictionary = std::make_unique<EncoderDictionary>();
    LzwResult result = encodeBytes(source, *dictionary, output);
    if (result != kLzwOk)
        output.clear();
    return result;
}

void lzwFailNextOutputAllocationForTesting() {
    failNextOutputAllocation = true;
}
