#include "content/lzw_codec.h"
#include "tests/support/lzw_stream_builder.h"
#include "tests/support/platform_fake.h"
#include "tests/support/sample_texts.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <random>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

LzwResult decode(const Bytes& stream, Bytes& output) {
    return lzwDecode(stream, output);
}

// A plain transcription of the compressor: whole strings, looked up among the entries of
// the same length by comparing bytes. The real one must write exactly the same stream.
Bytes referenceEncode(const Bytes& source) {
    std::vector<std::string> entries(4096);
    std::map<size_t, std::vector<uint32_t>> byLength;
    uint32_t nextCode = 259;
    LzwStreamBuilder out;
    auto add = [&](const std::string& s) {
        entries[nextCode] = s;
        byLength[s.size()].push_back(nextCode);
        ++nextCode;
    };
    auto find = [&](const std::string& s) -> int64_t {
        if (s.size() == 1)
            return static_cast<uint8_t>(s[0]);
        for (uint32_t c : byLength[s.size()])
            if (entries[c] == s)
                return c;
        return -1;
    };
    std::string current(1, static_cast<char>(source[0]));
    for (size_t i = 1; i < source.size(); ++i) {
        std::string extended = current + static_cast<char>(source[i]);
        if (find(extended) >= 0) {
            current = extended;
            continue;
        }
        add(extended);
        out.codeWidening(static_cast<uint32_t>(find(current)));
        current = std::string(1, static_cast<char>(source[i]));
        if (nextCode == 4096) {
            out.reset();
            byLength.clear();
            nextCode = 259;
            add(extended);
        }
    }
    out.codeWidening(static_cast<uint32_t>(find(current)));
    out.end();
    return out.bytes();
}

Bytes randomBytes(size_t length, uint32_t alphabet, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<uint32_t> pick(0, alphabet - 1);
    Bytes bytes(length);
    for (auto& b : bytes)
        b = static_cast<uint8_t>('A' + pick(random));
    if (alphabet > 200)
        for (auto& b : bytes)
            b = static_cast<uint8_t>(pick(random));
    return bytes;
}

class LzwCodecTest : public testing::Test {
  protected:
    void SetUp() override { fakePlatform().reset(); }
};

TEST_F(LzwCodecTest, DecodesTheSmallestStream) {
    Bytes output;
    EXPECT_EQ(decode({0x30, 0xC0, 0x00}, output), kLzwOk);
    EXPECT_EQ(output, Bytes{0x61});
    EXPECT_EQ(LzwStreamBuilder().code(0x61).end().bytes(), (Bytes{0x30, 0xC0, 0x00}));
}

TEST_F(LzwCodecTest, RefusesBrokenStreams) {
    const Bytes dictionaryOverflow = [] {
        LzwStreamBuilder stream;
        for (int i = 0; i < 1 + (4096 - 259) + 1; ++i)
            stream.code('a');
        return stream.end().bytes();
    }();
    const Bytes widthOverflow = [] {
        LzwStreamBuilder stream;
        stream.code('a');
        while (stream.width() <= 32)
            stream.widen();
        return stream.code('b').end().bytes();
    }();
    struct Case {
        const char* name;
        Bytes stream;
        LzwResult expected;
    } cases[] = {
        {"empty source", {}, kLzwNoInput},
        {"first code incomplete", {0x30}, kLzwNoInput},
        {"cut before the end code", {0x30, 0xC0}, kLzwCorrupt},
        {"no end code", LzwStreamBuilder().code('a').code('b').bytes(), kLzwCorrupt},
        {"code above the next entry", LzwStreamBuilder().code('a').code(260).end().bytes(),
         kLzwCorrupt},
        {"entry past 4095 without reset", dictionaryOverflow, kLzwCorrupt},
        {"width over 32 bits", widthOverflow, kLzwCorrupt},
        {"source over 65535 bytes", Bytes(65536, 0), kLzwOverLimit},
    };
    for (const Case& c : cases) {
        Bytes output;
        EXPECT_EQ(decode(c.stream, output), c.expected) << c.name;
    }
}

TEST_F(LzwCodecTest, DecodesTheCodeOfTheEntryBeingAdded) {
    Bytes output;
    ASSERT_EQ(decode(LzwStreamBuilder().code('A').code(259).end().bytes(), output), kLzwOk);
    EXPECT_EQ(output, bytesOf("AAA"));
    ASSERT_EQ(decode(LzwStreamBuilder().code('A').code('B').code(260).end().bytes(), output),
              kLzwOk);
    EXPECT_EQ(output, bytesOf("ABBB"));
}

TEST_F(LzwCodecTest, ResetRestartsEntriesAndWidth) {
    // 'B' at 10 bits adds AB as 259; after the reset 'C' at 9 bits adds BC as 259 again.
    Bytes stream =
        LzwStreamBuilder().code('A').widen().code('B').reset().code('C').code(259).end().bytes();
    Bytes output;
    ASSERT_EQ(decode(stream, output), kLzwOk);
    EXPECT_EQ(output, bytesOf("ABCBC"));
}

