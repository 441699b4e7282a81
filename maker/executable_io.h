// Reading and writing the quiz resources of a player executable. Only Windows can do this (it
// takes the Windows resource API); the maker's command dispatch reaches it through this
// interface alone, so every other part of the maker builds and runs anywhere.
#pragma once

#include "maker/quiz_resources.h"

#include <filesystem>
#include <string>

enum class ExecutableStatus {
    kOk,
    kUnsupported, // this build cannot touch executables at all: a usage error
    kFailed,      // the executable could not be read or written: an error in the quiz's files
};

struct ExecutableResult {
    ExecutableStatus status = ExecutableStatus::kOk;
    std::string message; // one line, for kUnsupported and kFailed
    // UTF-8; the file that the message is about when it is not the one the command names (the
    // player that a build copies). Empty otherwise.
    std::string file;

    bool ok() const { return status == ExecutableStatus::kOk; }
};

class ExecutableIo {
  public:
    virtual ~ExecutableIo() = default;

    // Reads the quiz resources of `executable`: PATCH 104 and 105 as stored (compressed), left
    // empty (nullopt) when the executable has none, and every resource of type IMG, by its
    // integer identifier. A file whose resource directory, resources or sections do not lie
    // inside it, or whose resources share bytes, is refused with a message that starts
    // "damaged executable: ".
    virtual ExecutableResult readQuiz(const std::filesystem::path& executable,
                                      QuizResources& resources) = 0;

    // Makes `output`, a copy of the player executable `player` (empty: the implementation's
    // own player) whose quiz resources are exactly `resources`: every PATCH 104 and 105 and IMG
    // resource that the player copy already had is replaced or removed. Resources are written
    // language neutral, as the player's loader finds them. Nothing is left at `output` or
    // beside it when writing fails, and no file already there but `output` is touched.
    virtual ExecutableResult writeQuiz(const std::filesystem::path& output,
                                       const std::filesystem::path& player,
                                       const QuizResources& resources) = 0;
};
