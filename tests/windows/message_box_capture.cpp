#include "tests/windows/message_box_capture.h"

namespace {

thread_local MessageBoxCapture* activeCapture = nullptr;

std::string windowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string className(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

} // namespace

MessageBoxCapture::MessageBoxCapture() {
    activeCapture = this;
    hook_ = SetWindowsHookExA(WH_CBT, onCbtEvent, nullptr, GetCurrentThreadId());
}

MessageBoxCapture::~MessageBoxCapture() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    activeCapture = nullptr;
}

LRESULT CALLBACK MessageBoxCapture::onCbtEvent(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    // A box is activated again when a box opened over it closes: it is recorded once.
    if (code == HCBT_ACTIVATE && activeCapture && className(window) == "#32770" &&
        activeCapture->open_.insert(window).second)
        activeCapture->record(window);
    if (code == HCBT_DESTROYWND && activeCapture)
        activeCapture->open_.erase(window);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxCapture::record(HWND box) {
    CapturedBox captured;
    captured.caption = windowText(box);
    captured.hasOwner = GetWindow(box, GW_OWNER) != nullptr;
    captured.overAnotherBox = open_.size() > 1;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM data) -> BOOL {
            auto* captured = reinterpret_cast<CapturedBox*>(data);
            std::string kind = className(child);
            if (kind == "Static" && !windowText(child).empty())
                captured->text = windowText(child);
            else if (kind == "Button")
                ++captured->buttonCount;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&captured));
    boxes_.push_back(captured);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    if (action_)
        action_(captured);
}
