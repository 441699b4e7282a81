#include "maker/cp1252.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

struct Encoded {
    const char* name;
    std::string utf8;
    std::string cp1252;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const Encoded& row, std::ostream* out) {
    *out << row.name;
}

class Utf8ToCp1252 : public testing::TestWithParam<Encoded> {};

TEST_P(Utf8ToCp1252, GivesTheWindows1252Bytes) {
    const Cp1252Conversion conversion = utf8ToCp1252(GetParam().utf8);
    ASSERT_TRUE(conversion.ok()) << conversion.describe();
    EXPECT_EQ(conversion.text, GetParam().cp1252);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Utf8ToCp1252,
    testing::Values(
        Encoded{"ascii", "PARIS |~", "PARIS |~"}, Encoded{"e_acute", "\xC3\xA9", "\xE9"},
        Encoded{"euro", "\xE2\x82\xAC", "\x80"}, Encoded{"oe_ligature", "\xC5\x92", "\x8C"},
        Encoded{"y_diaeresis_capital", "\xC5\xB8", "\x9F"},
        Encoded{"right_quote", "\xE2\x80\x99", "\x92"},
        Encoded{"no_break_space", "\xC2\xA0", "\xA0"}, Encoded{"y_diaeresis", "\xC3\xBF", "\xFF"},
        Encoded{"undefined_0x81", "\xC2\x81", "\x81"},
        Encoded{"undefined_0x9D", "\xC2\x9D", "\x9D"},
        Encoded{"mixed", "Tr\xC3\xA8s bien \xE2\x80\x94 5\xE2\x82\xAC", "Tr\xE8s bien \x97 5\x80"},
        Encoded{"nul", std::string("a\0b", 3), std::string("a\0b", 3)}),
    [](const testing::TestParamInfo<Encoded>& info) { return info.param.name; });

struct Refused {
    const char* name;
    std::string utf8;
    Cp1252Problem problem;
    size_t offset;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const Refused& row, std::ostream* out) {
    *out << row.name;
}

class Utf8Refused : public testing::TestWithParam<Refused> {};

TEST_P(Utf8Refused, NamesTheProblemAndWhereItIs) {
    const Cp1252Conversion conversion = utf8ToCp1252(GetParam().utf8);
    EXPECT_EQ(conversion.problem, GetParam().problem);
    EXPECT_EQ(conversion.offset, GetParam().offset);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Utf8Refused,
    testing::Values(Refused{"cjk", "ab\xE4\xB8\xAD", Cp1252Problem::kNoCp1252Byte, 2},
                    Refused{"emoji", "\xF0\x9F\x98\x80", Cp1252Problem::kNoCp1252Byte, 0},
                    // 0x80 is the euro sign: the C1 character U+0080 itself has no byte.
                    Refused{"c1_with_a_defined_byte", "x\xC2\x80", Cp1252Problem::kNoCp1252Byte, 1},
                    Refused{"latin_extended", "\xC4\x9B", Cp1252Problem::kNoCp1252Byte, 0},
                    Refused{"cut_sequence", "ab\xC3", Cp1252Problem::kInvalidUtf8, 2},
                    Refused{"stray_continuation", "\x80", Cp1252Problem::kInvalidUtf8, 0},
                    Refused{"overlong_slash", "\xC0\xAF", Cp1252Problem::kInvalidUtf8, 0},
                    Refused{"overlong_three_bytes", "\xE0\x80\xAF", Cp1252Problem::kInvalidUtf8, 0},
                    Refused{"surrogate", "\xED\xA0\x80", Cp1252Problem::kInvalidUtf8, 0},
                    Refused{"past_unicode", "\xF4\x90\x80\x80", Cp1252Problem::kInvalidUtf8, 0},
                    Refused{"latin1_byte", "caf\xE9", Cp1252Problem::kInvalidUtf8, 3},
                    Refused{"bad_continuation", "\xC3(", Cp1252Problem::kInvalidUtf8, 0}),
    [](const testing::TestParamInfo<Refused>& info) { return info.param.name; });

TEST(Cp1252, DescribesACharacterWithoutAByte) {
    const std::string message = utf8ToCp1252("\xE4\xB8\xAD").describe();
    EXPECT_NE(message.find("\"\xE4\xB8\xAD\""), std::string::npos) << message;
    EXPECT_NE(message.find("U+4E2D"), std::string::npos) << message;
}

TEST(Cp1252, EveryByteSurvivesTheTripThroughUtf8) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    const Cp1252Conversion back = utf8ToCp1252(cp1252ToUtf8(all));
    ASSERT_TRUE(back.ok()) << back.describe();
    EXPECT_EQ(back.text, all);
}

TEST(Cp1252, GivesUnicodeForTheBytesThePlayerShows) {
    EXPECT_EQ(cp1252ToUtf8("\xE9"), "\xC3\xA9");
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(cp1252ToUtf8("\x9C"), "\xC5\x93");
    EXPECT_EQ(cp1252ToUtf8("\x8D"), "\xC2\x8D");
    EXPECT_EQ(cp1252ToUtf8("y a de l'id\xE9"
                           "e"),
              "y a de l'id\xC3\xA9"
              "e");
}

} // namespace
