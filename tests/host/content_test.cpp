#include "content/lzw_codec.h"
#include "content/quiz_text.h"
#include "tests/support/platform_fake.h"
#include "tests/support/quiz_text_builder.h"
#include "tests/support/sample_texts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <numeric>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// Writes streams code by code, also ones the compressor never would (bad codes, no end code).
struct Stream {
    Bytes bytes;
    uint64_t bits = 0;
    uint32_t width = 9;
    int widenings = 0, resets = 0;

    Stream& code(uint32_t value) {
        for (uint32_t bit = width; bit-- > 0; ++bits) {
            if (bits % 8 == 0)
                bytes.push_back(0);
            bytes.back() |= static_cast<uint8_t>(((uint64_t{value} >> bit) & 1) << (7 - bits % 8));
        }
        return *this;
    }
    Stream& widen() { return ++widenings, code(257), ++width, *this; }
    Stream& reset() { return ++resets, code(258), width = 9, *this; }
    Stream& end() { return code(256); }
    Stream& codeWidening(uint32_t value) {
        while (value >= (uint64_t{1} << width))
            widen();
        return code(value);
    }
};

// A plain compressor over whole strings; the real one must write exactly the same stream.
Stream referenceEncode(const Bytes& source) {
    std::map<std::string, uint32_t> entries;
    uint32_t next = 259;
    Stream out;
    auto codeOf = [&](const std::string& s) { return s.size() == 1 ? uint8_t(s[0]) : entries[s]; };
    std::string current(1, char(source[0]));
    for (size_t i = 1; i < source.size(); ++i) {
        const std::string extended = current + char(source[i]);
        if (entries.count(extended)) {
            current = extended;
            continue;
        }
        entries[extended] = next++;
        out.codeWidening(codeOf(current));
        current = std::string(1, char(source[i]));
        if (next == 4096) {
            out.reset();
            entries = {{extended, 259}}; // the entry being added survives the reset
            next = 260;
        }
    }
    out.codeWidening(codeOf(current)).end();
    return out;
}

Bytes randomBytes(size_t length, uint32_t alphabet, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes bytes(length);
    for (auto& b : bytes)
        b = static_cast<uint8_t>((alphabet > 200 ? 0 : 'A') + random() % alphabet);
    return bytes;
}

TEST(LzwCodec, DecodesAndRefusesStreams) {
    Stream manyEntries, tooWide, growing;
    for (int i = 0; i < 1 + (4096 - 259) + 1; ++i)
        manyEntries.code('a');
    while (tooWide.code('a').width <= 32)
        tooWide.widen();
    // Each code repeats the newest entry, one byte longer each time: 1 + 2 + ... + 489 bytes,
    // then literals up to the decoder's 120000 bytes.
    growing.code('a');
    for (uint32_t entry = 259; entry < 259 + 488; ++entry)
        growing.codeWidening(entry);
    for (size_t i = 0; i < 120000 - 489 * 490 / 2; ++i)
        growing.code('a');
    const struct {
        Bytes stream;
        LzwResult result;
        std::string output = "";
    } cases[] = {
        // clang-format off
        // A widening the compressor would not write yet; after the reset 'C' is read at 9 bits and
        // BC is entry 259 again.
        {{0x30, 0xC0, 0x00}, kLzwOk, "a"}, {Stream().code('A').code(259).end().bytes, kLzwOk, "AAA"},
        {Stream().code('A').widen().code('B').reset().code('C').code(259).end().bytes, kLzwOk, "ABCBC"},
        {{}, kLzwNoInput}, {{0x30}, kLzwNoInput}, {{0x30, 0xC0}, kLzwCorrupt},
        {Stream().code('a').code('b').bytes, kLzwCorrupt}, {Bytes(65536, 0), kLzwOverLimit},
        {Stream().code('a').code(260).end().bytes, kLzwCorrupt}, {manyEntries.end().bytes, kLzwCorrupt},
        {tooWide.code('b').end().bytes, kLzwCorrupt}, {Stream(growing).end().bytes, kLzwOk, std::string(120000, 'a')},
        {growing.code('a').end().bytes, kLzwOverLimit},
        // clang-format on
    };
    for (const auto& c : cases) {
        Bytes output{1};
        EXPECT_EQ(lzwDecode(c.stream, output), c.result) << c.stream.size();
        if (c.result != kLzwCorrupt) // nothing kept past the limit
            EXPECT_EQ(output, bytesOf(c.output)) << c.stream.size();
    }
    Bytes output;
    EXPECT_EQ(lzwEncode(Bytes{}, output), kLzwNoInput);
    resetFakePlatform();
    lzwFailNextOutputAllocationForTesting();
    const LzwResult decoded = lzwDecode(Bytes{0x30, 0xC0, 0x00}, output);
    lzwFailNextOutputAllocationForTesting();
    // One failure only, each with its message box.
    EXPECT_EQ((std::tuple{decoded, lzwEncode(bytesOf("abc"), output),
                          lzwDecode(Bytes{0x30, 0xC0, 0x00}, output), fakePlatform().messages}),
              (std::tuple{kLzwOutOfMemory, kLzwOutOfMemory, kLzwOk,
                          decltype(fakePlatform().messages)(
                              2, {"Impossible d'allouer la memoire", "information"})}));
}

