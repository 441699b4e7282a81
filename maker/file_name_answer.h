// Answers read from the names of an author's files, as a pupil would type them. Files copied
// from a phone or a camera, numbered to keep them in order or copied twice carry more than the
// answer in their names; a name that is no answer at all gives none, so that the author is
// asked for it.
#pragma once

#include <string>
#include <string_view>

// File names in natural order: runs of digits compare by their value ("2" before "10"),
// letters without regard to case.
bool naturalLess(std::string_view a, std::string_view b);

// A name as a text of the quiz: '_' and '-' read as spaces, spaces at the ends left out and
// runs of them made one. UTF-8 in and out.
std::string spacedName(std::string_view utf8Name);

// The answer a file name gives, UTF-8 in and out, without its extension, its ordering number
// ("03 - ") and its copy marks (" (2)", " - Copie"). In a name with spaces, '-' belongs to the
// answer and '_' is a space; in a name without, both are spaces. Empty for the names cameras,
// phones and screenshots give (IMG_1234, WhatsApp Image ..., Capture d'ecran ...) and for
// dates and times in digits, and for names holding a control character, which no keyboard
// types.
std::string answerFromFileName(std::string_view utf8Name);

// Where the extension of a file name starts: its last dot; none (the name's length) for a name
// that is all extension (".jpg").
size_t extensionStart(std::string_view name);

// The extension, its dot included, in small ASCII letters: ".jpg" for "Photo.JPG".
std::string lowerExtension(std::string_view name);
