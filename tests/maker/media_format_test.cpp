#include "maker/media_format.h"
#include "maker/quiz_resources.h"
#include "tests/maker/maker_test_support.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

struct Head {
    const char* name;
    std::string bytes;
    MediaFormat format;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const Head& row, std::ostream* out) {
    *out << row.name;
}

class DetectMediaFormat : public testing::TestWithParam<Head> {};

TEST_P(DetectMediaFormat, RecognisesTheLeadingBytes) {
    EXPECT_EQ(detectMediaFormat(bytes(GetParam().bytes)), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(
    Heads, DetectMediaFormat,
    testing::Values(Head{"jpeg", "\xFF\xD8\xFF\xE0", MediaFormat::kJpeg},
                    Head{"jpeg_cut", "\xFF\xD8", MediaFormat::kUnknown},
                    Head{"bmp", "BM\x5A\x00", MediaFormat::kBmp},
                    Head{"bmp_lower_case", "bm\x5A\x00", MediaFormat::kUnknown},
                    Head{"gif87", "GIF87a", MediaFormat::kGif},
                    Head{"gif89", "GIF89a", MediaFormat::kGif},
                    Head{"gif_cut", "GIF", MediaFormat::kUnknown},
                    Head{"png", "\x89PNG\r\n\x1A\n", MediaFormat::kPng},
                    Head{"mp3_tagged", "ID3\x03", MediaFormat::kMp3},
                    Head{"mp3_frame", "\xFF\xFB\x90\x64", MediaFormat::kMp3},
                    Head{"avi", std::string("RIFF\x10\0\0\0AVI LIST", 16), MediaFormat::kAvi},
                    Head{"wav", std::string("RIFF\x10\0\0\0WAVEfmt ", 16), MediaFormat::kUnknown},
                    Head{"empty", "", MediaFormat::kUnknown}),
    [](const testing::TestParamInfo<Head>& info) { return info.param.name; });

TEST(MediaFormat, TheTestFilesAreWhatTheirNamesSay) {
    EXPECT_EQ(detectMediaFormat(readBytes(testData() / "q1.jpg")), MediaFormat::kJpeg);
    EXPECT_EQ(detectMediaFormat(readBytes(testData() / "q2.bmp")), MediaFormat::kBmp);
    EXPECT_EQ(detectMediaFormat(readBytes(testData() / "q3.gif")), MediaFormat::kGif);
    EXPECT_EQ(detectMediaFormat(readBytes(testData() / "clip.mp3")), MediaFormat::kMp3);
    EXPECT_EQ(detectMediaFormat(readBytes(testData() / "clip.avi")), MediaFormat::kAvi);
    EXPECT_EQ(detectMediaFormat(readBytes(testData() / "not_a_picture.jpg")),
              MediaFormat::kUnknown);
}

struct Naming {
    int id;
    MediaKind layout;
    std::string bytes;
    const char* name;
};

// Names the row in test output instead of dumping its bytes.
void PrintTo(const Naming& row, std::ostream* out) {
    *out << row.name;
}

class MediaFileName : public testing::TestWithParam<Naming> {};

TEST_P(MediaFileName, IsStableAndTellsTheKind) {
    const Naming& naming = GetParam();
    EXPECT_EQ(mediaFileName(naming.id, naming.layout, bytes(naming.bytes)), naming.name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, MediaFileName,
    testing::Values(Naming{401, kMediaPictures, "\xFF\xD8\xFF", "media_401.jpg"},
                    Naming{496, kMediaPictures, "GIF89a", "media_496.gif"},
                    Naming{402, kMediaPictures, "BM", "media_402.bmp"},
                    Naming{403, kMediaPictures, "????", "media_403.bin"},
                    // Clips are named as the player names them, whatever their bytes.
                    Naming{401, kMediaSound, "RIFF", "media_401.mp3"},
                    Naming{401, kMediaVideo, "ID3", "media_401.avi"},
                    Naming{10401, kMediaSound, "BM", "reward_10401.bmp"},
                    Naming{10496, kMediaPictures, "\xFF\xD8\xFF", "reward_10496.jpg"}));

TEST(MediaFormat, ResourceIdentifiersCountQuestionsFromOne) {
    EXPECT_EQ(questionMediaId(0), 401);
    EXPECT_EQ(questionMediaId(95), 496);
    EXPECT_EQ(rewardPictureId(0), 10401);
    EXPECT_EQ(rewardPictureId(95), 10496);
}

} // namespace