TEST(LzwCodec, RoundTripsAndMatchesThePlainCompressor) {
    // clang-format off
    std::vector<Bytes> sources = {Bytes(256), {0x61}, {0, 0}, Bytes(65535, 0xE9), quizLikeText(60000, 1),
                                  quizLikeText(300, 2), randomBytes(20000, 256, 9),
                                  Bytes(65536, 'a'), randomBytes(40000, 256, 7)};
    // clang-format on
    std::iota(sources[0].begin(), sources[0].end(), 0);
    // Small alphabets fill the dictionary fast and force resets; larger ones force widening.
    for (uint32_t alphabet : {2u, 3u, 16u, 26u})
        for (size_t length : {1u, 17u, 4000u, 65535u})
            sources.push_back(randomBytes(length, alphabet, alphabet + length));
    int widenings = 0, resets = 0;
    for (const Bytes& source : sources) {
        SCOPED_TRACE(std::to_string(source.size()) + " bytes from " + std::to_string(source[0]));
        Bytes stream, decoded;
        const Stream reference = referenceEncode(source);
        widenings += reference.widenings;
        resets += reference.resets;
        // Random bytes do not compress: 40000 of them need more than the 32768-byte stream.
        const bool fits = reference.bytes.size() <= kLzwEncodeCapacity && source.size() < 65536;
        ASSERT_EQ(lzwEncode(source, stream), fits ? kLzwOk : kLzwOverLimit);
        EXPECT_EQ(stream, fits ? reference.bytes : Bytes{});
        EXPECT_EQ(lzwDecode(stream, decoded), fits ? kLzwOk : kLzwNoInput);
        EXPECT_EQ(decoded, fits ? source : Bytes{});
    }
    EXPECT_GT(resets, 3);
    EXPECT_GT(widenings, 3 * resets);
}

class QuizRecordTest : public testing::Test {
  protected:
    void SetUp() override { record.reset(), resetFakePlatform(), record.reset(new QuizRecord); }
    // The texts, then media kind, question count, answer fields and reward kind, then the colour
    // and the background brush's colour.
    std::string summary() const {
        const QuizRecord& r = *record;
        std::string text = r.title + ("|" + std::string(r.creator)) + "|" + r.explanation + "|" +
                           r.answerLabel1 + "|" + r.answerLabel2 + "|";
        for (const QuestionNode* q = r.questions.firstQuestion; q; q = q->next)
            text += q->answer1 + ("|" + std::string(q->answer2)) + "|" + q->questionText + "|" +
                    q->rewardText + "|";
        const auto b = fakePlatform().liveBrushes.at(r.backgroundBrush);
        char numbers[64];
        snprintf(numbers, sizeof numbers, "%d %d %d %d %02X%02X%02X/%02X%02X%02X", r.mediaKind,
                 r.questionCount, r.answerFieldCount, r.rewardKind, r.colourRed, r.colourGreen,
                 r.colourBlue, b[0], b[1], b[2]);
        return text + numbers;
    }

