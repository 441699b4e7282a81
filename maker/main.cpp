// plimo-maker for systems other than Windows, whose command lines are UTF-8 already.
#include "maker/executable_io_host.h"
#include "maker/maker_cli.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    HostExecutableIo executables;
    return runMaker(arguments, executables, std::cout, std::cerr);
}
