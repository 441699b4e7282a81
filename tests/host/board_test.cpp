#include "board/board_layout.h"
#include "board/progress_lines.h"
#include "board/scroll_arithmetic.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <numeric>
#include <set>

namespace {

struct BoardCase {
    int mediaKind, questions, fields, reward;
    std::map<int, PictureSize> pictures;
    int controls, width, height;
    std::vector<std::array<int, 7>> rects; // id, question, answer, x, y, width, height
};

// clang-format off
const BoardCase kBoards[] = {
    {kMediaTextList, 3, 1, 0, {}, 12, 850, 80,
     {{153, 2, 0, 26, 32, 19, 17}, {3000, 2, 0, 50, 30, 550, 20}, {4002, 2, 1, 610, 30, 100, 20},
      {5002, 2, 1, 720, 30, 100, 20}}},
    // Two answers announced: still one field per question, numbered by question.
    {kMediaTextList, 3, 2, 3, {}, 12, 910, 80, {{4003, 3, 1, 610, 55, 100, 20}}},
    // Row one's band is as tall as question 2's picture; row two holds question 4 alone.
    {kMediaPictures, 4, 1, 1, {{1, {260, 195}}, {2, {130, 260}}, {3, {260, 26}}, {4, {260, 195}}},
     16, 910, 600,
     {{9901, 1, 0, 46, 37, 260, 195}, {9902, 2, 0, 401, 5, 130, 260},
      {9903, 3, 0, 626, 122, 260, 26}, {4002, 2, 1, 336, 275, 260, 20},
      {5002, 2, 1, 336, 294, 260, 20}, {153, 3, 0, 598, 277, 27, 17},
      {9904, 4, 0, 46, 335, 260, 195}, {4004, 4, 1, 46, 540, 260, 20}}},
    // A missing picture leaves an empty field of the band.
    {kMediaPictures, 2, 1, 0, {{1, {260, 195}}}, 8, 910, 270, {{9902, 2, 0, 336, 5, 260, 195}}},
    // Captions stand beside the first question of each row only.
    {kMediaPictures, 4, 2, 3, {{1, {260, 195}}, {4, {100, 100}}}, 32, 970, 600,
     {{156, 1, 1, 3, 212, 95, 20}, {156, 1, 2, 3, 232, 95, 20}, {156, 4, 1, 3, 462, 95, 20},
      {4003, 2, 1, 396, 210, 201, 20}, {5003, 2, 1, 596, 210, 60, 20},
      {4004, 2, 2, 396, 229, 201, 20}, {5004, 2, 2, 596, 229, 60, 20},
      {8002, 2, 0, 396, 256, 260, 65}}},
    {kMediaSound, 4, 1, 0, {}, 20, 910, 125,
     {{6002, 2, 0, 336, 5, 20, 20}, {7002, 2, 0, 336, 25, 20, 19}, {4002, 2, 1, 356, 5, 240, 20},
      {5002, 2, 1, 356, 24, 240, 20}, {6004, 4, 0, 46, 65, 20, 20}}},
    {kMediaVideo, 4, 2, 2, {}, 36, 970, 705,
     {{6001, 1, 0, 106, 215, 20, 20}, {4001, 1, 1, 126, 215, 181, 20},
      {5001, 1, 1, 306, 215, 60, 20}, {6004, 4, 0, 106, 565, 20, 20},
      {8004, 4, 0, 106, 611, 260, 65}}},
    {7, 5, 1, 0, {}, 0, 20, 0, {}}, // an unknown kind of board shows nothing
};
// clang-format on

TEST(BoardLayout, RectanglesOfEveryKindOfBoard) {
    auto record = std::make_unique<QuizRecord>();
    for (const BoardCase& c : kBoards) {
        SCOPED_TRACE("kind " + std::to_string(c.mediaKind) + ", " + std::to_string(c.fields));
        std::tie(record->mediaKind, record->questionCount, record->answerFieldCount,
                 record->rewardKind) = std::tie(c.mediaKind, c.questions, c.fields, c.reward);
        std::vector<int> asked, eachOnce(c.mediaKind == kMediaPictures ? c.questions : 0);
        std::iota(eachOnce.begin(), eachOnce.end(), 1);
        const BoardPlan plan = planBoard(*record, [&](int question) {
            asked.push_back(question);
            return c.pictures.count(question) ? c.pictures.at(question) : PictureSize{};
        });
        EXPECT_EQ((std::tuple{asked, plan.controls.size(), plan.contentWidth, plan.contentHeight}),
                  (std::tuple{eachOnce, size_t(c.controls), c.width, c.height}));
        std::set<std::array<int, 7>> placed;
        for (const PlacedControl& p : plan.controls)
            placed.insert({p.id, p.question, p.answer, p.x, p.y, p.width, p.height});
        for (const auto& r : c.rects)
            EXPECT_TRUE(placed.count(r)) << r[0] << " of question " << r[1];
    }
}

TEST(ScrollArithmetic, RangesAndTargetsOfEveryRequest) {
    const ScrollRange tall = scrollRangeFor(900, 300), small = scrollRangeFor(830, 900);
    // A content that fits: the page outgrows the range and the position goes back to 0.
    EXPECT_EQ((std::tuple{tall.maximum, tall.page, tall.fits, small.maximum, small.page, small.fits,
                          scrollRangeFor(300, 300).fits}),
              (std::tuple{898, 299, false, 828, 829, true, true}));
    // A board 900 high in a window of 300; the system itself then stops the position at 600.
    // request, position, target, vertical result, horizontal result
    // clang-format off
    const int cases[][5] = {
        {0, 100, 0, 0, 99}, {1, 310, 0, 620, 311}, {2, 500, 0, 201, 201}, {3, 100, 0, 399, 399},
        {4, 200, 0, 200, 200}, {5, 0, 0, 123, 123}, {6, 500, 0, 0, 500}, {7, 0, 0, 898, 0},
        {kScrollCodeWheelDown, 200, 0, 250, 200}, {kScrollCodeWheelUp, 200, 0, 150, 200},
        {kScrollCodeToTarget, 0, 450, 450, 0}, {kScrollCodeToTarget, 0, 5000, 898, 0}};
    // clang-format on
    for (auto [request, position, target, vertical, horizontal] : cases) {
        const ScrollBarState bar{
            .maximum = 898, .page = 299, .position = position, .trackPosition = 123};
        EXPECT_EQ((std::pair{verticalScrollTarget(request, bar, target),
                             horizontalScrollTarget(request, bar)}),
                  (std::pair{vertical, horizontal}))
            << request;
    }
    const ScrollBarState empty{.maximum = -2}; // the range of an empty content
    EXPECT_EQ((std::array{verticalScrollTarget(7, empty, 0), wheelRequest(120), wheelRequest(-120),
                          wheelRequest(0), wheelRequest(121), wheelRequest(119)}),
              (std::array{0, kScrollCodeWheelUp, kScrollCodeWheelDown, 0, 0, 0}));
}

TEST(ProgressLines, ReadingAndRecognising) {
    const std::string x(kQuizTextMaxLength, 'x');
    // The file, the three lines read from it, and whether it could be a progress file of three.
    const std::tuple<std::string, std::string, bool> cases[] = {
        // clang-format off
        {"abc\r\ndef\r\n", "abc|def|", true}, {"a\nb\nc\nd\n", "a\nb\nc\nd\n||", true},
        {"", "||", true}, {"abc\rxyz\r\nlast\r\n", "abc|last|", true}, {"end\r", "end||", true},
        {std::string("a\0b\0c\r\n", 7), "abc||", false}, // NULs add nothing
        {"1\r\n2\r\n3\r\n4", "1|2|3", false}, {x + "x", x + "||", false},
        {x + "\r\n" + x + "\r\n" + x + "\r\n", x + "|" + x + "|" + x, true},
        // clang-format on
    };
    for (const auto& [file, lines, ours] : cases) {
        const std::vector<uint8_t> bytes(file.begin(), file.end());
        ProgressLineReader reader(bytes);
        std::string read;
        for (int field = 0; field < 3; ++field) {
            char text[kQuizTextSize];
            reader.nextLine(text);
            read += (field ? "|" : "") + std::string(text);
        }
        EXPECT_EQ((std::pair{read, couldBeProgressText(bytes, 3)}), (std::pair{lines, ours}))
            << file;
    }
}

} // namespace