    static constexpr const char* kFresh = "nom du plimo| createur||||0 2 1 0 5A5F96/5A5F96";
    std::unique_ptr<QuizRecord> record;
};

TEST_F(QuizRecordTest, ConstructionItsObjectsAndItsList) {
    EXPECT_EQ(summary(), kFresh);
    const QuizRecord& r = *record;
    const std::array<uint8_t, 3> colours[] = {
        {255, 0, 0}, {0, 255, 0}, {255, 100, 0}, {255, 203, 38}, {255, 255, 192}};
    for (int i = 0; HBRUSH brush :
                    {r.wrongBrush, r.rightBrush, r.anagramBrush, r.nearBrush, r.questionTextBrush})
        EXPECT_EQ(fakePlatform().liveBrushes.at(brush), colours[i++]);
    EXPECT_EQ(questionAt(*record, 0), nullptr);
    for (const char* answer : {"one", "two", "three"})
        addQuestion(*record, answer, "", "");
    EXPECT_STREQ(questionAt(*record, 95)->answer1, "three");
    record->questions.clear();
    addQuestion(*record, "four", "", "");
    EXPECT_EQ(questionAt(*record, 1), record->questions.firstQuestion);

    record->answerFont = createFont({.height = 15, .weight = 100});
    applyQuizColour(*record, 0x10, 0x20, 0x30);
    EXPECT_EQ(summary(), "nom du plimo| createur||||four||||0 2 1 0 102030/102030");
    EXPECT_EQ(fakePlatform().liveBrushes.size(), 6u) << "the replaced brush is deleted";
    record.reset();
    EXPECT_EQ(fakePlatform().liveBrushes.size() + fakePlatform().liveFonts.size(), 0u);
    EXPECT_EQ(fakePlatform().doubleDeletes, 0);
}

TEST_F(QuizRecordTest, QuizTextIsReadWholeOrNotAtAll) {
    // Two questions with two answer fields each and message rewards.
    QuizTextBuilder quiz(2, 2, 2);
    quiz.field("Monuments").field("Jeanne").field("Trouvez les noms").field("Ville").field("Pays");
    quiz.field("PARIS").field("FRANCE").field("").field("ROME").field("ITALIE").field("Q2");
    quiz.byte(kRewardMessage).field("Bien vu").field("hidden").field("Encore").field("hidden");
    Bytes whole = quiz.colour(0x10, 0x20, 0x30).bytes();
    for (size_t length = 0; length < whole.size(); ++length) {
        SetUp();
        EXPECT_EQ((std::pair{parseQuizText({whole.data(), length}, *record), summary()}),
                  (std::pair{QuizTextStatus::kTruncated, std::string(kFresh)}))
            << length << " bytes";
    }
    whole.insert(whole.end(), {'|', 0, 0xFF}); // bytes after the colour are ignored
    ASSERT_EQ(parseQuizText(whole, *record), QuizTextStatus::kOk);
    EXPECT_EQ(summary(), "Monuments|Jeanne|Trouvez les noms|Ville|Pays|PARIS|FRANCE||Bien vu|ROME|"
                         "ITALIE|Q2|Encore|1 2 2 3 102030/102030");
}

