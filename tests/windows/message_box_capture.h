// Captures the message boxes that the calling thread shows while the capture lives: each box
// is recorded (caption, text, buttons) and closed with OK, so the real MessageBoxA call runs
// without blocking the test.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

struct CapturedBox {
    std::string caption;
    std::string text;
    int buttonCount = 0;
    bool hasOwner = false;
    bool overAnotherBox = false; // opened while another box was still open
};

class MessageBoxCapture {
  public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    const std::vector<CapturedBox>& boxes() const { return boxes_; }

    // Runs `action` on each box once it is recorded, while it is still open.
    void onEachBox(std::function<void(const CapturedBox&)> action) { action_ = std::move(action); }

  private:
    static LRESULT CALLBACK onCbtEvent(int code, WPARAM wParam, LPARAM lParam);
    void record(HWND box);

    HHOOK hook_ = nullptr;
    std::set<HWND> open_;
    std::vector<CapturedBox> boxes_;
    std::function<void(const CapturedBox&)> action_;
};
