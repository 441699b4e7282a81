#include "judge/score.h"

#include "board/board_layout.h"
#include "judge/verdict.h"
#include "shell/control_text.h"
#include "shell/main_window.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kNoCode = "      ";

bool questionSolved(const QuizRecord& record, HWND board, int question) {
    const int perQuestion = answerFieldsPerQuestion(record);
    for (int answer = 1; answer <= perQuestion; ++answer) {
        int field = fieldIndexOf({question, answer}, perQuestion);
        if (!controlTextIs(board, verdictFieldId(field), verdictText(Verdict::kRight)))
            return false;
    }
    return true;
}

} // namespace

void updateScore(const QuizRecord& record, HWND board) {
    int score = 0;
    for (int question = 1; question <= record.questionCount; ++question)
        score += questionSolved(record, board, question) ? 1 : 0;

    char scoreText[32];
    snprintf(scoreText, sizeof scoreText, " %d / %d", score, record.questionCount);
    SetDlgItemTextA(record.headerPane, kScoreFieldId, scoreText);
    // A quiz has at most as many codes as the table holds, one per score level.
    const char* code = score == 0 ? kNoCode : record.codes[std::min(score, kMaxQuestions) - 1];
    SetDlgItemTextA(record.headerPane, kCodeFieldId, code);
}

void tryAnswerEverywhere(HWND answerField) {
    HWND board = GetParent(answerField);
    char text[kQuizTextSize];
    readWindowText(answerField, text);
    const int total = answerFieldTotal(*quizRecord);
    for (int field = 1; field <= total; ++field) {
        if (controlTextIs(board, verdictFieldId(field), verdictText(Verdict::kRight)))
            continue;
        if (HWND other = GetDlgItem(board, answerFieldId(field))) {
            SetWindowTextA(other, text);
            SetFocus(other);
        }
    }
    SetFocus(answerField);
}
