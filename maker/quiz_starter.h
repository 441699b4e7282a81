// `plimo-maker new FOLDER`: a first quiz source made from a folder of pictures, sounds or
// videos, one question per file, so that an author edits answers instead of typing every
// [[question]] block.
#pragma once

#include "content/quiz_record.h"
#include "maker/diagnostics.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// File names in natural order: runs of digits compare by their value ("2" before "10"),
// letters without regard to case.
bool naturalLess(std::string_view a, std::string_view b);

// A name as a text of the quiz: '_' and '-' read as spaces, spaces at the ends left out and
// runs of them made one. UTF-8 in and out.
std::string spacedName(std::string_view utf8Name);

// The answer a file name gives: the spaced name without its extension.
std::string answerFromFileName(std::string_view utf8Name);

// The media files of a quiz in the making: their names (UTF-8) in the order of the questions.
struct StarterQuiz {
    std::string title; // UTF-8
    MediaKind layout = kMediaPictures;
    std::vector<std::string> files;
};

// The quiz that `folder` makes, or nothing with errors: what writeStarterSource writes.
std::optional<StarterQuiz> starterQuiz(const std::filesystem::path& folder,
                                       Diagnostics& diagnostics);

// The quiz.toml of `quiz`, with comments that show where a second answer, codes and rewards go.
std::string starterSourceText(const StarterQuiz& quiz);

// Writes FOLDER/quiz.toml from the media files in `folder`. Nothing is written, and errors name
// the folder or the file, when the folder holds no media, more than a quiz holds, a mix of
// pictures, sounds and videos, or a file whose name cannot become an answer; nor when
// quiz.toml exists already, unless `replace`. The number of questions on success, else 0.
int writeStarterSource(const std::filesystem::path& folder, bool replace, Diagnostics& diagnostics);
