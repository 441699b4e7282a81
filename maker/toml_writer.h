// Writes a quiz model back as a source that an author can edit and build again.
#pragma once

#include "maker/quiz_source.h"

#include <string>
#include <string_view>

// The source text, UTF-8. Building it again gives the same stored quiz byte for byte.
// `comment`, when given, becomes a first line comment, its control characters escaped.
std::string writeQuizToml(const QuizSource& quiz, std::string_view comment = {});

// A TOML basic string holding the Windows-1252 text, quoted and escaped.
std::string tomlString(std::string_view cp1252);
