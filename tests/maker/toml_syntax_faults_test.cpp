#include "maker/toml_syntax_faults.h"
#include "tests/maker/maker_test_support.h"

#include <toml++/toml.h>

namespace {

TEST(TomlSyntaxFaults, NamesTheAuthorsFaultOnItsLine) {
    const struct {
        const char* toml;
        int line;
        const char* message;
    } rows[] = {
        {"title = \"Paris\n[[question]]\n", 1,
         "the text opened with \" is not closed on this line"},
        {"a = 1\nb = 'x\n", 2, "the text opened with ' is not closed on this line"},
        {"a = \"\"\"x\ny\n", 1, "the text opened with \"\"\" is never closed"},
        {"a = \"x \\\" y\n", 1, "the text opened with \" is not closed on this line"},
        {"[[question]]\nanswer \"Tour\"\n", 2, "'=' is missing after the key"},
        {"# x\n\nanswer\n", 3, "'=' is missing after the key"},
        {"= \"x\"\n", 1, "a key is missing before '='"},
        {"answer = Tour Eiffel\n", 1, "a text goes in double quotes"},
        {"answer =\n", 1, "a value is missing after '='"},
        {"answer = \"Tour\" Eiffel\n", 1, "stray text after the value"},
        {"answer = \"Tour\"\"\n", 1, "stray text after the value"},
        {"codes = [\"A\"\n  \"B\"]\n", 2, "a ',' is missing between two items of the list"},
        {"codes = [\"A\",\n  \"B\n]\n", 2, "the text opened with \" is not closed on this line"},
        {"codes = [\"A\", B]\n", 1, "a text goes in double quotes"},
        {"codes = [\"A\",\n", 2, "the list opened with [ is never closed"},
        {"t = { a = \"x\" b = 1 }\n", 1, "a ',' or '}' is missing"},
    };
    for (const auto& row : rows) {
        const std::optional<SyntaxFault> fault = findAuthorSyntaxFault(row.toml, 100);
        ASSERT_TRUE(fault) << row.toml;
        EXPECT_EQ(fault->line, row.line) << row.toml;
        EXPECT_THAT(fault->message, StartsWith(row.message)) << row.toml;
    }
    // Only up to the line the parser stopped at.
    EXPECT_FALSE(findAuthorSyntaxFault("a = 1\nb = c\n", 1));
}

TEST(TomlSyntaxFaults, FindsNoneInWhatTheParserReads) {
    std::vector<std::string> sources = {
        "\xEF\xBB\xBFtitle = \"Paris\" # comment\n",
        "a = \"x \\\" y\" # \"\n'b.c' . d = 'it s'\n",
        "a = \"\"\"\nline \"quoted\"\nend\"\"\"\"\nb = '''x\ny'''\n",
        "codes = [\n  \"A\", # one\n  \"B\",\n]\nn = [1, 2.5, -3, +4, true, false, inf, nan]\n",
        "t = { a = \"x\", b = [1, { c = 2 }] }\n[table]\n[[array.of.tables]]\nx = 1979-05-27\n",
        "a = []\nb = {}\r\nc = 0x1F\n",
    };
    for (const fs::path& sample :
         fs::directory_iterator(fs::path(PLIMO_MAKER_TEST_DATA) / "../../../samples"))
        if (fs::exists(sample / "quiz.toml"))
            sources.push_back(readFileContent(sample / "quiz.toml"));
    ASSERT_GT(sources.size(), 6u);
    for (const std::string& source : sources) {
        ASSERT_NO_THROW((void)toml::parse(source)) << source;
        EXPECT_EQ(findAuthorSyntaxFault(source, 100000), std::nullopt) << source;
    }
}

} // namespace
