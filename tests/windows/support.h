// What the Windows tests share: files and folders, message pumping and the capture of message
// boxes.
#pragma once

#include "tests/support/files.h"
#include "win/handles.h"

#include <windows.h>

#include <set>
#include <string>
#include <vector>

bool fileExists(const std::string& path);
// Names of the files in `folder`.
std::set<std::string> filesIn(const std::string& folder);

void pumpMessages();
std::string textOfControl(HWND dialog, int id);
// Where a control stands in its parent's client area: left, top, width, height; none when it
// is absent.
std::vector<int> placeOf(HWND control);
HWND createTestWindow(int width, int height);
// Beside the running test executable (trailing backslash): the player and the maker.
std::string executableFolder();

// Writes to `copy` the executable with the data entry of its resource `type` `name` changed, as
// a broken download or a hostile file may have it, or the file cut short inside the resource;
// false when the resource is not found.
enum class ResourceDamage { kEmptied, kSizePastTheEnd, kOffsetOutsideTheFile, kTruncated };
bool writeDamagedCopy(const std::string& executable, LPCSTR type, LPCSTR name,
                      ResourceDamage damage, const std::string& copy);

struct CapturedBox {
    std::string caption, text;
    int buttonCount = 0;
    bool hasOwner = false;
};

// Records every message box the calling thread shows while it lives and closes it with OK, so
// the real MessageBoxA runs without blocking the test. The last one made records.
class MessageBoxCapture {
  public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;
    const std::vector<CapturedBox>& boxes() const { return boxes_; }

  private:
    static LRESULT CALLBACK onCbtEvent(int code, WPARAM wParam, LPARAM lParam);
    void record(HWND box);

    MessageBoxCapture* previous_;
    HHOOK hook_ = nullptr;
    std::set<HWND> open_;
    std::vector<CapturedBox> boxes_;
};
