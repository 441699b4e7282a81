#include "judge/score.h"

#include "board/board_layout.h"
#include "judge/verdict.h"
#include "resources/resource_ids.h"
#include "win/control_text.h"
#include "win/player_state.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kNoCode = "      ";

bool questionSolved(const std::vector<bool>& right, int question, int perQuestion) {
    for (int answer = 1; answer <= perQuestion; ++answer)
        if (!right[fieldIndexOf({question, answer}, perQuestion)])
            return false;
    return true;
}

struct VerdictWalk {
    int fieldCount;
    std::vector<bool> right;
};

BOOL CALLBACK markRightVerdict(HWND control, LPARAM data) {
    auto& walk = *reinterpret_cast<VerdictWalk*>(data);
    const int field = GetDlgCtrlID(control) - IDC_VERDICT_BASE;
    if (field < 1 || field > walk.fieldCount)
        return TRUE;
    char text[kQuizTextSize];
    readWindowText(control, text);
    walk.right[field] = strcmp(text, verdictText(Verdict::kRight)) == 0;
    return TRUE;
}

} // namespace

std::vector<bool> rightVerdicts(HWND board, int fieldCount) {
    VerdictWalk walk{fieldCount, std::vector<bool>(std::max(fieldCount, 0) + 1, false)};
    if (board)
        EnumChildWindows(board, markRightVerdict, reinterpret_cast<LPARAM>(&walk));
    return walk.right;
}

void updateScore(const QuizRecord& record, HWND board) {
    const int perQuestion = answerFieldsPerQuestion(record);
    const std::vector<bool> right = rightVerdicts(board, answerFieldTotal(record));
    int score = 0;
    for (int question = 1; question <= record.questionCount; ++question)
        score += questionSolved(right, question, perQuestion) ? 1 : 0;

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
        // Read as the loop reaches it: moving the focus judges fields on the way, the one F1
        // was pressed in first of all, and a field made right meanwhile must be left alone.
        char verdict[kQuizTextSize];
        readControlText(board, verdictFieldId(field), verdict);
        if (strcmp(verdict, verdictText(Verdict::kRight)) == 0)
            continue;
        if (HWND other = GetDlgItem(board, answerFieldId(field))) {
            SetWindowTextA(other, text);
            SetFocus(other);
        }
    }
    SetFocus(answerField);
}
