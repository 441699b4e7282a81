#include "content/lzw_codec.h"
#include "content/quiz_text.h"
#include "tests/support/quiz_text_builder.h"
#include "tests/support/sample_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

using Bytes = std::vector<uint8_t>;

// Writes streams code by code, also ones the compressor never would (bad codes, no end code).
struct Stream {
    Bytes bytes;
    uint64_t bits = 0;
    uint32_t width = 9;

    Stream& code(uint32_t value) {
        for (uint32_t bit = width; bit-- > 0; ++bits) {
            if (bits % 8 == 0)
                bytes.push_back(0);
            bytes.back() |= static_cast<uint8_t>(((uint64_t{value} >> bit) & 1) << (7 - bits % 8));
        }
        return *this;
    }
    Stream& widen() { return code(257), ++width, *this; }
    Stream& reset() { return code(258), width = 9, *this; }
    Stream& end() { return code(256); }
    Stream& codeWidening(uint32_t value) {
        while (value >= (uint64_t{1} << width))
            widen();
        return code(value);
    }
};

// A plain compressor over whole strings; the real one must write exactly the same stream.
Bytes referenceEncode(const Bytes& source) {
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
    return out.codeWidening(codeOf(current)).end().bytes;
}

Bytes randomBytes(size_t length, uint32_t alphabet) {
    std::mt19937 random(alphabet + length);
    Bytes bytes(length);
    std::generate(bytes.begin(), bytes.end(), [&] { return uint8_t(random() % alphabet); });
    return bytes;
}

TEST(LzwCodec, DecodesAndRefusesStreams) {
    Stream full, tooWide, growing;
    for (int i = 0; i < 1 + (4096 - 259) + 1; ++i)
        full.code('a');
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
        {{0x30, 0xC0, 0x00}, kLzwOk, "a"}, {{}, kLzwNoInput}, {{0x30, 0xC0}, kLzwCorrupt},
        {Stream().code('A').code(259).end().bytes, kLzwOk, "AAA"}, {Bytes(65536, 0), kLzwOverLimit},
        // A widening the compressor would not write yet; after the reset 'C' is read at 9 bits
        // and BC is entry 259 again.
        {Stream().code('A').widen().code('B').reset().code('C').code(259).end().bytes, kLzwOk,
         "ABCBC"},
        {Stream().code('a').code(260).end().bytes, kLzwCorrupt}, {full.end().bytes, kLzwCorrupt},
        {tooWide.code('b').end().bytes, kLzwCorrupt},
        {Stream(growing).end().bytes, kLzwOk, std::string(120000, 'a')},
        {growing.code('a').end().bytes, kLzwOverLimit},
        // clang-format on
    };
    for (const auto& c : cases) {
        Bytes output{1};
        EXPECT_EQ(lzwDecode(c.stream, output), c.result) << c.stream.size();
        if (c.result != kLzwCorrupt) // nothing kept past the limit
            EXPECT_EQ(output, Bytes(c.output.begin(), c.output.end())) << c.stream.size();
    }
    Bytes output;
    EXPECT_EQ(lzwEncode(Bytes{}, output), kLzwNoInput);
    // The decoder's message box is checked with the player's own.
    lzwFailNextOutputAllocationForTesting();
    EXPECT_EQ(lzwEncode(Bytes{1, 2, 3}, output), kLzwOutOfMemory);
    EXPECT_EQ(lzwEncode(Bytes{1, 2, 3}, output), kLzwOk) << "one failure only";
}

// Small alphabets fill the dictionary fast and force resets; larger ones force widening, and
// random bytes do not compress: 65535 of them need more than the 32768-byte stream.
TEST(LzwCodec, RoundTripsAndMatchesThePlainCompressor) {
    // Seven codes and the end code fill nine bytes exactly: no byte is left to flush.
    std::vector<Bytes> sources{
        {1, 2, 3, 4, 5, 6, 7}, Bytes(65535, 0xE9), Bytes(65536, 'a'), quizLikeText(60000, 1)};
    for (uint32_t alphabet : {2u, 3u, 16u, 26u, 256u})
        for (size_t length : {17u, 4000u, 65535u})
            sources.push_back(randomBytes(length, alphabet));
    for (const Bytes& source : sources) {
        SCOPED_TRACE(std::to_string(source.size()) + " bytes from " + std::to_string(source[0]));
        Bytes stream, decoded;
        const Bytes reference = referenceEncode(source);
        const bool fits = reference.size() <= kLzwEncodeCapacity && source.size() < 65536;
        ASSERT_EQ(lzwEncode(source, stream), fits ? kLzwOk : kLzwOverLimit);
        EXPECT_EQ(stream, fits ? reference : Bytes{});
        EXPECT_EQ(lzwDecode(stream, decoded), fits ? kLzwOk : kLzwNoInput);
        EXPECT_EQ(decoded, fits ? source : Bytes{});
    }
}

// The texts, then media kind, question count, answer fields, reward kind and colour.
std::string summary(const QuizRecord& r) {
    std::string text = r.title + ("|" + std::string(r.creator)) + "|" + r.explanation + "|" +
                       r.answerLabel1 + "|" + r.answerLabel2 + "|";
    for (const QuestionNode* q = r.questions.firstQuestion; q; q = q->next)
        text += q->answer1 + ("|" + std::string(q->answer2)) + "|" + q->questionText + "|" +
                q->rewardText + "|";
    char numbers[32];
    snprintf(numbers, sizeof numbers, "%d %d %d %d %02X%02X%02X", r.mediaKind, r.questionCount,
             r.answerFieldCount, r.rewardKind, r.colourRed, r.colourGreen, r.colourBlue);
    return text + numbers;
}

