// The studio speaks UTF-16 to Windows; the quiz keeps Windows-1252 texts and UTF-8 paths.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

std::wstring widen(std::string_view utf8);

// A text of the quiz (Windows-1252) as a control shows it, and back.
std::wstring quizTextToWide(std::string_view cp1252);
std::string quizTextFromWide(std::wstring_view utf16);

// printf-style formatting of one of the window's texts.
std::wstring formatText(const wchar_t* format, ...);
