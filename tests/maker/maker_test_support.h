// Shared by the maker tests: the test media, files and diagnostics.
#pragma once

#include "maker/diagnostics.h"
#include "maker/source_reader.h"
#include "tests/support/files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using testing::HasSubstr;
using testing::StartsWith;
namespace fs = std::filesystem;

// q1.jpg, q2.bmp, q3.gif (4 x 3 each), r1.jpg, q4.png, clip.mp3, clip.avi, progressive.jpg
// (200 x 20), grey.jpg and cmyk.jpg (64 x 48), many_scans.jpg (8 x 8, 263 progressive scans),
// the bad not_a_picture.jpg and empty.jpg, and links: in.jpg to q1.jpg, out.jpg
// to ../CMakeLists.txt.
inline const fs::path kData = PLIMO_MAKER_TEST_DATA;

inline std::vector<uint8_t> readBytes(const fs::path& path) {
    const std::string text = readFileContent(path);
    return {text.begin(), text.end()};
}

// `text` cut at each `by`, empty pieces kept.
inline std::vector<std::string> split(const std::string& text, const std::string& by) {
    std::vector<std::string> pieces;
    for (size_t from = 0, to = 0; to != std::string::npos; from = to + by.size())
        pieces.push_back(text.substr(from, (to = text.find(by, from)) - from));
    return pieces;
}

// The diagnostics of one severity, in line order, as the maker prints them.
inline std::vector<std::string> lines(const Diagnostics& found, Severity severity) {
    std::vector<std::string> result;
    for (const Diagnostic& diagnostic : found.sorted()) {
        if (diagnostic.severity == severity)
            result.push_back(formatDiagnostic(diagnostic));
    }
    return result;
}
