// Shared helpers of the maker tests: the test media folder, scratch folders, and parsing a
// source given as text.
#pragma once

#include "maker/diagnostics.h"
#include "maker/quiz_source.h"
#include "maker/source_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Tiny pictures and clips: q1.jpg, q2.bmp, q3.gif, r1.jpg, q4.png, clip.mp3, clip.avi, a
// progressive JPEG of 200 x 20 (progressive.jpg), and the bad not_a_picture.jpg and empty.jpg.
inline std::filesystem::path testData() {
    return PLIMO_MAKER_TEST_DATA;
}

// A fresh folder for one test, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder() {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "_" + test->name();
        for (char& c : name) {
            if (!isalnum(static_cast<unsigned char>(c)))
                c = '_';
        }
        path_ = std::filesystem::temp_directory_path() / ("plimo_maker_" + name);
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

inline void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A picture of `width` x `height` made by stb's writers: "png", "jpg" or "bmp", with 3 (RGB) or
// 4 (RGBA) channels. Its colours change across it, as a photo's do; `alpha` is every pixel's.
inline std::vector<uint8_t> madePicture(const std::string& format, int width, int height,
                                        int channels = 3, uint8_t alpha = 255) {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.insert(pixels.end(), {static_cast<uint8_t>(x * 255 / width),
                                         static_cast<uint8_t>(y * 255 / height), 0x80});
            if (channels == 4)
                pixels.push_back(alpha);
        }
    }
    std::vector<uint8_t> file;
    auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<uint8_t>*>(context);
        out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    };
    if (format == "png")
        stbi_write_png_to_func(append, &file, width, height, channels, pixels.data(), 0);
    else if (format == "jpg")
        stbi_write_jpg_to_func(append, &file, width, height, channels, pixels.data(), 90);
    else
        stbi_write_bmp_to_func(append, &file, width, height, channels, pixels.data());
    return file;
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

struct ParsedSource {
    QuizSource quiz;
    Diagnostics diagnostics;

    std::vector<std::string> errors() const { return lines(Severity::kError); }
    std::vector<std::string> warnings() const { return lines(Severity::kWarning); }

    std::vector<std::string> lines(Severity severity) const {
        std::vector<std::string> result;
        for (const Diagnostic& diagnostic : diagnostics.sorted()) {
            if (diagnostic.severity == severity)
                result.push_back(formatDiagnostic(diagnostic));
        }
        return result;
    }
};

// Parses a source named quiz.toml whose media lie in the test data folder.
inline ParsedSource parseSource(const std::string& toml) {
    ParsedSource parsed;
    parsed.quiz = parseQuizSource(toml, "quiz.toml", testData(), parsed.diagnostics);
    return parsed;
}

// Every value of two models, their source lines aside.
inline void expectSameQuiz(const QuizSource& expected, const QuizSource& actual) {
    EXPECT_EQ(actual.title.value, expected.title.value);
    EXPECT_EQ(actual.creator.value, expected.creator.value);
    EXPECT_EQ(actual.explanation.value, expected.explanation.value);
    EXPECT_EQ(actual.layout.value, expected.layout.value);
    EXPECT_EQ(actual.colour.value, expected.colour.value);
    EXPECT_EQ(actual.answerLabels[0].value, expected.answerLabels[0].value);
    EXPECT_EQ(actual.answerLabels[1].value, expected.answerLabels[1].value);
    EXPECT_EQ(actual.reward.value, expected.reward.value);
    EXPECT_EQ(actual.answerFieldCount, expected.answerFieldCount);
    ASSERT_EQ(actual.codes.size(), expected.codes.size());
    for (size_t s = 0; s < expected.codes.size(); ++s)
        EXPECT_EQ(actual.codes[s].value, expected.codes[s].value) << "code " << s + 1;
    ASSERT_EQ(actual.questions.size(), expected.questions.size());
    for (size_t i = 0; i < expected.questions.size(); ++i) {
        SCOPED_TRACE("question " + std::to_string(i + 1));
        const QuestionSource& want = expected.questions[i];
        const QuestionSource& got = actual.questions[i];
        ASSERT_EQ(got.answers.size(), want.answers.size());
        for (size_t k = 0; k < want.answers.size(); ++k)
            EXPECT_EQ(got.answers[k].value, want.answers[k].value);
        EXPECT_EQ(got.text.value, want.text.value);
        EXPECT_EQ(got.media.path, want.media.path);
        EXPECT_EQ(got.rewardText.value, want.rewardText.value);
        EXPECT_EQ(got.rewardPicture.path, want.rewardPicture.path);
    }
}
