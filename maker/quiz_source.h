// A quiz as its author describes it: every text already in Windows-1252, every value with the
// source line it came from, pictures and clips as paths beside the source.
#pragma once

#include "content/quiz_record.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A value and the source line it was read from; line 0 when it was not read from a source
// (a default, or a quiz read back from an executable).
template <typename T> struct Sourced {
    T value{};
    int line = 0;
};

using SourcedText = Sourced<std::string>;

struct QuizColour {
    uint8_t red = 0x35;
    uint8_t green = 0xCB;
    uint8_t blue = 0xA3;
    bool operator==(const QuizColour&) const = default;
};

// A picture or clip file, relative to the folder of the source; an empty path when none.
struct MediaFile {
    std::string path; // UTF-8, as written
    int line = 0;
    int turnDegrees = 0; // clockwise, after the picture's own EXIF orientation: 0, 90, 180, 270
    bool present() const { return !path.empty(); }
};

struct QuestionSource {
    int line = 0;                     // its [[question]] header
    std::vector<SourcedText> answers; // one per answer field
    SourcedText text;                 // shown beside the answer field in a text list
    MediaFile media;                  // picture, sound or video, by the quiz's layout
    SourcedText rewardText;           // rewards text, message and final
    MediaFile rewardPicture;          // reward picture
};

struct QuizSource {
    std::string file;             // the source as the user named it, for diagnostics
    std::filesystem::path folder; // where media paths start from

    SourcedText title;
    SourcedText creator;
    SourcedText explanation;
    Sourced<MediaKind> layout{kMediaTextList};
    Sourced<QuizColour> colour;
    std::array<SourcedText, 2> answerLabels;
    Sourced<RewardKind> reward{kRewardNone};
    int answerFieldCount = 1;
    std::vector<SourcedText> codes; // entry s-1 is shown at score s
    int codesLine = 0;
    std::vector<QuestionSource> questions;
};

// The words of the source format, indexed by MediaKind and RewardKind.
constexpr std::array<std::string_view, 4> kLayoutWords = {"text list", "pictures", "sound",
                                                          "video"};
constexpr std::array<std::string_view, 5> kRewardWords = {"none", "picture", "text", "message",
                                                          "final"};

std::optional<MediaKind> layoutFromWord(std::string_view word);
std::optional<RewardKind> rewardFromWord(std::string_view word);
std::string_view layoutWord(MediaKind layout);
std::string_view rewardWord(RewardKind reward);

// The key of a question's picture or clip for a layout: "picture", "sound" or "video"; empty
// for a text list, which has none.
std::string_view mediaKey(MediaKind layout);

// Reward kinds that store a text per question.
bool rewardHasText(RewardKind reward);

// "#35CBA3" and back.
std::optional<QuizColour> colourFromText(std::string_view text);
std::string colourText(const QuizColour& colour);

// Field names used in diagnostics, questions and codes counted from 1 as on the board:
// "question[3].picture", "question[2].answers[2]" (or ".answer" with one answer field).
std::string questionField(int index, std::string_view key);
std::string answerField(const QuizSource& quiz, int questionIndex, int answerIndex);

// A text as diagnostics quote it: between double quotes.
std::string inQuotes(std::string_view utf8);

// Paths in sources and on the command line are UTF-8 on every platform.
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string pathToUtf8(const std::filesystem::path& path);
