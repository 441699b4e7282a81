// plimo_photo_bench PHOTO.jpg...: for each phone photo, how long the maker takes to make it the
// board's picture (decode, scale to the box, write as JPEG) with stb alone and with libjpeg-turbo
// decoding at a fraction of the size, against Debian's `djpeg -scale 1/8` of the same file timed
// in the same run. Each figure is the median of several runs, in milliseconds.
#include "maker/jpeg_decoder.h"

#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kBox = 260;
constexpr int kRuns = 7;

struct Picture {
    int width = 0, height = 0;
    const uint8_t* rgb = nullptr;
};

// Scaled to the box and written as the maker writes it; returns the JPEG's size.
size_t boardJpeg(Picture picture) {
    const int longer = std::max(picture.width, picture.height);
    const int shorter = std::min(picture.width, picture.height);
    const int scaled = std::max(1, (shorter * kBox + longer / 2) / longer);
    const int width = picture.width >= picture.height ? kBox : scaled;
    const int height = picture.width >= picture.height ? scaled : kBox;
    std::vector<uint8_t> box(3 * size_t(width) * height);
    stbir_resize_uint8_srgb(picture.rgb, picture.width, picture.height, 0, box.data(), width,
                            height, 0, 3, STBIR_ALPHA_CHANNEL_NONE, 0);
    size_t written = 0;
    stbi_write_jpg_to_func(
        [](void* total, void*, int size) { *static_cast<size_t*>(total) += size; }, &written, width,
        height, 3, box.data(), 90);
    return written;
}

bool withStb(const std::vector<uint8_t>& file) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgb =
        stbi_load_from_memory(file.data(), int(file.size()), &width, &height, &channels, 3);
    const bool made = rgb && boardJpeg({width, height, rgb}) > 0;
    stbi_image_free(rgb);
    return made;
}

bool withTurbo(const std::vector<uint8_t>& file, int minLongerSide) {
    std::string reason;
    const std::optional<DecodedJpeg> decoded =
        decodeJpegScaled(file, minLongerSide, 100'000'000, reason);
    if (!decoded)
        fprintf(stderr, "refused: %s\n", reason.c_str());
    return decoded && boardJpeg({decoded->width, decoded->height, decoded->rgb.data()}) > 0;
}

double medianMilliseconds(const std::function<bool()>& run) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!run())
            return -1;
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::ranges::sort(times);
    return times[times.size() / 2];
}

std::string quoted(const std::string& path) {
    std::string result = "'";
    for (char c : path)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

} // namespace

int main(int argc, char** argv) {
    printf("%-24s %9s %10s %10s %10s %8s %8s\n", "photo (ms, median)", "stb", "turbo 1/8",
           "maker 520", "djpeg 1/8", "1/8:dj", "stb:dj");
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), {}};
        const std::string djpeg = "djpeg -scale 1/8 -outfile /dev/null " + quoted(argv[i]);
        const double stb = medianMilliseconds([&] { return withStb(file); });
        // 1/8, as djpeg; then what the maker asks: twice the box, which a 4000-pixel photo
        // only keeps at 1/4.
        const double eighth = medianMilliseconds([&] { return withTurbo(file, kBox); });
        const double maker = medianMilliseconds([&] { return withTurbo(file, 2 * kBox); });
        const double djpegTime =
            medianMilliseconds([&] { return std::system(djpeg.c_str()) == 0; });
        const std::string name = std::string(argv[i]).substr(std::string(argv[i]).rfind('/') + 1);
        printf("%-24s %9.1f %10.1f %10.1f %10.1f %8.2f %8.2f\n", name.c_str(), stb, eighth, maker,
               djpegTime, eighth / djpegTime, stb / djpegTime);
    }
}
