// Pictures made ready for the board on worker threads, for the question list and the preview:
// a phone photo takes a good part of a second to decode and scale, and the window must not
// wait for it. Workers never touch a window: each result is posted to it.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

// A picture as the board shows it, decoded to 32-bit BGRA rows from the top; no pixels when
// the file cannot be read or prepared.
struct PreparedThumbnail {
    std::filesystem::path file;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

class ThumbnailWorker {
  public:
    // Results go to `window` as `message` with the owned PreparedThumbnail* in lParam.
    ThumbnailWorker(HWND window, UINT message);
    ~ThumbnailWorker(); // stops and waits for the workers
    ThumbnailWorker(const ThumbnailWorker&) = delete;
    ThumbnailWorker& operator=(const ThumbnailWorker&) = delete;

    // Asks for `file` unless it was asked for already.
    void request(const std::filesystem::path& file);

  private:
    void work(std::stop_token stop);
    void post(std::unique_ptr<PreparedThumbnail> result) const;

    HWND window_;
    UINT message_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::deque<std::filesystem::path> queue_;
    std::set<std::filesystem::path> asked_;
    std::vector<std::jthread> workers_;
};

// Decodes and prepares one picture file as the board shows it.
std::unique_ptr<PreparedThumbnail> prepareThumbnail(const std::filesystem::path& file);
