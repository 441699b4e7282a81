// File names as the file system gives them (UTF-16), turned into the byte texts of the
// player's messages and reports.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// `text` in `codePage`: CP_ACP for a message box, whose letters outside the code page show as
// '?', CP_UTF8 where nothing may be lost.
inline std::string narrowText(std::wstring_view text, UINT codePage) {
    const int size = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string narrow(size_t(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), narrow.data(), size,
                            nullptr, nullptr);
    return narrow;
}
