#include "maker/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

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

namespace {

#ifdef _WIN32
int createExclusively(const std::filesystem::path& path) {
    return _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int writeSome(int file, const uint8_t* bytes, size_t count) {
    return _write(file, bytes, unsigned(std::min<size_t>(count, 1 << 30)));
}
int closeFile(int file) {
    return _close(file);
}
#else
int createExclusively(const std::filesystem::path& path) {
    return open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0666);
}
ssize_t writeSome(int file, const uint8_t* bytes, size_t count) {
    return write(file, bytes, std::min<size_t>(count, 1 << 30));
}
int closeFile(int file) {
    return close(file);
}
#endif

// Writes the whole of `bytes` into the newly created `file`, and closes it.
bool writeAndClose(int file, std::span<const uint8_t> bytes, std::string& reason) {
    bool written = true;
    for (size_t done = 0; written && done < bytes.size();) {
        const auto count = writeSome(file, bytes.data() + done, bytes.size() - done);
        written = count > 0;
        done += written ? size_t(count) : 0;
    }
    if (!written)
        reason = lastReason();
    if (closeFile(file) != 0 && written) {
        reason = lastReason();
        written = false;
    }
    return written;
}

// "quiz.toml.3f9a0c12.part": the destination's name and a random part.
std::filesystem::path freshName(const std::filesystem::path& destination) {
    static const char kDigits[] = "0123456789abcdef";
    std::random_device random;
    std::string suffix = ".";
    for (uint32_t bits = random(), i = 0; i < 8; ++i, bits >>= 4)
        suffix += kDigits[bits & 15];
    std::filesystem::path name = destination;
    return name += suffix + ".part";
}

} // namespace

FreshFile::~FreshFile() {
    std::error_code ignored;
    if (!path_.empty())
        std::filesystem::remove(path_, ignored);
}

bool FreshFile::write(std::span<const uint8_t> bytes, std::string& reason) {
    // A name taken already, by anyone, is passed over for another.
    constexpr int kTries = 100;
    for (int i = 0; i < kTries; ++i) {
        const std::filesystem::path candidate = freshName(destination_);
        errno = 0;
        const int file = createExclusively(candidate);
        if (file < 0 && errno == EEXIST)
            continue;
        if (file < 0) {
            reason = lastReason();
            return false;
        }
        path_ = candidate;
        return writeAndClose(file, bytes, reason);
    }
    reason = "no fresh file name was found beside it";
    return false;
}

bool FreshFile::replaceDestination(std::string& reason) {
    std::error_code failure;
    std::filesystem::rename(path_, destination_, failure);
    if (failure) {
        reason = failure.message();
        return false;
    }
    path_.clear();
    return true;
}

bool replaceWholeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                      std::string& reason) {
    FreshFile fresh(path);
    return fresh.write(bytes, reason) && fresh.replaceDestination(reason);
}

bool writeNewFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                  std::string& reason) {
    errno = 0;
    const int file = createExclusively(path);
    if (file < 0) {
        reason = lastReason();
        return false;
    }
    if (writeAndClose(file, bytes, reason))
        return true;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return false;
}
