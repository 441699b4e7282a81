// plimo-maker.exe: the command line arrives as UTF-16 and is handed on as UTF-8, and the
// console shows UTF-8, so accented quiz texts and file names survive both ways.
#include "maker/executable_io_win.h"
#include "maker/maker_cli.h"
#include "win/wide_text.h"

#include <windows.h>

#include <shellapi.h>

#include <iostream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> utf8Arguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> converted;
    for (int i = 1; arguments && i < count; ++i)
        converted.push_back(narrowText(arguments[i], CP_UTF8));
    LocalFree(arguments);
    return converted;
}

// Started from Explorer (a double click, a folder dropped on its icon), the maker has a console
// of its own, which would vanish with its message: it says what it is and waits for a key.
bool startedWithoutConsole() {
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
}

int explainAndWait() {
    std::cout << "plimo-maker is the command-line quiz maker (plimo-maker --help tells more).\n"
                 "To make a quiz in a window, start plimo-studio.exe: drop a folder of photos,\n"
                 "a quiz.toml or a quiz .exe on it.\n\nPress a key to close this window.\n";
    std::cout.flush();
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    FlushConsoleInputBuffer(input);
    INPUT_RECORD record;
    DWORD read = 0;
    while (ReadConsoleInputW(input, &record, 1, &read) && read == 1) {
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown)
            break;
    }
    return kExitUsage;
}

} // namespace

int main() {
    SetConsoleOutputCP(CP_UTF8);
    const std::vector<std::string> arguments = utf8Arguments();
    if (arguments.empty() && startedWithoutConsole())
        return explainAndWait();
    WindowsExecutableIo executables;
    return runMaker(arguments, executables, std::cout, std::cerr);
}
