// plimo-maker.exe: the command line arrives as UTF-16 and is handed on as UTF-8, and the
// console shows UTF-8, so accented quiz texts and file names survive both ways.
#include "maker/executable_io_win.h"
#include "maker/maker_cli.h"

#include <windows.h>

#include <shellapi.h>

#include <iostream>
#include <string>
#include <vector>

namespace {

std::string toUtf8(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string converted(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, converted.data(), size, nullptr, nullptr);
    return converted;
}

std::vector<std::string> utf8Arguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> converted;
    for (int i = 1; arguments && i < count; ++i)
        converted.push_back(toUtf8(arguments[i]));
    LocalFree(arguments);
    return converted;
}

} // namespace

int main() {
    SetConsoleOutputCP(CP_UTF8);
    WindowsExecutableIo executables;
    return runMaker(utf8Arguments(), executables, std::cout, std::cerr);
}
