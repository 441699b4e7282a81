// Reading the quiz that a player's resources carry back into a source model, for showing,
// judging and extracting an executable.
#pragma once

#include "maker/diagnostics.h"
#include "maker/quiz_resources.h"
#include "maker/quiz_source.h"

#include <optional>
#include <string>

// Decodes and parses resources 104 and 105 exactly as the player does. Media stay in the
// resources: the model names no files. `origin` names the executable in diagnostics. Gives
// nothing, with errors, when the resources hold no quiz that the maker could have made.
std::optional<QuizSource> quizFromResources(const QuizResources& resources,
                                            const std::string& origin, Diagnostics& diagnostics);
