// The maker built for a system other than Windows: it reads, checks and converts quiz sources
// but cannot open or make executables.
#pragma once

#include "maker/executable_io.h"

class HostExecutableIo final : public ExecutableIo {
  public:
    ExecutableResult readQuiz(const std::filesystem::path& executable,
                              QuizResources& resources) override;
    ExecutableResult writeQuiz(const std::filesystem::path& output,
                               const std::filesystem::path& player,
                               const QuizResources& resources) override;
};

constexpr const char* kExecutablesNeedWindows =
    "reading and writing executables needs the Windows maker (plimo-maker.exe)";
