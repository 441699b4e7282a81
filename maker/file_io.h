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

// A file of the maker's own beside `destination`, under a fresh name that no file had: it is
// created exclusively, so neither a file nor a link of that name is ever written through. It is
// removed again unless it takes the destination's place.
class FreshFile {
  public:
    explicit FreshFile(std::filesystem::path destination) : destination_(std::move(destination)) {}
    ~FreshFile();
    FreshFile(const FreshFile&) = delete;
    FreshFile& operator=(const FreshFile&) = delete;

    // Creates the file and writes the whole of `bytes` into it.
    bool write(std::span<const uint8_t> bytes, std::string& reason);
    const std::filesystem::path& path() const { return path_; }
    // Renames the file over the destination: a link there is replaced, not followed.
    bool replaceDestination(std::string& reason);

  private:
    std::filesystem::path destination_;
    std::filesystem::path path_; // empty until created, and again once it took its place
};

// Writes `bytes` as the whole of `path` through a fresh file beside it that then takes its
// place: a link at `path` is replaced, never written through, and a failed write leaves what
// was there.
bool replaceWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                      std::string& reason);
// Writes `bytes` as a new file at `path`; fails when anything, a link too, is there already.
bool writeNewFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                  std::string& reason);
