#include "maker/toml_guard.h"

#include "maker/cp1252.h"

namespace {

enum class Context { kBare, kComment, kBasic, kLiteral, kMultiLineBasic, kMultiLineLiteral };

class Scanner {
  public:
    explicit Scanner(std::string_view text) : text_(text) {}

    std::optional<StrayCharacter> run() {
        // Editors on Windows like to start a UTF-8 file with a byte order mark; TOML allows it.
        if (text_.starts_with("\xEF\xBB\xBF"))
            position_ = 3;
        for (; position_ < text_.size(); ++position_) {
            const char c = text_[position_];
            if (c == '\n') {
                ++line_;
                // Only multi-line strings go on past the end of a line.
                if (context_ != Context::kMultiLineBasic && context_ != Context::kMultiLineLiteral)
                    context_ = Context::kBare;
                continue;
            }
            if (context_ == Context::kBare && (static_cast<unsigned char>(c) & 0x80))
                return stray();
            step(c);
        }
        return std::nullopt;
    }

  private:
    void step(char c) {
        switch (context_) {
        case Context::kBare:
            if (c == '#')
                context_ = Context::kComment;
            else if (c == '"')
                context_ = opens("\"\"\"") ? Context::kMultiLineBasic : Context::kBasic;
            else if (c == '\'')
                context_ = opens("'''") ? Context::kMultiLineLiteral : Context::kLiteral;
            break;
        case Context::kComment:
            break;
        case Context::kBasic:
            if (c == '\\')
                skipEscaped();
            else if (c == '"')
                context_ = Context::kBare;
            break;
        case Context::kLiteral:
            if (c == '\'')
                context_ = Context::kBare;
            break;
        case Context::kMultiLineBasic:
            if (c == '\\')
                skipEscaped();
            else if (closes("\"\"\""))
                context_ = Context::kBare;
            break;
        case Context::kMultiLineLiteral:
            if (closes("'''"))
                context_ = Context::kBare;
            break;
        }
    }

    // At a delimiter that opens a multi-line string: moves onto its last character.
    bool opens(std::string_view delimiter) {
        if (text_.substr(position_, delimiter.size()) != delimiter)
            return false;
        position_ += delimiter.size() - 1;
        return true;
    }

    // A multi-line string ends at its delimiter, and up to two more quotes before it still
    // belong to the text ("""a""""" holds a"").
    bool closes(std::string_view delimiter) {
        if (!opens(delimiter))
            return false;
        for (int extra = 0;
             extra < 2 && position_ + 1 < text_.size() && text_[position_ + 1] == delimiter[0];
             ++extra)
            ++position_;
        return true;
    }

    // The character after a backslash is part of the text, a quote too; a line end is left to
    // be counted.
    void skipEscaped() {
        if (position_ + 1 < text_.size() && text_[position_ + 1] != '\n')
            ++position_;
    }

    StrayCharacter stray() const {
        size_t end = position_;
        char32_t ignored;
        if (!decodeUtf8(text_, end, ignored))
            end = position_ + 1;
        return {line_, std::string(text_.substr(position_, end - position_))};
    }

    std::string_view text_;
    size_t position_ = 0;
    int line_ = 1;
    Context context_ = Context::kBare;
};

} // namespace

std::optional<StrayCharacter> findNonAsciiOutsideQuotes(std::string_view toml) {
    return Scanner(toml).run();
}
