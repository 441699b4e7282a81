// Whole-file reads and writes for the maker.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// False, with a short reason, when the file cannot be read whole.
bool readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes,
                   std::string& reason);
// Reads at most `count` leading bytes.
bool readFileHead(const std::filesystem::path& path, size_t count, std::vector<uint8_t>& bytes,
                  std::string& reason);
bool writeWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                    std::string& reason);
