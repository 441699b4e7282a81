// The maker on Windows: quiz resources read from and written into real executables.
#pragma once

#include "maker/embedded_player.h"
#include "maker/executable_io.h"

class WindowsExecutableIo final : public ExecutableIo {
  public:
    ExecutableResult readQuiz(const std::filesystem::path& executable,
                              QuizResources& resources) override;
    ExecutableResult writeQuiz(const std::filesystem::path& output,
                               const std::filesystem::path& player,
                               const QuizResources& resources) override;
};
