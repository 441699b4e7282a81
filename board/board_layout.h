// Control identifiers of the question board, and the arithmetic that maps an answer field to
// its question and back. Every part that reads or writes the board's fields goes through it.
//
// Questions are numbered n = 1..questionCount, the answers of a question k = 1..2, and every
// answer field of the quiz has a field index f from 1: f = n with one answer field per
// question, f = 2(n - 1) + k with two.
#pragma once

#include "content/quiz_record.h"

#include <functional>
#include <vector>

constexpr int IDC_QUESTION_NUMBER = 153;
constexpr int IDC_ANSWER_CAPTION = 156;
constexpr int IDC_QUESTION_TEXT = 3000;
constexpr int IDC_ANSWER_BASE = 4000;
constexpr int IDC_VERDICT_BASE = 5000;
constexpr int IDC_PLAY_BASE = 6000;
constexpr int IDC_STOP_BASE = 7000;
constexpr int IDC_REWARD_BASE = 8000;
constexpr int IDC_PICTURE_BASE = 9900;
constexpr int IDC_PLAYER_HOST = 9900;

// The square that a question's picture, and its reward picture, is fitted into.
constexpr int kPictureBox = 260;

struct AnswerSlot {
    int question; // n, from 1
    int answer;   // k, 1 or 2
};

// Answer fields that each question shows. A text list shows one per question whatever the
// quiz announces, so its fields must never be paired as if there were two.
inline int answerFieldsPerQuestion(const QuizRecord& record) {
    return record.mediaKind != kMediaTextList && record.answerFieldCount == 2 ? 2 : 1;
}

// Answer fields on the whole board.
inline int answerFieldTotal(const QuizRecord& record) {
    return record.questionCount * answerFieldsPerQuestion(record);
}

inline int fieldIndexOf(AnswerSlot slot, int fieldsPerQuestion) {
    return fieldsPerQuestion == 2 ? 2 * (slot.question - 1) + slot.answer : slot.question;
}

inline AnswerSlot answerSlotOf(int fieldIndex, int fieldsPerQuestion) {
    if (fieldsPerQuestion == 2)
        return {(fieldIndex + 1) / 2, fieldIndex % 2 == 1 ? 1 : 2};
    return {fieldIndex, 1};
}

inline int answerFieldId(int fieldIndex) {
    return IDC_ANSWER_BASE + fieldIndex;
}
inline int verdictFieldId(int fieldIndex) {
    return IDC_VERDICT_BASE + fieldIndex;
}
inline int fieldIndexOfAnswerId(int answerId) {
    return answerId - IDC_ANSWER_BASE;
}
inline int rewardFieldId(int question) {
    return IDC_REWARD_BASE + question;
}
inline int pictureFieldId(int question) {
    return IDC_PICTURE_BASE + question;
}

// What stands on the board, in the order it is created. Coordinates are board client pixels
// before any scrolling.
enum class BoardControl {
    kPictureField,
    kAnswerCaption,
    kQuestionNumber,
    kQuestionText,
    kPlayButton,
    kStopButton,
    kAnswerField, // its verdict field follows it at once
    kVerdictField,
    kRewardField,
};

struct PlacedControl {
    BoardControl kind;
    int id;
    int x, y, width, height;
    int question;   // n, from 1
    int answer = 0; // k for answer and verdict fields; 1 or 2 for the captions
};

struct PictureSize {
    int width = 0; // 0 x 0: no picture
    int height = 0;
};

struct BoardPlan {
    std::vector<PlacedControl> controls;
    int contentWidth = 0;
    int contentHeight = 0;
};

// The whole board of a quiz. `pictureSize` gives the size of question n's picture once fitted
// into its kPictureBox square (picture grids only; asked for each question at most once per row
// band, never for questions past the last).
BoardPlan planBoard(const QuizRecord& record, const std::function<PictureSize(int)>& pictureSize);