const std::string kFresh = "nom du plimo| createur||||0 2 1 0 5A5F96";

TEST(QuizText, IsReadWholeOrNotAtAll) {
    // Two questions with two answer fields each and message rewards. The last question text is
    // long enough that what follows a cut inside it could pass for a reward kind and a colour.
    QuizTextBuilder quiz(2, 2, 2);
    quiz.field("Monuments").field("Jeanne").field("Trouvez les noms").field("Ville").field("Pays");
    quiz.field(std::string(300, 'P')).field("FRANCE").field("").field("ROME").field("ITALIE");
    quiz.field("Forum").byte(kRewardMessage).field("Bien vu").field("-").field("Encore").field("-");
    Bytes whole = quiz.colour(0x10, 0x20, 0x30).bytes();
    for (size_t length = 0; length < whole.size(); ++length) {
        QuizRecord record;
        EXPECT_EQ((std::pair{parseQuizText({whole.data(), length}, record), summary(record)}),
                  (std::pair{QuizTextStatus::kTruncated, kFresh}))
            << length << " bytes";
    }
    whole.insert(whole.end(), {'|', 0, 0xFF}); // bytes after the colour are ignored
    QuizRecord record;
    ASSERT_EQ(parseQuizText(whole, record), QuizTextStatus::kOk);
    EXPECT_EQ(summary(record), "Monuments|Jeanne|Trouvez les noms|Ville|Pays|" +
                                   std::string(259, 'P') +
                                   "|FRANCE||Bien vu|ROME|ITALIE|Forum|Encore|1 2 2 3 102030");
}

// Questions of one answer, then the reward kind, two texts "R0" and "R1", and the colour: a
// kind takes the texts it has, and the colour is read from what follows them.
TEST(QuizText, HeadersAndRewardBlocks) {
    using enum QuizTextStatus;
    // questions, answer fields, reward kind, status, end of the record's summary
    const std::tuple<uint8_t, uint8_t, uint8_t, QuizTextStatus, std::string> rows[] = {
        {1, 1, kRewardPicture, kOk, "T|||||A||Q||1 1 1 1 52307C"},
        {1, 1, kRewardText, kOk, "T|||||A||Q|R0|1 1 1 2 52317C"},
        {1, 1, kRewardFinal, kOk, "T|||||A||Q|R0|1 1 1 4 52317C"},
        {1, 1, 5, kOk, "T|||||A||Q||1 1 1 5 52307C"},
        {96, 1, kRewardNone, kOk, "|A||Q||A||Q||1 96 1 0 52307C"},
        {97, 1, kRewardNone, kTooManyQuestions, kFresh},
        {1, 3, kRewardNone, kBadAnswerFieldCount, kFresh},
    };
    for (const auto& [questions, fields, reward, status, summaryEnd] : rows) {
        QuizTextBuilder quiz(2, questions, fields);
        quiz.field("T").field("").field("").field("").field("");
        for (int q = 0; q < questions; ++q)
            quiz.field("A").field("Q");
        quiz.byte(reward).field("R0").field("R1").colour(0xAA, 0xBB, 0xCC);
        QuizRecord record;
        EXPECT_EQ(parseQuizText(quiz.bytes(), record), status) << summaryEnd;
        EXPECT_TRUE(summary(record).ends_with(summaryEnd)) << summary(record).substr(0, 99);
    }
}

// The first four codes read for a record of three questions: a code ends at a CR and the byte
// after it, or at the end of the text.
TEST(QuizText, CodeLines) {
    const std::pair<std::string, std::string> rows[] = {
        {"UN\r\nDEUX\r\nTROIS\r\nQUATRE\r\n", "UN|DEUX|TROIS||"},
        {"", "||||"},
        {"\r\nab\rXcd\r", "|ab|cd||"},
        {"ab\ncd\r\n" + std::string(300, 'B'), "ab\ncd|" + std::string(259, 'B') + "|||"},
    };
    for (const auto& [text, kept] : rows) {
        QuizRecord record;
        record.questionCount = 3;
        parseQuizCodes(Bytes(text.begin(), text.end()), record);
        EXPECT_EQ(record.codes[0] + ("|" + std::string(record.codes[1])) + "|" + record.codes[2] +
                      "|" + record.codes[3] + "|",
                  kept);
    }
}

// A record starts with no question node; the built-in quiz announces seven questions but holds
// two nodes, so questions 2 to 7 read the second one; a cleared list starts anew.
TEST(QuizText, DefaultQuizAndQuestionList) {
    QuizRecord record;
    EXPECT_EQ(questionAt(record, 0), nullptr);
    loadDefaultQuiz(record);
    EXPECT_EQ(summary(record), "Nom du plimo|Createur plimo|Explications du plimo|TEST|TEST|test|"
                               "test|emplacement||test|test|emplacement||1 7 2 3 35CBA3");
    EXPECT_EQ(questionAt(record, 6), record.questions.lastQuestion);
    record.questions.clear();
    EXPECT_EQ(questionAt(record, 0), nullptr);
    addQuestion(record, "", "", ""); // not linked to a freed node
}

} // namespace
