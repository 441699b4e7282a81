#include "tests/windows/support.h"

#include <cstring>
#include <filesystem>

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string textOfControl(HWND dialog, int id) {
    char text[300] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::vector<int> placeOf(HWND control) {
    if (!control)
        return {};
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// A plain static window is parent enough: the panes' notifications to it are dropped.
HWND createTestWindow(int width, int height) {
    return CreateWindowExA(0, "Static", "test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width,
                           height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::string executableFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path().string() + "\\";
}

bool writeDamagedCopy(const std::string& executable, LPCSTR type, LPCSTR name,
                      ResourceDamage damage, const std::string& copy) {
    std::string bytes = readFileContent(executable);
    UniqueModule module(LoadLibraryExA(executable.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    HRSRC found = module ? FindResourceA(module.get(), name, type) : nullptr;
    if (!found)
        return false;
    // Mapped as a data file (its handle tagged in the low bits), the module is the file as it
    // lies on disk, and a resource found in it is its data entry there.
    const uintptr_t base = reinterpret_cast<uintptr_t>(module.get()) & ~uintptr_t(3);
    const size_t entry = reinterpret_cast<uintptr_t>(found) - base;
    const size_t data =
        reinterpret_cast<uintptr_t>(LockResource(LoadResource(module.get(), found))) - base;
    module.reset(); // the copy may be the executable itself
    IMAGE_RESOURCE_DATA_ENTRY record;
    memcpy(&record, &bytes[entry], sizeof record);
    if (damage == ResourceDamage::kEmptied)
        record.Size = 0;
    else if (damage == ResourceDamage::kSizePastTheEnd)
        record.Size = 0x7FFF0000;
    else if (damage == ResourceDamage::kOffsetOutsideTheFile)
        record.OffsetToData = 0x7FFF0000; // in no section
    memcpy(&bytes[entry], &record, sizeof record);
    if (damage == ResourceDamage::kTruncated)
        bytes.resize(data + 1);
    writeFileContent(copy, bytes);
    return true;
}

namespace {

thread_local MessageBoxCapture* activeCapture = nullptr;

} // namespace

MessageBoxCapture::MessageBoxCapture() : previous_(activeCapture) {
    activeCapture = this;
    hook_ = SetWindowsHookExA(WH_CBT, onCbtEvent, nullptr, GetCurrentThreadId());
}

MessageBoxCapture::~MessageBoxCapture() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    activeCapture = previous_;
}

LRESULT CALLBACK MessageBoxCapture::onCbtEvent(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    // A box is activated again when a box opened over it closes: it is recorded once.
    if (code == HCBT_ACTIVATE && activeCapture && std::string(className) == "#32770" &&
        activeCapture->open_.insert(window).second)
        activeCapture->record(window);
    if (code == HCBT_DESTROYWND && activeCapture)
        activeCapture->open_.erase(window);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxCapture::record(HWND box) {
    CapturedBox captured;
    char caption[256] = "";
    GetWindowTextA(box, caption, sizeof caption);
    captured.caption = caption;
    captured.hasOwner = GetWindow(box, GW_OWNER) != nullptr;
    // A message box's text is the static of identifier 0xFFFF.
    captured.text = textOfControl(box, 0xFFFF);
    for (HWND button = FindWindowExA(box, nullptr, "Button", nullptr); button;
         button = FindWindowExA(box, button, "Button", nullptr))
        ++captured.buttonCount;
    boxes_.push_back(captured);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}
