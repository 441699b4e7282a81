// The quiz as the player will show it, in plain UTF-8 text, for "plimo-maker show".
#pragma once

#include "maker/picture_preparation.h"
#include "maker/quiz_resources.h"
#include "maker/quiz_source.h"

#include <ostream>

// Texts are quoted and escaped as in a source, so that spaces at their ends can be seen.
// Pictures and clips are named by their file when the quiz comes from a source, and always by
// their resource, format and size; pictures with their width and height, and with what the
// build did to them when `origins` tells it. Control characters come out escaped.
void printQuiz(std::ostream& out, const QuizSource& quiz, const QuizResources& resources,
               const PictureOrigins* origins = nullptr);
