// What the studio asks its user in a dialog of Windows' own: files, folders, a colour, a yes or
// no. The window asks through this interface, so that tests answer in the dialog's place.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

enum class Answer { kYes, kNo, kCancel };

class StudioDialogs {
  public:
    virtual ~StudioDialogs() = default;

    virtual std::optional<std::filesystem::path>
    chooseFolder(HWND owner, const wchar_t* title, const std::filesystem::path& start) = 0;
    // An existing file; `filter` is a list of name and pattern pairs.
    virtual std::optional<std::filesystem::path> chooseFile(HWND owner, const wchar_t* title,
                                                            const wchar_t* filter,
                                                            const std::filesystem::path& start) = 0;
    virtual std::vector<std::filesystem::path> chooseFiles(HWND owner, const wchar_t* title,
                                                           const wchar_t* filter,
                                                           const std::filesystem::path& start) = 0;
    // A file to write, proposed as `proposed`, with `extension` added when none is typed.
    virtual std::optional<std::filesystem::path>
    chooseNewFile(HWND owner, const wchar_t* title, const wchar_t* filter, const wchar_t* extension,
                  const std::filesystem::path& proposed) = 0;
    virtual std::optional<COLORREF> chooseColour(HWND owner, COLORREF current) = 0;
    // Yes, no (and cancel when `cancel`).
    virtual Answer ask(HWND owner, const std::wstring& question, bool cancel) = 0;
    virtual void tell(HWND owner, const std::wstring& message, bool problem) = 0;
};

// Windows' own dialogs.
class WindowsDialogs final : public StudioDialogs {
  public:
    std::optional<std::filesystem::path> chooseFolder(HWND owner, const wchar_t* title,
                                                      const std::filesystem::path& start) override;
    std::optional<std::filesystem::path> chooseFile(HWND owner, const wchar_t* title,
                                                    const wchar_t* filter,
                                                    const std::filesystem::path& start) override;
    std::vector<std::filesystem::path> chooseFiles(HWND owner, const wchar_t* title,
                                                   const wchar_t* filter,
                                                   const std::filesystem::path& start) override;
    std::optional<std::filesystem::path>
    chooseNewFile(HWND owner, const wchar_t* title, const wchar_t* filter, const wchar_t* extension,
                  const std::filesystem::path& proposed) override;
    std::optional<COLORREF> chooseColour(HWND owner, COLORREF current) override;
    Answer ask(HWND owner, const std::wstring& question, bool cancel) override;
    void tell(HWND owner, const std::wstring& message, bool problem) override;

  private:
    COLORREF customColours_[16] = {}; // the colour dialog's own, kept while the studio runs
};
