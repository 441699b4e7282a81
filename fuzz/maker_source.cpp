// Any text given to the maker as a quiz source: it either gives errors, or a quiz whose stored
// form the player's own parser reads back to the very same texts, counts, kinds and colour.
// Whatever it prints about the text holds no control character but its line ends. A text that
// toml++ accepts holds none of the syntax faults said in an author's words.
#include "fuzz/property.h"
#include "maker/quiz_printer.h"
#include "maker/quiz_reader.h"
#include "maker/quiz_writer.h"
#include "maker/source_reader.h"
#include "maker/toml_guard.h"
#include "maker/toml_syntax_faults.h"

#define TOML_ENABLE_WINDOWS_COMPAT 0
#include <toml++/toml.h>

#include <algorithm>
#include <climits>
#include <sstream>

namespace {

// The faults are looked for only once toml++ has refused a text: one found in a text it takes
// would be told to an author who made none.
bool noAuthorFaultWhereTheParserFindsNone(std::string_view source) {
    const AsciiToml ascii = asciiToml(source);
    if (!ascii.problem.empty())
        return true;
    try {
        (void)toml::parse(ascii.text);
    } catch (const toml::parse_error&) {
        return true;
    }
    return !findAuthorSyntaxFault(ascii.text, INT_MAX);
}

bool printable(std::string_view text, bool lines) {
    return std::ranges::all_of(
        text, [&](unsigned char c) { return (c >= 0x20 && c != 0x7F) || (lines && c == '\n'); });
}

// Every text, count, kind and the colour of a quiz, in one comparable value. Scores past the
// source's codes have none.
auto summary(const QuizSource& quiz, size_t codes) {
    std::vector<std::string> texts{quiz.title.value, quiz.creator.value, quiz.explanation.value,
                                   quiz.answerLabels[0].value, quiz.answerLabels[1].value};
    for (const QuestionSource& question : quiz.questions) {
        texts.push_back(std::to_string(question.answers.size()));
        for (const SourcedText& answer : question.answers)
            texts.push_back(answer.value);
        texts.insert(texts.end(), {question.text.value, question.rewardText.value});
    }
    for (size_t s = 0; s < codes; ++s)
        texts.push_back(s < quiz.codes.size() ? quiz.codes[s].value : "");
    return std::tuple{texts, quiz.layout.value, quiz.colour.value, quiz.reward.value,
                      quiz.answerFieldCount};
}

} // namespace

bool propertyHolds(const uint8_t* data, size_t size) {
    if (!noAuthorFaultWhereTheParserFindsNone({reinterpret_cast<const char*>(data), size}))
        return false;
    Diagnostics diagnostics, readBack;
    // The sample quizzes' pictures and clips, copied by the build under the folder names their
    // sources use, so that quizzes grown from the kept corpus find their media.
    const QuizSource quiz = parseQuizSource({reinterpret_cast<const char*>(data), size},
                                            "fuzz.toml", MEDIA_DIR, diagnostics);
    std::optional<QuizResources> resources;
    if (!diagnostics.hasErrors())
        resources = buildQuizResources(quiz, diagnostics);
    for (const Diagnostic& diagnostic : diagnostics.all())
        if (!printable(formatDiagnostic(diagnostic), false))
            return false;
    if (!resources)
        return true;
    const auto stored = quizFromResources(*resources, "fuzz.exe", readBack);
    std::ostringstream shown;
    printQuiz(shown, quiz, *resources);
    const size_t codes = quiz.questions.size();
    return stored && !readBack.hasErrors() && stored->codes.size() == codes &&
           summary(*stored, codes) == summary(quiz, codes) && printable(shown.str(), true);
}
