#include "board/board_layout.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kFirstRowTop = 5;
constexpr int kQuestionsPerRow = 3;
constexpr int kColumnStep = 290;
constexpr int kVideoBand = 210;

void placeTextList(const QuizRecord& record, BoardPlan& plan) {
    int rowTop = kFirstRowTop;
    for (int n = 1; n <= record.questionCount; ++n) {
        plan.controls.push_back(
            {BoardControl::kQuestionNumber, IDC_QUESTION_NUMBER, 26, rowTop + 2, 19, 17, n});
        plan.controls.push_back(
            {BoardControl::kQuestionText, IDC_QUESTION_TEXT, 50, rowTop, 550, 20, n});
        plan.controls.push_back(
            {BoardControl::kAnswerField, answerFieldId(n), 610, rowTop, 100, 20, n, 1});
        plan.controls.push_back(
            {BoardControl::kVerdictField, verdictFieldId(n), 720, rowTop, 100, 20, n, 1});
        rowTop += 25;
        plan.contentWidth = 830;
        plan.contentHeight = rowTop;
    }
}

struct GridShape {
    int fieldsPerQuestion;
    int fieldWidth;  // W
    int fieldOffset; // D: the play and stop buttons stand left of the fields
    bool pictures;
    bool mediaButtons;
    int bandAboveFields; // the video's free band
    int rowExtra;        // room below the fields: the reward field needs more
};

GridShape gridShapeOf(const QuizRecord& record) {
    GridShape shape{};
    shape.fieldsPerQuestion = answerFieldsPerQuestion(record);
    shape.pictures = record.mediaKind == kMediaPictures;
    shape.mediaButtons = !shape.pictures;
    shape.fieldWidth = shape.pictures ? kPictureBox : 240;
    shape.fieldOffset = shape.pictures ? 0 : 20;
    shape.bandAboveFields = record.mediaKind == kMediaVideo ? kVideoBand : 0;
    shape.rowExtra = record.rewardKind > kRewardPicture ? 140 : 60;
    return shape;
}

void placeAnswerFields(const GridShape& shape, int n, int left, int top, BoardPlan& plan) {
    const int x = left + shape.fieldOffset;
    const int w = shape.fieldWidth;
    if (shape.fieldsPerQuestion == 1) {
        plan.controls.push_back(
            {BoardControl::kAnswerField, answerFieldId(n), x, top, w, 20, n, 1});
        plan.controls.push_back(
            {BoardControl::kVerdictField, verdictFieldId(n), x, top + 19, w, 20, n, 1});
        return;
    }
    for (int k = 1; k <= 2; ++k) {
        const int field = fieldIndexOf({n, k}, 2);
        const int fieldTop = top + 19 * (k - 1);
        plan.controls.push_back(
            {BoardControl::kAnswerField, answerFieldId(field), x, fieldTop, w - 59, 20, n, k});
        plan.controls.push_back({BoardControl::kVerdictField, verdictFieldId(field), x + w - 60,
                                 fieldTop, 60, 20, n, k});
    }
}

void placeGrid(const QuizRecord& record, const std::function<PictureSize(int)>& pictureSize,
               BoardPlan& plan) {
    const GridShape shape = gridShapeOf(record);
    const int firstColumn = shape.fieldsPerQuestion == 2 ? 106 : 46;
    int rowTop = kFirstRowTop;
    int bandHeight = 0;
    std::array<PictureSize, kQuestionsPerRow> rowPictures{};

    for (int n = 1; n <= record.questionCount; ++n) {
        const int column = (n - 1) % kQuestionsPerRow;
        const bool rowStart = column == 0;
        const int left = firstColumn + kColumnStep * column;

        int fieldsTop = rowTop + shape.bandAboveFields;
        if (shape.pictures) {
            if (rowStart) {
                // Each picture is measured once: the band takes the tallest of the row.
                bandHeight = 0;
                for (int i = 0; i < kQuestionsPerRow; ++i) {
                    const int q = n + i;
                    rowPictures[i] = q <= record.questionCount ? pictureSize(q) : PictureSize{};
                    bandHeight = std::max(bandHeight, rowPictures[i].height);
                }
            }
            const PictureSize picture = rowPictures[column];
            if (picture.width > 0)
                plan.controls.push_back({BoardControl::kPictureField, pictureFieldId(n),
                                         left + (kPictureBox - picture.width) / 2,
                                         rowTop + (bandHeight - picture.height) / 2, picture.width,
                                         picture.height, n});
            else
                plan.controls.push_back({BoardControl::kPictureField, pictureFieldId(n), left,
                                         rowTop, kPictureBox, bandHeight, n});
            fieldsTop = rowTop + bandHeight + 10;
        }

        if (shape.fieldsPerQuestion == 2 && rowStart) {
            plan.controls.push_back(
                {BoardControl::kAnswerCaption, IDC_ANSWER_CAPTION, 3, fieldsTop + 2, 95, 20, n, 1});
            plan.controls.push_back({BoardControl::kAnswerCaption, IDC_ANSWER_CAPTION, 3,
                                     fieldsTop + 22, 95, 20, n, 2});
        }
        plan.controls.push_back({BoardControl::kQuestionNumber, IDC_QUESTION_NUMBER, left - 28,
                                 fieldsTop + 2, 27, 17, n});
        if (shape.mediaButtons) {
            plan.controls.push_back(
                {BoardControl::kPlayButton, IDC_PLAY_BASE + n, left, fieldsTop, 20, 20, n});
            plan.controls.push_back(
                {BoardControl::kStopButton, IDC_STOP_BASE + n, left, fieldsTop + 20, 20, 19, n});
        }
        placeAnswerFields(shape, n, left, fieldsTop, plan);
        if (record.rewardKind > kRewardPicture)
            plan.controls.push_back(
                {BoardControl::kRewardField, rewardFieldId(n), left, fieldsTop + 46, 260, 65, n});

        if (rowStart) {
            plan.contentWidth = 890;
            plan.contentHeight = fieldsTop + shape.rowExtra;
        }
        if (column == kQuestionsPerRow - 1)
            rowTop = fieldsTop + shape.rowExtra;
    }
}

} // namespace

BoardPlan planBoard(const QuizRecord& record, const std::function<PictureSize(int)>& pictureSize) {
    BoardPlan plan;
    switch (record.mediaKind) {
    case kMediaTextList:
        placeTextList(record, plan);
        break;
    case kMediaPictures:
    case kMediaSound:
    case kMediaVideo:
        placeGrid(record, pictureSize, plan);
        break;
    default:
        break; // an unknown kind of board shows no question at all
    }
    plan.contentWidth += record.answerFieldCount == 2 ? 80 : 20;
    return plan;
}
