// The one in-memory record of the quiz that the executable carries, and its question list.
#pragma once

#include "content/platform.h"

#include <cstdint>

// Every text of the quiz is a NUL-terminated Windows-1252 string in a buffer of this size.
constexpr int kQuizTextSize = 260;
constexpr int kQuizTextMaxLength = kQuizTextSize - 1;
// The code table and the media buttons are sized for this many.
constexpr int kMaxQuestions = 96;

enum MediaKind : int32_t {
    kMediaTextList = 0,
    kMediaPictures = 1,
    kMediaSound = 2,
    kMediaVideo = 3,
};

enum RewardKind : int32_t {
    kRewardNone = 0,
    kRewardPicture = 1,
    kRewardText = 2,
    kRewardMessage = 3,
    kRewardFinal = 4,
};

// Copies at most kQuizTextMaxLength bytes of a NUL-terminated text and terminates it.
void copyQuizText(char (&destination)[kQuizTextSize], const char* source);

struct QuestionNode {
    char answer1[kQuizTextSize];
    char answer2[kQuizTextSize];
    char questionText[kQuizTextSize];
    char rewardText[kQuizTextSize];
    QuestionNode* prev;
    QuestionNode* next;
};

// Owns its nodes; they are freed together, never one by one.
struct QuestionList {
    QuestionNode* firstQuestion = nullptr;
    QuestionNode* lastQuestion = nullptr;

    QuestionList() = default;
    QuestionList(const QuestionList&) = delete;
    QuestionList& operator=(const QuestionList&) = delete;
    ~QuestionList() { clear(); }

    // Frees every node and leaves both pointers null.
    void clear();
};

struct QuizRecord {
    int32_t mediaKind;
    char title[kQuizTextSize];
    char creator[kQuizTextSize];
    char explanation[kQuizTextSize];
    char answerLabel1[kQuizTextSize];
    char answerLabel2[kQuizTextSize];
    int32_t questionCount;
    int32_t answerFieldCount;
    char codes[kMaxQuestions][kQuizTextSize];
    int32_t rewardKind;
    HFONT answerFont;
    HFONT scoreFont;
    HFONT titleFont;
    int32_t finalRewardShown;
    uint8_t colourRed;
    uint8_t colourBlue;
    uint8_t colourGreen;
    HBRUSH backgroundBrush;
    HBRUSH wrongBrush;
    HBRUSH rightBrush;
    HBRUSH anagramBrush;
    HBRUSH nearBrush;
    HBRUSH questionTextBrush;
    HWND headerPane;
    char mediaDir[512];
    QuestionList questions;

    QuizRecord();
    QuizRecord(const QuizRecord&) = delete;
    QuizRecord& operator=(const QuizRecord&) = delete;
    // Releases every brush and font the record owns, then the question nodes.
    ~QuizRecord();
};

// Appends a question with an empty reward text. A failed allocation appends nothing.
void addQuestion(QuizRecord& record, const char* answer1, const char* answer2,
                 const char* questionText);

// Node `index` (zero-based); the last node when the list is shorter; null when it is empty.
QuestionNode* questionAt(const QuizRecord& record, int index);

// Sets the quiz colour and replaces the background brush with one of that colour.
void applyQuizColour(QuizRecord& record, uint8_t red, uint8_t green, uint8_t blue);
