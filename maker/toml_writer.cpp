#include "maker/toml_writer.h"

#include "maker/cp1252.h"
#include "maker/printable.h"

#include <cstdio>

namespace {

std::string escapedUtf8(std::string_view utf8) {
    std::string out = "\"";
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        switch (c) {
        case '"':
            out += "\\\"";
            continue;
        case '\\':
            out += "\\\\";
            continue;
        case '\t':
            out += "\\t";
            continue;
        case '\n':
            out += "\\n";
            continue;
        case '\r':
            out += "\\r";
            continue;
        default:
            break;
        }
        // Control characters, and the C1 controls that stand for Windows-1252's undefined
        // bytes (0xC2 0x80..0x9F in UTF-8), are written as escapes so that they can be seen.
        const bool control = c < 0x20 || c == 0x7F;
        const bool c1 = c == 0xC2 && i + 1 < utf8.size() &&
                        static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(utf8[i + 1]) < 0xA0;
        if (control || c1) {
            const unsigned value = c1 ? static_cast<unsigned char>(utf8[++i]) : c;
            char escape[8];
            snprintf(escape, sizeof escape, "\\u%04X", value);
            out += escape;
            continue;
        }
        out.push_back(static_cast<char>(c));
    }
    return out + "\"";
}

void appendKey(std::string& out, std::string_view key, const std::string& value) {
    out.append(key).append(" = ").append(value).append("\n");
}

std::string textList(const std::vector<SourcedText>& texts) {
    std::string list = "[";
    for (size_t i = 0; i < texts.size(); ++i)
        list += (i ? ", " : "") + tomlString(texts[i].value);
    return list + "]";
}

} // namespace

std::string tomlString(std::string_view cp1252) {
    return escapedUtf8(cp1252ToUtf8(cp1252));
}

std::string writeQuizToml(const QuizSource& quiz, std::string_view comment) {
    std::string out;
    // The comment may name a file, whose name can hold a line feed or bytes that are not UTF-8:
    // escaped, it stays one comment that reads back.
    if (!comment.empty())
        out.append("# ").append(printable(comment)).append("\n");
    appendKey(out, "title", tomlString(quiz.title.value));
    appendKey(out, "creator", tomlString(quiz.creator.value));
    appendKey(out, "explanation", tomlString(quiz.explanation.value));
    appendKey(out, "layout", escapedUtf8(layoutWord(quiz.layout.value)));
    appendKey(out, "colour", escapedUtf8(colourText(quiz.colour.value)));
    const bool labelled =
        !quiz.answerLabels[0].value.empty() || !quiz.answerLabels[1].value.empty();
    if (labelled)
        appendKey(out, "answer_labels", textList({quiz.answerLabels[0], quiz.answerLabels[1]}));
    appendKey(out, "reward", escapedUtf8(rewardWord(quiz.reward.value)));
    if (!quiz.codes.empty()) {
        out += "codes = [\n";
        for (const SourcedText& code : quiz.codes)
            out += "    " + tomlString(code.value) + ",\n";
        out += "]\n";
    }

    const std::string_view mediaName = mediaKey(quiz.layout.value);
    for (const QuestionSource& question : quiz.questions) {
        out += "\n[[question]]\n";
        if (quiz.answerFieldCount == 1 && question.answers.size() == 1)
            appendKey(out, "answer", tomlString(question.answers[0].value));
        else
            appendKey(out, "answers", textList(question.answers));
        // Grid boards do not show the question text, but it is stored and kept.
        if (quiz.layout.value == kMediaTextList || !question.text.value.empty())
            appendKey(out, "text", tomlString(question.text.value));
        if (!mediaName.empty() && question.media.present())
            appendKey(out, mediaName, escapedUtf8(question.media.path));
        if (rewardHasText(quiz.reward.value))
            appendKey(out, "reward_text", tomlString(question.rewardText.value));
        if (quiz.reward.value == kRewardPicture && question.rewardPicture.present())
            appendKey(out, "reward_picture", escapedUtf8(question.rewardPicture.path));
    }
    return out;
}
