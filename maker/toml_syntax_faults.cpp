#include "maker/toml_syntax_faults.h"

#include <array>

namespace {

bool isBareKeyCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Reads the text as the parser would, far enough to name the first fault in an author's words.
// Lists and tables may nest as deep as the source guard lets them: no deeper is followed.
class FaultFinder {
  public:
    FaultFinder(std::string_view text, int lastLine) : text_(text), lastLine_(lastLine) {}

    std::optional<SyntaxFault> run() {
        while (!fault_ && at_ < text_.size() && line_ <= lastLine_)
            statement();
        if (fault_ && fault_->line > lastLine_)
            return std::nullopt;
        return fault_;
    }

  private:
    static constexpr int kDeepest = 300;

    char peek(size_t ahead = 0) const {
        return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\n';
    }
    bool atEnd() const { return at_ >= text_.size(); }
    bool at(std::string_view what) const { return text_.substr(at_).starts_with(what); }
    void advance() {
        if (!atEnd() && text_[at_++] == '\n')
            ++line_;
    }
    void fail(std::string message, int line = 0) {
        if (!fault_)
            fault_ = SyntaxFault{line > 0 ? line : line_, std::move(message)};
    }

    void skipSpaces() {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\r'))
            advance();
    }
    void skipComment() {
        while (!atEnd() && peek() != '\n')
            advance();
    }
    // Inside a list, items may be spread over lines with comments between them.
    void skipSpacesAndLines() {
        for (;;) {
            skipSpaces();
            if (peek() == '#')
                skipComment();
            if (atEnd() || peek() != '\n')
                return;
            advance();
        }
    }
    bool atLineEnd() const { return atEnd() || peek() == '\n' || peek() == '#'; }

    void statement() {
        skipSpaces();
        if (atLineEnd()) {
            skipComment();
            advance();
            return;
        }
        if (peek() == '[') { // a table header; the parser's words serve there
            skipComment();
            return;
        }
        if (!keyAndEquals() || !value(0))
            return;
        skipSpaces();
        if (!atLineEnd())
            fail("stray text after the value: a text goes whole inside one pair of quotes");
        skipComment();
    }

    // key = , the key bare, quoted or dotted.
    bool keyAndEquals() {
        for (;;) {
            skipSpaces();
            if (peek() == '"' || peek() == '\'') {
                if (!singleLineText(peek()))
                    return false;
            } else if (isBareKeyCharacter(peek())) {
                while (isBareKeyCharacter(peek()))
                    advance();
            } else {
                fail("a key is missing before '='");
                return false;
            }
            skipSpaces();
            if (peek() == '=') {
                advance();
                return true;
            }
            if (peek() != '.') {
                fail("'=' is missing after the key: write it as key = value");
                return false;
            }
            advance();
        }
    }

    // A text on one line, `quote` at the position; false once the line ends inside it.
    bool singleLineText(char quote) {
        const int opened = line_;
        advance();
        while (!atEnd() && peek() != '\n' && peek() != quote) {
            if (quote == '"' && peek() == '\\')
                advance();
            if (peek() != '\n')
                advance();
        }
        if (peek() != quote) {
            fail(std::string("the text opened with ") + quote + " is not closed on this line",
                 opened);
            return false;
        }
        advance();
        return true;
    }

    bool multiLineText(std::string_view quotes) {
        const int opened = line_;
        for (size_t i = 0; i < quotes.size(); ++i)
            advance();
        while (!atEnd() && !at(quotes)) {
            if (quotes[0] == '"' && peek() == '\\')
                advance();
            advance();
        }
        if (atEnd()) {
            fail("the text opened with " + std::string(quotes) + " is never closed", opened);
            return false;
        }
        for (size_t i = 0; i < quotes.size(); ++i)
            advance();
        // More quotes may close it: up to two of them belong to the text.
        for (int i = 0; i < 2 && peek() == quotes[0]; ++i)
            advance();
        return true;
    }

    bool value(int depth) {
        skipSpaces();
        const char c = peek();
        if (atLineEnd()) {
            fail("a value is missing after '='");
            return false;
        }
        if (at("\"\"\"") || at("'''"))
            return multiLineText(text_.substr(at_, 3));
        if (c == '"' || c == '\'')
            return singleLineText(c);
        if (c == '[' || c == '{')
            return depth < kDeepest && (c == '[' ? list(depth) : table(depth));
        if (isLetter(c) && !at("true") && !at("false") && !at("inf") && !at("nan")) {
            fail("a text goes in double quotes: \"like this\"");
            return false;
        }
        while (!atLineEnd() && peek() != ',' && peek() != ']' && peek() != '}' && peek() != ' ' &&
               peek() != '\t' && peek() != '\r')
            advance();
        return true;
    }

    bool list(int depth) {
        advance();
        for (;;) {
            skipSpacesAndLines();
            if (peek() == ']') {
                advance();
                return true;
            }
            if (atEnd()) {
                fail("the list opened with [ is never closed");
                return false;
            }
            if (!value(depth + 1))
                return false;
            skipSpacesAndLines();
            if (peek() == ',') {
                advance();
            } else if (peek() != ']') {
                fail("a ',' is missing between two items of the list");
                return false;
            }
        }
    }

    bool table(int depth) {
        advance();
        skipSpaces();
        while (peek() != '}') {
            if (!keyAndEquals() || !value(depth + 1))
                return false;
            skipSpaces();
            if (peek() == ',')
                advance();
            else if (peek() != '}') {
                fail("a ',' or '}' is missing after a value of the table in braces");
                return false;
            }
            skipSpaces();
        }
        advance();
        return true;
    }

    std::string_view text_;
    int lastLine_;
    size_t at_ = 0;
    int line_ = 1;
    std::optional<SyntaxFault> fault_;
};

} // namespace

std::optional<SyntaxFault> findAuthorSyntaxFault(std::string_view toml, int lastLine) {
    if (toml.starts_with("\xEF\xBB\xBF"))
        toml.remove_prefix(3);
    return FaultFinder(toml, lastLine).run();
}
