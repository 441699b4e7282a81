#include "studio/studio_dialogs.h"

#include "studio/studio_texts.h"

#include <commdlg.h>
#include <shlobj.h>

namespace fs = std::filesystem;

namespace {

// Room for many selected files: their names follow the folder, each ended by a NUL.
constexpr size_t kFileNamesRoom = 64 * 1024;

OPENFILENAMEW fileDialog(HWND owner, const wchar_t* title, const wchar_t* filter,
                         std::wstring& names, const std::wstring& folder) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = names.data();
    dialog.nMaxFile = static_cast<DWORD>(names.size());
    dialog.lpstrTitle = title;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return dialog;
}

int CALLBACK startFolderCallback(HWND dialog, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED && start)
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

} // namespace

std::optional<fs::path> WindowsDialogs::chooseFolder(HWND owner, const wchar_t* title,
                                                     const fs::path& start) {
    const std::wstring startText = start.wstring();
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = startFolderCallback;
    browse.lParam = reinterpret_cast<LPARAM>(startText.empty() ? nullptr : startText.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (!chosen)
        return std::nullopt;
    wchar_t path[MAX_PATH * 4] = {};
    const bool found = SHGetPathFromIDListEx(chosen, path, MAX_PATH * 4, GPFIDL_DEFAULT);
    CoTaskMemFree(chosen);
    return found ? std::optional<fs::path>(path) : std::nullopt;
}

std::optional<fs::path> WindowsDialogs::chooseFile(HWND owner, const wchar_t* title,
                                                   const wchar_t* filter, const fs::path& start) {
    std::wstring names(kFileNamesRoom, L'\0');
    OPENFILENAMEW dialog = fileDialog(owner, title, filter, names, start.wstring());
    dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameW(&dialog))
        return std::nullopt;
    return fs::path(names.c_str());
}

std::vector<fs::path> WindowsDialogs::chooseFiles(HWND owner, const wchar_t* title,
                                                  const wchar_t* filter, const fs::path& start) {
    std::wstring names(kFileNamesRoom, L'\0');
    OPENFILENAMEW dialog = fileDialog(owner, title, filter, names, start.wstring());
    dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT;
    if (!GetOpenFileNameW(&dialog))
        return {};
    // One file: its whole path. Several: the folder, then each name.
    const fs::path first(names.c_str());
    const wchar_t* name = names.c_str() + wcslen(names.c_str()) + 1;
    if (!*name)
        return {first};
    std::vector<fs::path> files;
    for (; *name; name += wcslen(name) + 1)
        files.push_back(first / name);
    return files;
}

std::optional<fs::path> WindowsDialogs::chooseNewFile(HWND owner, const wchar_t* title,
                                                      const wchar_t* filter,
                                                      const wchar_t* extension,
                                                      const fs::path& proposed) {
    std::wstring names(kFileNamesRoom, L'\0');
    const std::wstring name = proposed.filename().wstring();
    names.replace(0, name.size(), name);
    OPENFILENAMEW dialog =
        fileDialog(owner, title, filter, names, proposed.parent_path().wstring());
    dialog.lpstrDefExt = extension;
    dialog.Flags |= OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameW(&dialog))
        return std::nullopt;
    return fs::path(names.c_str());
}

std::optional<COLORREF> WindowsDialogs::chooseColour(HWND owner, COLORREF current) {
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = current;
    dialog.lpCustColors = customColours_;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&dialog))
        return std::nullopt;
    return dialog.rgbResult;
}

Answer WindowsDialogs::ask(HWND owner, const std::wstring& question, bool cancel) {
    switch (MessageBoxW(owner, question.c_str(), texts::kAppName,
                        MB_ICONQUESTION | (cancel ? MB_YESNOCANCEL : MB_YESNO))) {
    case IDYES:
        return Answer::kYes;
    case IDNO:
        return Answer::kNo;
    default:
        return Answer::kCancel;
    }
}

void WindowsDialogs::tell(HWND owner, const std::wstring& message, bool problem) {
    MessageBoxW(owner, message.c_str(), texts::kAppName,
                problem ? MB_ICONWARNING : MB_ICONINFORMATION);
}
