#include "maker/executable_io_host.h"

ExecutableResult HostExecutableIo::readQuiz(const std::filesystem::path&, QuizResources&) {
    return {ExecutableStatus::kUnsupported, kExecutablesNeedWindows, {}};
}

ExecutableResult HostExecutableIo::writeQuiz(const std::filesystem::path&,
                                             const std::filesystem::path&, const QuizResources&) {
    return {ExecutableStatus::kUnsupported, kExecutablesNeedWindows, {}};
}
