#include "maker/toml_guard.h"

#include "maker/cp1252.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

bool isAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

// toml++ makes one table for each part of a dotted key or table header, and makes and frees
// them by recursion: a key of thousands of parts ends the maker without a word. Arrays and
// inline tables it stops itself at this depth; keys stop at the same.
constexpr int kMaxKeyDepth = 256;

// How deep among tables the key being read lies: the parts of the table header above it, of the
// keys of the inline tables around it and its own. Follows the characters outside texts and
// comments; a quoted part ("a.b") is read as a text, so only the dots between parts are seen.
class KeyDepth {
  public:
    // False once a key or header lies deeper than kMaxKeyDepth.
    bool follow(char c) {
        switch (expecting_) {
        case Expecting::kHeader:
            followHeader(c);
            break;
        case Expecting::kKey:
            followKey(c);
            break;
        case Expecting::kValue:
            followValue(c);
            break;
        }
        return !tooDeep_;
    }

  private:
    enum class Expecting { kKey, kHeader, kValue };
    // An inline table or an array, and how deep the table that its keys (or its tables' keys)
    // go in lies.
    struct Bracket {
        bool table;
        int depth;
    };

    int keyBase() const { return brackets_.empty() ? headerDepth_ : brackets_.back().depth; }
    bool inArray() const { return !brackets_.empty() && !brackets_.back().table; }

    void start(Expecting expecting) {
        expecting_ = expecting;
        parts_ = 1;
    }
    void checkDepth(int depth) { tooDeep_ = tooDeep_ || depth > kMaxKeyDepth; }

    void followHeader(char c) {
        if (c == '.') {
            checkDepth(++parts_);
        } else if (c == ']' || c == '\n') {
            headerDepth_ = parts_;
            start(Expecting::kKey);
        }
    }

    void followKey(char c) {
        if (c == '.') {
            checkDepth(keyBase() + ++parts_);
        } else if (c == '=') {
            valueDepth_ = keyBase() + parts_;
            checkDepth(valueDepth_);
            expecting_ = Expecting::kValue;
        } else if (c == '[' && brackets_.empty()) {
            start(Expecting::kHeader);
        } else if (c == '}' && !brackets_.empty()) {
            brackets_.pop_back();
            expecting_ = Expecting::kValue;
        } else if (c == '\n' && brackets_.empty()) {
            start(Expecting::kKey);
        }
    }

    void followValue(char c) {
        const int depth = inArray() ? brackets_.back().depth : valueDepth_;
        if (c == '{') {
            brackets_.push_back({true, depth});
            start(Expecting::kKey);
        } else if (c == '[') {
            brackets_.push_back({false, depth});
        } else if ((c == '}' || c == ']') && !brackets_.empty()) {
            brackets_.pop_back();
        } else if (c == ',' && !brackets_.empty() && brackets_.back().table) {
            start(Expecting::kKey);
        } else if (c == '\n' && brackets_.empty()) {
            start(Expecting::kKey);
        }
    }

    Expecting expecting_ = Expecting::kKey;
    int parts_ = 1;
    int headerDepth_ = 0;
    int valueDepth_ = 0; // of the key whose value is being read
    std::vector<Bracket> brackets_;
    bool tooDeep_ = false;
};

class AsciiWriter {
  public:
    explicit AsciiWriter(std::string_view text) : text_(text) {}

    AsciiToml run() {
        if (text_.starts_with("\xEF\xBB\xBF"))
            position_ = 3;
        while (more()) {
            const char c = text_[position_];
            if (c == '#')
                comment();
            else if (c == '"')
                basicText();
            else if (c == '\'')
                literalText();
            else if (isAscii(c))
                structure(c);
            else if (char32_t ignored; decode(ignored))
                fail("\"" + lastCharacter() +
                     "\" outside quotes: keys are ASCII letters, digits, '_' and '-', and texts "
                     "go in double quotes");
        }
        return result_;
    }

  private:
    bool more() const { return position_ < text_.size() && result_.problem.empty(); }
    bool at(size_t position, std::string_view delimiter) const {
        return text_.substr(std::min(position, text_.size())).starts_with(delimiter);
    }

    void copy(size_t count) {
        for (; count > 0 && position_ < text_.size(); --count) {
            if (text_[position_] == '\n')
                ++line_;
            result_.text.push_back(text_[position_++]);
        }
    }