TEST_F(LzwCodecTest, RefusesOutputPastItsBufferWithoutCuttingIt) {
    // Each code repeats the newest entry, one byte longer each time: 1 + 2 + ... + 489 bytes.
    auto growingStream = [](int extraLiterals) {
        LzwStreamBuilder stream;
        stream.code('a');
        for (uint32_t entry = 259; entry < 259 + 488; ++entry)
            stream.codeWidening(entry);
        for (int i = 0; i < extraLiterals; ++i)
            stream.code('a');
        return stream.end().bytes();
    };
    const size_t triangle = 489 * 490 / 2;
    Bytes output;
    ASSERT_EQ(decode(growingStream(int(kLzwDecodeCapacity - triangle)), output), kLzwOk);
    EXPECT_EQ(output.size(), kLzwDecodeCapacity);
    EXPECT_EQ(output, Bytes(kLzwDecodeCapacity, 'a'));

    EXPECT_EQ(decode(growingStream(int(kLzwDecodeCapacity - triangle) + 1), output), kLzwOverLimit);
    EXPECT_TRUE(output.empty());
}

TEST_F(LzwCodecTest, EncoderRefusesWhatItCannotHold) {
    Bytes output;
    EXPECT_EQ(lzwEncode(Bytes{}, output), kLzwNoInput);
    EXPECT_EQ(lzwEncode(Bytes(65536, 'a'), output), kLzwOverLimit);
    // Random bytes do not compress: 40000 of them need more than the 32768-byte stream.
    EXPECT_EQ(lzwEncode(randomBytes(40000, 256, 7), output), kLzwOverLimit);
    EXPECT_TRUE(output.empty());
    EXPECT_EQ(lzwEncode(Bytes(65535, 'a'), output), kLzwOk);
}

TEST_F(LzwCodecTest, FailedOutputAllocationIsReported) {
    Bytes output;
    lzwFailNextOutputAllocationForTesting();
    EXPECT_EQ(decode({0x30, 0xC0, 0x00}, output), kLzwOutOfMemory);
    lzwFailNextOutputAllocationForTesting();
    EXPECT_EQ(lzwEncode(bytesOf("abc"), output), kLzwOutOfMemory);
    const RecordedMessage expected{"Impossible d'allouer la memoire", "information"};
    EXPECT_EQ(fakePlatform().messages, (std::vector<RecordedMessage>{expected, expected}));
    // The failure is for one call only.
    EXPECT_EQ(decode({0x30, 0xC0, 0x00}, output), kLzwOk);
}

struct RoundTripCase {
    const char* name;
    Bytes source;
};

std::vector<RoundTripCase> roundTripCases() {
    std::vector<RoundTripCase> cases = {
        {"one byte", {0x61}},
        {"two equal bytes", {0x00, 0x00}},
        {"every byte value", {}},
        {"one long run", Bytes(65535, 0xE9)},
        {"quiz-like text", quizLikeText(60000, 1)},
        {"short quiz-like text", quizLikeText(300, 2)},
    };
    cases[2].source.resize(256);
    std::iota(cases[2].source.begin(), cases[2].source.end(), 0);
    // Small alphabets fill the dictionary fast and force resets; larger ones force widening.
    uint32_t seed = 10;
    for (uint32_t alphabet : {2u, 3u, 4u, 16u, 26u})
        for (size_t length : {1u, 17u, 4000u, 20000u, 65535u})
            cases.push_back({"random", randomBytes(length, alphabet, seed++)});
    cases.push_back({"incompressible but small", randomBytes(20000, 256, 99)});
    return cases;
}

TEST_F(LzwCodecTest, RoundTripsAndMatchesThePlainCompressor) {
    for (const RoundTripCase& c : roundTripCases()) {
        SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(c.source.size()) + " bytes");
        Bytes stream, decoded;
        LzwResult encoded = lzwEncode(c.source, stream);
        Bytes reference = referenceEncode(c.source);
        if (reference.size() > kLzwEncodeCapacity) {
            EXPECT_EQ(encoded, kLzwOverLimit);
            continue;
        }
        ASSERT_EQ(encoded, kLzwOk);
        EXPECT_EQ(stream, reference);
        ASSERT_EQ(lzwDecode(stream, decoded), kLzwOk);
        EXPECT_EQ(decoded, c.source);
    }
}

// Walks a stream's codes as the decoder reads them and counts the control codes.
struct ControlCodeCount {
    int widen = 0;
    int reset = 0;
};

ControlCodeCount countControlCodes(const Bytes& stream) {
    ControlCodeCount count;
    uint32_t width = 9;
    uint64_t bitPosition = 0;
    auto read = [&](uint32_t& code) {
        if (bitPosition + width > stream.size() * 8)
            return false;
        code = 0;
        for (uint32_t i = 0; i < width; ++i, ++bitPosition)
            code = (code << 1) | ((stream[bitPosition / 8] >> (7 - bitPosition % 8)) & 1);
        return true;
    };
    uint32_t code = 0;
    while (read(code) && code != 256) {
        if (code == 257) {
            ++count.widen;
            ++width;
        } else if (code == 258) {
            ++count.reset;
            width = 9;
        }
    }
    return count;
}

TEST_F(LzwCodecTest, LongSourcesWidenAndReset) {
    // Guards the round-trip table: its long sources must reach both control codes.
    Bytes stream;
    ASSERT_EQ(lzwEncode(randomBytes(65535, 2, 1234), stream), kLzwOk);
    ControlCodeCount count = countControlCodes(stream);
    EXPECT_GE(count.reset, 1);
    EXPECT_GE(count.widen, 3 * count.reset);
}

} // namespace
