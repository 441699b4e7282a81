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
    bool rewardFields;
    int rowExtra; // room below the fields: the reward field needs more
};

GridShape gridShapeOf(const QuizRecord& record) {
    GridShape shape{};
    shape.fieldsPerQuestion = answerFieldsPerQuestion(record);
    shape.pictures = record.mediaKind == kMediaPictures;
    shape.mediaButtons = !shape.pictures;
    shape.fieldWidth = shape.pictures ? kPictureBox : 240;
    shape.fieldOffset = shape.pictures ? 0 : 20;
    shape.bandAboveFields = record.mediaKind == kMediaVideo ? kVideoBand : 0;
    shape.rewardFields = record.rewardKind > kRewardPicture;
    shape.rowExtra = shape.rewardFields ? 140 : 60;
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

// The row of questions being placed.
struct GridRow {
    int top = kFirstRowTop;
    int bandHeight = 0; // the pictures' band: as tall as the row's tallest picture
    std::array<PictureSize, kQuestionsPerRow> pictures{};
};

// Each picture is measured once, as its row starts.
void measureRowPictures(const QuizRecord& record,
                        const std::function<PictureSize(int)>& pictureSize, int firstQuestion,
                        GridRow& row) {
    row.bandHeight = 0;
    for (int i = 0; i < kQuestionsPerRow; ++i) {
        const int q = firstQuestion + i;
        row.pictures[i] = q <= record.questionCount ? pictureSize(q) : PictureSize{};
        row.bandHeight = std::max(row.bandHeight, row.pictures[i].height);
    }
}

// Question n's picture, centred in its box and in the band; without a picture, the whole box.
// Returns the top of the question's fields, below the band.
int placePicture(const GridRow& row, int n, int column, int left, BoardPlan& plan) {
    const PictureSize picture = row.pictures[column];
    if (picture.width > 0)
        plan.controls.push_back({BoardControl::kPictureField, pictureFieldId(n),
                                 left + (kPictureBox - picture.width) / 2,
                                 row.top + (row.bandHeight - picture.height) / 2, picture.width,
                                 picture.height, n});
    else
        plan.controls.push_back({BoardControl::kPictureField, pictureFieldId(n), left, row.top,
                                 kPictureBox, row.bandHeight, n});
    return row.top + row.bandHeight + 10;
}

// Everything of question n from its fields' top down; a row's first question also carries the
// answer captions at the left edge.
void placeQuestionControls(const GridShape& shape, int n, bool rowStart, int left, int fieldsTop,
                           BoardPlan& plan) {
    if (shape.fieldsPerQuestion == 2 && rowStart) {
        plan.controls.push_back(
            {BoardControl::kAnswerCaption, IDC_ANSWER_CAPTION, 3, fieldsTop + 2, 95, 20, n, 1});
        plan.controls.push_back(
            {BoardControl::kAnswerCaption, IDC_ANSWER_CAPTION, 3, fieldsTop + 22, 95, 20, n, 2});
    }
    plan.controls.push_back(
        {BoardControl::kQuestionNumber, IDC_QUESTION_NUMBER, left - 28, fieldsTop + 2, 27, 17, n});
    if (shape.mediaButtons) {
        plan.controls.push_back(
            {BoardControl::kPlayButton, IDC_PLAY_BASE + n, left, fieldsTop, 20, 20, n});
        plan.controls.push_back(
            {BoardControl::kStopButton, IDC_STOP_BASE + n, left, fieldsTop + 20, 20, 19, n});
    }
    placeAnswerFields(shape, n, left, fieldsTop, plan);
    if (shape.rewardFields)
        plan.controls.push_back(
            {BoardControl::kRewardField, rewardFieldId(n), left, fieldsTop + 46, 260, 65, n});
}

void placeGrid(const QuizRecord& record, const std::function<PictureSize(int)>& pictureSize,
               BoardPlan& plan) {
    const GridShape shape = gridShapeOf(record);
    const int firstColumn = shape.fieldsPerQuestion == 2 ? 106 : 46;
    GridRow row;
    for (int n = 1; n <= record.questionCount; ++n) {
        const int column = (n - 1) % kQuestionsPerRow;
        const bool rowStart = column == 0;
        const int left = firstColumn + kColumnStep * column;
        int fieldsTop = row.top + shape.bandAboveFields;
        if (shape.pictures) {
            if (rowStart)
                measureRowPictures(record, pictureSize, n, row);
            fieldsTop = placePicture(row, n, column, left, plan);
        }
        placeQuestionControls(shape, n, rowStart, left, fieldsTop, plan);
        if (rowStart) {
            plan.contentWidth = 890;
            plan.contentHeight = fieldsTop + shape.rowExtra;
        }
        if (column == kQuestionsPerRow - 1)
            row.top = fieldsTop + shape.rowExtra;
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
