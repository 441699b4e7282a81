// The quiz being edited, kept in a recovery folder a moment after each change, so that a studio
// that ended without saving (killed, crashed, the machine switched off) can bring it back as it
// was. A recovery file is a quiz source whose leading comment lines say where the quiz came
// from and where its media are; the folder may hold other files, which are never touched.
#pragma once

#include "maker/diagnostics.h"
#include "maker/quiz_source.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What listRecoveries finds of one recovery file.
struct RecoveryEntry {
    std::filesystem::path file;
    std::filesystem::path savedAs; // where the quiz was last saved; empty when never
    std::string origin;            // UTF-8, the name it was opened under (a source, an executable)
    std::string title;             // UTF-8
    std::chrono::system_clock::time_point written;
    uint32_t writer = 0; // the process that keeps it; 0 when not known
    // Why the file cannot bring the quiz back ("damaged recovery file: ..."); empty when it can.
    std::string problem;
};

// The recovery file in `folder` of the quiz saved as `savedAs` (empty when never saved: then
// the quiz's own file, an executable for one, or else its media folder names it). The name has
// a readable part and a hash of that path: two quizzes of the same name do not share one.
std::filesystem::path recoveryFile(const std::filesystem::path& folder, const QuizSource& quiz,
                                   const std::filesystem::path& savedAs);

// Writes the quiz to its recovery file, making the folder if need be. The file is replaced as
// a whole, never left cut. False with a reason naming the file.
bool writeRecovery(const std::filesystem::path& folder, const QuizSource& quiz,
                   const std::filesystem::path& savedAs, std::string& reason, uint32_t writer = 0);

// The recovery files in `folder`, newest first; a damaged one is listed with its problem. Files
// not named as recovery files are left out.
std::vector<RecoveryEntry> listRecoveries(const std::filesystem::path& folder);

// The quiz a recovery file holds, as it was written: its media paths start from the folder
// they started from, its file is the name it had. A quiz that was being edited may fail its
// checks; only a file that is not a whole recovery file is refused, with errors naming it.
std::optional<QuizSource> readRecovery(const std::filesystem::path& file, Diagnostics& diagnostics);

// Removes a recovery file; any file not named as one is left alone. False when nothing was
// removed.
bool removeRecovery(const std::filesystem::path& file);
