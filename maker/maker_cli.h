// The command line of plimo-maker: build, show, extract and judge a quiz. Free of platform
// code: executables are reached through the ExecutableIo that the caller gives.
#pragma once

#include "maker/executable_io.h"

#include <ostream>
#include <string>
#include <vector>

constexpr int kExitSuccess = 0;
constexpr int kExitQuizError = 1; // the quiz or its files are wrong; nothing was made
constexpr int kExitUsage = 2;     // the command line is wrong, or this maker cannot do it

// `arguments` are UTF-8 and exclude the program name. Results go to `out`, diagnostics to
// `err`, one line each, all UTF-8.
int runMaker(const std::vector<std::string>& arguments, ExecutableIo& executables,
             std::ostream& out, std::ostream& err);
