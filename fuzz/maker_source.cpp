// Any text given to the maker as a quiz source: it either gives errors, or a quiz whose stored
// form the player's own parser reads back to the very same texts, counts, kinds and colour.
// Whatever it prints about the text is one line with no control character.
#include "maker/quiz_printer.h"
#include "maker/quiz_reader.h"
#include "maker/quiz_writer.h"
#include "maker/source_reader.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// The pictures and clips of the sample quizzes, copied under the names their sources use, so
// that quizzes grown from the kept corpus find their media.
std::filesystem::path mediaFolder;

void removeMediaFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(mediaFolder, ignored);
}

void require(bool condition) {
    if (!condition)
        abort();
}

void requireSameTexts(const std::vector<SourcedText>& made, const std::vector<SourcedText>& read) {
    require(made.size() == read.size());
    for (size_t i = 0; i < made.size(); ++i)
        require(made[i].value == read[i].value);
}

void requirePrintable(const Diagnostics& diagnostics) {
    for (const Diagnostic& diagnostic : diagnostics.all()) {
        for (unsigned char c : formatDiagnostic(diagnostic))
            require(c >= 0x20 && c != 0x7F);
    }
}

// The quiz that the player reads from the stored form, against the one the source described.
void requireSameQuiz(const QuizSource& made, const QuizSource& read) {
    require(read.title.value == made.title.value);
    require(read.creator.value == made.creator.value);
    require(read.explanation.value == made.explanation.value);
    require(read.layout.value == made.layout.value);
    require(read.colour.value == made.colour.value);
    require(read.answerLabels[0].value == made.answerLabels[0].value);
    require(read.answerLabels[1].value == made.answerLabels[1].value);
    require(read.reward.value == made.reward.value);
    require(read.answerFieldCount == made.answerFieldCount);
    require(read.questions.size() == made.questions.size());
    for (size_t i = 0; i < made.questions.size(); ++i) {
        requireSameTexts(made.questions[i].answers, read.questions[i].answers);
        require(read.questions[i].text.value == made.questions[i].text.value);
        require(read.questions[i].rewardText.value == made.questions[i].rewardText.value);
    }
    // One code per score; the scores past the source's list have none.
    require(read.codes.size() == made.questions.size());
    for (size_t s = 0; s < read.codes.size(); ++s)
        require(read.codes[s].value == (s < made.codes.size() ? made.codes[s].value : ""));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    mediaFolder = std::filesystem::temp_directory_path() /
                  ("plimo_fuzz_maker_source_" + std::to_string(getpid()));
    for (const char* media : {"drapeaux/pictures", "animaux/sounds", "couleurs/videos"}) {
        const std::filesystem::path from = std::filesystem::path(PLIMO_SAMPLES_DIR) / media;
        const std::filesystem::path to = mediaFolder / from.filename();
        std::filesystem::create_directories(to);
        std::filesystem::copy(from, to, std::filesystem::copy_options::overwrite_existing);
    }
    atexit(removeMediaFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Diagnostics diagnostics;
    const QuizSource quiz = parseQuizSource(text, "fuzz.toml", mediaFolder, diagnostics);
    std::optional<QuizResources> resources;
    if (!diagnostics.hasErrors())
        resources = buildQuizResources(quiz, diagnostics);
    requirePrintable(diagnostics);
    if (!resources)
        return 0;

    Diagnostics readBack;
    std::optional<QuizSource> stored = quizFromResources(*resources, "fuzz.exe", readBack);
    require(stored && !readBack.hasErrors());
    requireSameQuiz(quiz, *stored);
    std::ostringstream shown;
    printQuiz(shown, quiz, *resources);
    for (unsigned char c : shown.str())
        require((c >= 0x20 && c != 0x7F) || c == '\n');
    return 0;
}
