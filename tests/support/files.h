// Files and folders as the tests of both builds use them: files read and written whole, and a
// fresh temporary folder.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// A whole file's bytes (empty when it cannot be read), and a file written whole.
inline std::string readFileContent(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}
inline void writeFileContent(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// A fresh folder under the temporary folder, removed with its files at the end. Tests run side
// by side, and a run that was killed leaves its folder behind: a name is never reused. Entered,
// it is the current folder meanwhile.
class TemporaryFolder {
  public:
    explicit TemporaryFolder(bool enter = false) {
        std::random_device random;
        do
            path_ =
                std::filesystem::temp_directory_path() / ("plimo-test-" + std::to_string(random()));
        while (!std::filesystem::create_directory(path_));
        if (enter) {
            previous_ = std::filesystem::current_path();
            std::filesystem::current_path(path_);
        }
    }
    ~TemporaryFolder() {
        if (!previous_.empty())
            std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    std::string path() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_, previous_;
};
