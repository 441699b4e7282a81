#include "studio/thumbnail_worker.h"

#include "maker/file_io.h"
#include "maker/media_format.h"
#include "maker/picture_preparation.h"

#include <stb/stb_image.h>

#include <algorithm>

ThumbnailWorker::ThumbnailWorker(HWND window, UINT message) : window_(window), message_(message) {
    // One core is left to the window and the author's other programs.
    const unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 3u);
    for (unsigned i = 0; i < count; ++i)
        workers_.emplace_back([this](std::stop_token stop) { work(stop); });
}

ThumbnailWorker::~ThumbnailWorker() {
    for (std::jthread& worker : workers_)
        worker.request_stop();
    wake_.notify_all();
    workers_.clear(); // joins
}

void ThumbnailWorker::request(const std::filesystem::path& file) {
    {
        std::lock_guard lock(mutex_);
        if (!asked_.insert(file).second)
            return;
        queue_.push_back(file);
    }
    wake_.notify_one();
}

void ThumbnailWorker::work(std::stop_token stop) {
    while (true) {
        std::filesystem::path file;
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait(lock, stop, [this] { return !queue_.empty(); }))
                return;
            file = std::move(queue_.front());
            queue_.pop_front();
        }
        std::unique_ptr<PreparedThumbnail> result = prepareThumbnail(file);
        if (stop.stop_requested())
            return;
        post(std::move(result));
    }
}

void ThumbnailWorker::post(std::unique_ptr<PreparedThumbnail> result) const {
    if (PostMessageW(window_, message_, 0, reinterpret_cast<LPARAM>(result.get())))
        result.release(); // the window owns it now
}

std::unique_ptr<PreparedThumbnail> prepareThumbnail(const std::filesystem::path& file) {
    auto result = std::make_unique<PreparedThumbnail>();
    result->file = file;
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!readWholeFile(file, bytes, reason, kMaxMediaFileBytes))
        return result;
    const PreparedPicture prepared = preparePicture(bytes);
    if (!prepared.ok())
        return result;
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgba =
        stbi_load_from_memory(prepared.bytes.data(), static_cast<int>(prepared.bytes.size()),
                              &width, &height, &channels, 4);
    if (!rgba)
        return result;
    result->width = width;
    result->height = height;
    result->pixels.assign(rgba, rgba + size_t(width) * height * 4);
    stbi_image_free(rgba);
    for (size_t i = 0; i < result->pixels.size(); i += 4)
        std::swap(result->pixels[i], result->pixels[i + 2]); // RGBA to Windows' BGRA
    return result;
}
