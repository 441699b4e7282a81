// Files of the Windows tests: the test executable's folder, temporary folders, quiz modules.
#pragma once

#include "win/handles.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A whole file's bytes (empty when it cannot be read), and a file written whole.
std::string readFileText(const std::string& path);
void writeFileText(const std::string& path, const std::string& content);

// Answers every message waiting for this thread.
void pumpMessages();

// A plain visible top-level window, for controls that need a parent.
HWND createTestWindow(const char* title, int x, int y, int width, int height);

// A process started from a command line, with both of its handles owned.
struct ChildProcess {
    UniqueKernelObject process;
    UniqueKernelObject thread;
    DWORD id = 0;
};

// Starts `command` in `folder` (null: this process's current folder). Holds no process when it
// cannot start; GetLastError then says why.
ChildProcess startProcess(std::string command, DWORD flags, const char* folder = nullptr);

// The folder of the running test executable, with a trailing backslash. The player and the
// resource fixture are built beside it.
std::string executableFolder();

// A fresh empty folder under the temporary folder, removed with its files on destruction.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

// Writes PATCH resources into the module file at `path`.
bool writePatchResources(const std::string& path,
                         const std::map<int, std::vector<uint8_t>>& patches);

// A copy of a fixture module (built beside the tests) given the PATCH resources in `patches`,
// loaded as data.
class QuizModule {
  public:
    using Resources = std::map<int, std::vector<uint8_t>>;

    QuizModule(const std::string& fixture, const Resources& patches);
    ~QuizModule();
    QuizModule(const QuizModule&) = delete;
    QuizModule& operator=(const QuizModule&) = delete;

    HMODULE handle() const { return module_; }

  private:
    TemporaryFolder folder_;
    HMODULE module_ = nullptr;
};
