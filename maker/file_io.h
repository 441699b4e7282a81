// Whole-file reads and writes for the maker.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// False, with a short reason, when the file cannot be read whole. A file of more than `limit`
// bytes is refused by its size before anything is read, so a huge file cannot exhaust memory.
bool readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes,
                   std::string& reason, uintmax_t limit = UINTMAX_MAX);

// "16 MiB" for a whole number of mebibytes, else "N bytes".
std::string sizeText(uintmax_t bytes);
// Reads at most `count` leading bytes.
bool readFileHead(const std::filesystem::path& path, size_t count, std::vector<uint8_t>& bytes,
                  std::string& reason);
bool writeWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                    std::string& reason);
