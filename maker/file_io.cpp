#include "maker/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::string lastReason() {
    return errno ? std::string(strerror(errno)) : std::string("input/output error");
}

bool readBytes(const std::filesystem::path& path, size_t limit, std::vector<uint8_t>& bytes,
               std::string& reason) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reason = lastReason();
        return false;
    }
    bytes.clear();
    char buffer[65536];
    while (bytes.size() < limit && in) {
        const size_t wanted = std::min(sizeof buffer, limit - bytes.size());
        in.read(buffer, static_cast<std::streamsize>(wanted));
        bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    }
    if (in.bad()) {
        reason = lastReason();
        return false;
    }
    return true;
}

} // namespace

bool readWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes,
                   std::string& reason, uintmax_t limit) {
    std::error_code failure;
    const uintmax_t size = std::filesystem::file_size(path, failure);
    // What has no size (no file at all, a folder) is left for the read to report.
    if (!failure && size > limit) {
        reason = "the file is " + std::to_string(size) + " bytes, more than the " +
                 sizeText(limit) + " allowed";
        return false;
    }
    // One byte more than allowed tells a file that grew since its size was taken.
    const size_t wanted = limit >= SIZE_MAX ? SIZE_MAX : static_cast<size_t>(limit) + 1;
    if (!readBytes(path, wanted, bytes, reason))
        return false;
    if (bytes.size() > limit) {
        bytes.clear();
        reason = "grew past the " + sizeText(limit) + " allowed while it was read";
        return false;
    }
    return true;
}

std::string sizeText(uintmax_t bytes) {
    constexpr uintmax_t kMebibyte = 1024 * 1024;
    if (bytes != 0 && bytes % kMebibyte == 0)
        return std::to_string(bytes / kMebibyte) + " MiB";
    return std::to_string(bytes) + " bytes";
}

bool readFileHead(const std::filesystem::path& path, size_t count, std::vector<uint8_t>& bytes,
                  std::string& reason) {
    return readBytes(path, count, bytes, reason);
}

bool writeWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                    std::string& reason) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    if (out)
        out.close();
    if (!out) {
        reason = lastReason();
        return false;
    }
    return true;
}