// Headers and reward blocks of generated quizzes (with no codes), and code lists given to a
// fresh record announcing `questions` (with a header of 0).
TEST_F(QuizRecordTest, QuizTextHeadersRewardBlocksAndCodes) {
    using enum QuizTextStatus;
    const std::string bees(259, 'B');
    std::string twoHundred, cees;
    for (int i = 0; i < 200; ++i)
        twoHundred += "C\r\n", cees += i < 96 ? "C|" : "";
    const struct {
        uint8_t media, questions, fields, reward;
        int rewardTexts;
        QuizTextStatus status;
        std::string kept = "", codes = "";
    } cases[] = {
        // clang-format off
        {1, 1, 1, 0, 0, kOk, ""},   {0, 1, 1, 1, 0, kOk, ""},     {4, 1, 1, 2, 1, kOk, "R0"},
        {5, 1, 2, 3, 2, kOk, "R0"}, {255, 1, 1, 4, 1, kOk, "R0"}, {2, 1, 1, 5, 0, kOk, ""},
        {2, 96, 1, 255, 0, kOk, ""}, {2, 96, 2, 0, 0, kOk, ""},
        {2, 97, 1, 0, 0, kTooManyQuestions}, {2, 255, 2, 0, 0, kTooManyQuestions},
        {2, 3, 0, 0, 0, kBadAnswerFieldCount}, {2, 3, 3, 0, 0, kBadAnswerFieldCount},
        {0, 3, 0, 0, 0, kOk, "UN|DEUX|TROIS|", "UN\r\nDEUX\r\nTROIS\r\nQUATRE\r\n"},
        {0, 3, 0, 0, 0, kOk, "ab|cd||", "ab\rXcd\r\n"}, {0, 3, 0, 0, 0, kOk, "ab\ncd|ef||", "ab\ncd\r\nef"},
        {0, 3, 0, 0, 0, kOk, "|||", ""}, {0, 3, 0, 0, 0, kOk, "||c|", "\r\n\r\nc\r"},
        {0, 3, 0, 0, 0, kOk, bees + "|next||", std::string(300, 'B') + "\r\nnext\r\n"},
        // Only a hand-made record announces more questions than the table holds.
        {0, 200, 0, 0, 0, kOk, cees, twoHundred},
        // clang-format on
    };
    for (const auto& c : cases) {
        SetUp();
        if (c.fields == 0 && c.status == kOk) {
            record->questionCount = c.questions;
            parseQuizCodes(bytesOf(c.codes), *record);
            std::string codes;
            for (int s = 0; s < std::min(c.questions, uint8_t(96)); ++s)
                codes += record->codes[s] + std::string("|");
            EXPECT_EQ(codes, c.kept);
            continue;
        }
        QuizTextBuilder quiz(c.media, c.questions, c.fields);
        quiz.field(std::string(1000, 'T')).field("").field("").field("").field("");
        for (int q = 0; q < c.questions; ++q)
            c.fields == 2 ? quiz.field("A").field(bees + "BB").field("Q")
                          : quiz.field("A").field(bees);
        quiz.byte(c.reward);
        for (int i = 0; i < c.questions * c.rewardTexts; ++i)
            quiz.field("R" + std::to_string(i % c.rewardTexts));
        ASSERT_EQ(parseQuizText(quiz.colour(0xAA, 0xBB, 0xCC).bytes(), *record), c.status)
            << int(c.questions);
        const std::string got = summary(), first = std::string(259, 'T') + "|||||A|" +
                                                   (c.fields == 1 ? "|" + bees : bees + "|Q") +
                                                   "|" + c.kept;
        char numbers[32];
        snprintf(numbers, sizeof numbers, "|%d %d %d %d AABBCC/AABBCC", c.media - 1, c.questions,
                 c.fields, c.reward);
        EXPECT_TRUE(c.status == kOk ? got.starts_with(first) && got.ends_with(numbers)
                                    : got == kFresh)
            << got.substr(0, 300) << "..." << got.substr(got.size() - 30);
    }
}

TEST_F(QuizRecordTest, DefaultQuiz) {
    loadDefaultQuiz(*record);
    EXPECT_EQ(summary(), "Nom du plimo|Createur plimo|Explications du plimo|TEST|TEST|test|test|"
                         "emplacement||test|test|emplacement||1 7 2 3 35CBA3/35CBA3");
    EXPECT_STREQ(record->codes[0], "");
    // Seven questions announced, two nodes held: questions 2 to 7 read the second node.
    EXPECT_EQ(questionAt(*record, 6), record->questions.lastQuestion);
}

} // namespace