    // A character outside texts and comments: how deep its key lies is followed.
    void structure(char c) {
        if (!keyDepth_.follow(c))
            fail("key nested more than " + std::to_string(kMaxKeyDepth) + " deep");
        else
            copy(1);
    }

    void fail(std::string problem) {
        result_.line = line_;
        result_.problem = std::move(problem);
    }

    // Reads the character at the position; false, with the problem, when it is not UTF-8.
    bool decode(char32_t& character) {
        start_ = position_;
        if (decodeUtf8(text_, position_, character))
            return true;
        fail("holds bytes that are not valid UTF-8");
        return false;
    }
    std::string lastCharacter() const {
        return std::string(text_.substr(start_, position_ - start_));
    }

    // A character of a text: ASCII as it is, any other as the escape that stands for it.
    void textCharacter() {
        char32_t character;
        if (isAscii(text_[position_])) {
            copy(1);
        } else if (decode(character)) {
            char escape[16];
            snprintf(escape, sizeof escape, character <= 0xFFFF ? "\\u%04X" : "\\U%08X",
                     static_cast<unsigned>(character));
            result_.text += escape;
        }
    }

    // What a comment says is of no matter to the quiz: only its ASCII is kept.
    void comment() {
        while (more() && text_[position_] != '\n') {
            char32_t ignored;
            if (isAscii(text_[position_]))
                copy(1);
            else
                decode(ignored);
        }
    }

    // Up to two quotes before the delimiter that ends a multi-line text still belong to the
    // text ("""a""""" holds a""): how many follow a delimiter at `end`.
    size_t quotesBeforeTheEnd(size_t end, std::string_view delimiter) const {
        size_t extra = 0;
        while (extra < 2 && at(end + extra + 1, delimiter))
            ++extra;
        return extra;
    }

    void basicText() {
        const std::string_view delimiter = at(position_, "\"\"\"") ? "\"\"\"" : "\"";
        const bool multiLine = delimiter.size() == 3;
        copy(delimiter.size());
        while (more()) {
            const char c = text_[position_];
            if (c == '\n' && !multiLine)
                return; // toml++ reports the text left open
            if (at(position_, delimiter)) {
                copy(delimiter.size() + (multiLine ? quotesBeforeTheEnd(position_, delimiter) : 0));
                return;
            }
            if (c == '\\')
                escapeSequence();
            else
                textCharacter();
        }
    }

    void escapeSequence() {
        copy(1);
        char32_t ignored;
        if (!more() || text_[position_] == '\n')
            return;
        if (isAscii(text_[position_]))
            copy(1);
        else if (decode(ignored))
            fail("\"\\" + lastCharacter() +
                 "\" is no escape sequence: write a backslash in a text as \"\\\\\"");
    }

    // A literal text is copied as it is; one with a character beyond ASCII becomes the basic
    // text of the same value, where that character can be escaped.
    void literalText() {
        const std::string_view delimiter = at(position_, "'''") ? "'''" : "'";
        const bool multiLine = delimiter.size() == 3;
        const size_t begin = position_ + delimiter.size();
        size_t end = begin; // of the content
        while (end < text_.size() && !at(end, delimiter) && (multiLine || text_[end] != '\n'))
            ++end;
        const bool closed = at(end, delimiter);
        if (closed && multiLine)
            end += quotesBeforeTheEnd(end, delimiter);
        const size_t after = closed ? end + delimiter.size() : end;
        const std::string_view content = text_.substr(begin, end - begin);
        if (std::all_of(content.begin(), content.end(), isAscii)) {
            copy(after - position_);
            return;
        }
        const std::string_view basic = multiLine ? "\"\"\"" : "\"";
        result_.text += basic;
        position_ = begin;
        while (more() && position_ < end) {
            if (text_[position_] == '\\' || text_[position_] == '"')
                result_.text += '\\';
            textCharacter();
        }
        if (closed && more()) {
            result_.text += basic;
            position_ = after;
        }
    }

    std::string_view text_;
    size_t position_ = 0;
    size_t start_ = 0; // of the character last decoded
    int line_ = 1;
    KeyDepth keyDepth_;
    AsciiToml result_;
};

} // namespace

AsciiToml asciiToml(std::string_view toml) {
    return AsciiWriter(toml).run();
}
