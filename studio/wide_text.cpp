#include "studio/wide_text.h"

#include "maker/cp1252.h"
#include "win/wide_text.h"

#include <windows.h>

#include <cstdarg>
#include <cwchar>

std::wstring widen(std::string_view utf8) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

std::wstring quizTextToWide(std::string_view cp1252) {
    return widen(cp1252ToUtf8(cp1252));
}

// A character that Windows-1252 cannot hold becomes '?', as the player would show it.
std::string quizTextFromWide(std::wstring_view utf16) {
    std::string text;
    for (wchar_t c : utf16) {
        const Cp1252Conversion one = utf8ToCp1252(narrowText(std::wstring_view(&c, 1), CP_UTF8));
        text += one.ok() ? one.text : "?";
    }
    return text;
}

std::wstring formatText(const wchar_t* format, ...) {
    wchar_t buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    vswprintf(buffer, sizeof buffer / sizeof *buffer, format, arguments);
    va_end(arguments);
    return buffer;
}
