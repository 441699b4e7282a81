// The stored form of a quiz source: the decoded texts of resources 104 and 105, and every
// resource of the quiz ready to be put into a copy of the player.
#pragma once

#include "maker/diagnostics.h"
#include "maker/picture_preparation.h"
#include "maker/quiz_resources.h"
#include "maker/quiz_source.h"

#include <cstdint>
#include <optional>
#include <vector>

// Resource 104 before compression: byte 0 (0), layout + 1, question count, answers per
// question, then the '|'-ended fields, the reward kind, the reward texts and the colour.
std::vector<uint8_t> quizTextBytes(const QuizSource& quiz);

// Resource 105 before compression: one CR LF line per question, the code of that score or an
// empty line when the code table is shorter.
std::vector<uint8_t> quizCodesBytes(const QuizSource& quiz);

enum class MediaHandling {
    kPreparePictures, // pictures made ready for the board (preparePicture), clips as they are
    kKeepPictures,    // pictures and clips as they are; pictures must be JPEG, BMP or GIF
    kLeaveOut,        // no media at all, for judging a source
};

// Compresses both texts and reads every picture and clip of a checked source. Reports to
// `diagnostics` and gives nothing when a text does not fit the player's codec or a file
// cannot be read or prepared. `origins`, when given, learns what was done to each picture.
std::optional<QuizResources>
buildQuizResources(const QuizSource& quiz, Diagnostics& diagnostics,
                   MediaHandling media = MediaHandling::kPreparePictures,
                   PictureOrigins* origins = nullptr);
