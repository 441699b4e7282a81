// The two folders the maker writes: a resource script with its files for windres, and an
// editable source with its media, extracted from a quiz's resources.
#pragma once

#include "maker/diagnostics.h"
#include "maker/quiz_resources.h"
#include "maker/quiz_source.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

constexpr const char* kResourceScriptName = "quiz.rc";
constexpr const char* kQuizTextFileName = "quiz_text.bin";
constexpr const char* kQuizCodesFileName = "quiz_codes.bin";
constexpr const char* kQuizSourceName = "quiz.toml";

// A file that a folder writer makes: its name in the folder and its bytes.
struct FolderFile {
    std::string name;
    std::span<const uint8_t> bytes;
};

// Writes `files` into `folder`, creating it when needed. Unless `replace`, nothing is written
// when any of them exists already. False, with an error naming the file, when a file exists or
// cannot be written.
bool writeFolderFiles(const std::filesystem::path& folder, const std::vector<FolderFile>& files,
                      bool replace, Diagnostics& diagnostics);

// The text of quiz.rc: PATCH 104 and 105, then every IMG resource by its file name.
std::string resourceScriptText(const QuizResources& resources, MediaKind layout);

// Writes quiz.rc, quiz_text.bin, quiz_codes.bin and every picture and clip into `folder`,
// creating it when needed. Unless `replace`, nothing is written when any of these files exists
// already. False, with an error naming the file, when a file exists or cannot be written.
bool writeResourceFolder(const QuizResources& resources, MediaKind layout,
                         const std::filesystem::path& folder, bool replace,
                         Diagnostics& diagnostics);

// Writes quiz.toml and the quiz's pictures and clips into `folder`, with the same rule for
// files that exist already. `quiz` is the quiz read from `resources` (quizFromResources), so
// the source builds the same stored quiz again. Resources that no question uses are left out
// with a warning, questions whose picture or clip is missing get a warning.
bool writeSourceFolder(QuizSource quiz, const QuizResources& resources,
                       const std::filesystem::path& folder, bool replace, Diagnostics& diagnostics);
