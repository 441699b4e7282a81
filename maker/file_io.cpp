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
                   std::string& reason) {
    return readBytes(path, SIZE_MAX, bytes, reason);
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
