// The resources that carry one quiz in a copy of the player: PATCH 104 (the quiz text) and
// PATCH 105 (the codes), both compressed as the player stores them, and the IMG resources of
// its pictures and clips.
#pragma once

#include "content/quiz_record.h"
#include "resources/quiz_resource_ids.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct QuizResources {
    std::optional<std::vector<uint8_t>> quizText;  // PATCH 104
    std::optional<std::vector<uint8_t>> quizCodes; // PATCH 105
    std::map<int, std::vector<uint8_t>> images;    // IMG resources by identifier

    bool operator==(const QuizResources&) const = default;
};

// Resource identifiers of a question (zero-based index) for its picture or clip, and for its
// reward picture.
constexpr int questionMediaId(int questionIndex) {
    return IDR_QUESTION_MEDIA_BASE + questionIndex + 1;
}
constexpr int rewardPictureId(int questionIndex) {
    return IDR_REWARD_PICTURE_BASE + questionIndex + 1;
}

// The file an IMG resource is written to: "media_401.jpg", "reward_10401.gif". Pictures are
// named by their content; clips by the layout, as the player itself names them (.mp3, .avi).
std::string mediaFileName(int resourceId, MediaKind layout, std::span<const uint8_t> bytes);
