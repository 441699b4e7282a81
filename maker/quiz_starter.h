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

// The media files of a quiz in the making: their names (UTF-8) in the order of the questions.
struct StarterQuiz {
    std::string title; // UTF-8
    MediaKind layout = kMediaPictures;
    std::vector<std::string> files;
    int unreadPictures = 0; // photos left out: formats the maker does not read
};

// The quiz that `folder` makes, or nothing with errors: what writeStarterSource writes.
std::optional<StarterQuiz> starterQuiz(const std::filesystem::path& folder,
                                       Diagnostics& diagnostics);

// The quiz.toml of `quiz`, with comments that show where a second answer, codes and rewards go.
std::string starterSourceText(const StarterQuiz& quiz);

// What `new` wrote: its questions, and the answers left for the author to write.
struct StarterCounts {
    int questions = 0;
    int answersToWrite = 0;
    int unreadPictures = 0;
};

// Writes FOLDER/quiz.toml from the media files in `folder`. Nothing is written, and errors name
// the folder or the file, when the folder holds no media, more than a quiz holds, a mix of
// pictures, sounds and videos, or a file whose name cannot be a text of the quiz; nor when
// quiz.toml exists already, unless `replace`. A link that leads out of the folder is left out
// with a warning. A name that gives no answer gets an empty one, with a comment that asks for
// it, which the build refuses until it is written. No questions when nothing was written.
StarterCounts writeStarterSource(const std::filesystem::path& folder, bool replace,
                                 Diagnostics& diagnostics);
