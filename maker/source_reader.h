// Reading a quiz source (TOML) into a QuizSource and checking it against everything the
// player can store and show.
#pragma once

#include "maker/diagnostics.h"
#include "maker/quiz_source.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Parses and checks the source text. `file` names it in diagnostics; media paths start from
// `folder`. Errors leave a partial model that must not be used.
QuizSource parseQuizSource(std::string_view toml, const std::string& file,
                           const std::filesystem::path& folder, Diagnostics& diagnostics);

// Reads the file at the UTF-8 path `file`, then parses and checks it as above, its media
// starting from the file's own folder.
QuizSource readQuizSource(const std::string& file, Diagnostics& diagnostics);

// The checks that need the whole model: limits of the stored quiz, media files on disk and
// the warnings about answers and codes. parseQuizSource already runs them.
void checkQuizSource(const QuizSource& quiz, Diagnostics& diagnostics);

// Why the UTF-8 path `utf8`, from `folder`, names a file outside that folder: an absolute path,
// or one that ".." or a link leads out of. Nothing when the file lies inside.
std::optional<std::string> outsideTheFolder(const std::filesystem::path& folder,
                                            const std::string& utf8);
