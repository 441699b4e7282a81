#include "judge/answer_judge.h"

#include "board/board_layout.h"
#include "judge/score.h"
#include "judge/verdict.h"
#include "resources/quiz_resource_ids.h"
#include "shell/pictures.h"
#include "win/control_text.h"
#include "win/handles.h"

#include <bitset>

namespace {

// The box takes the focus from the field that was just judged, which judges it again: without
// this latch one Enter would put the same message up twice, one box inside the other. It is
// kept per question, so that another question made right while a box is open (by F1, or by a
// restore) still shows its own.
std::bitset<kMaxQuestions + 1> rewardMessageShowing;

// Set once the answers are saved for closing: the windows going away move the focus, which
// judges a field once more, and no box may come up while the player's window closes.
bool rewardMessagesSilenced = false;

// How many DeferredBoardTotals live: while any does, judging leaves the board totals alone.
int deferredTotals = 0;

// The expected answer of a slot; a question without a node expects the empty text.
const char* expectedAnswer(const QuizRecord& record, AnswerSlot slot) {
    const QuestionNode* node = questionAt(record, slot.question - 1);
    if (!node)
        return "";
    return slot.answer == 1 ? node->answer1 : node->answer2;
}

void showControl(HWND board, int id, int command) {
    if (HWND control = GetDlgItem(board, id))
        ShowWindow(control, command);
}

bool questionFullyRight(const QuizRecord& record, HWND board, int question) {
    const int perQuestion = answerFieldsPerQuestion(record);
    for (int answer = 1; answer <= perQuestion; ++answer) {
        AnswerSlot slot{question, answer};
        char typed[kQuizTextSize];
        readControlText(board, answerFieldId(fieldIndexOf(slot, perQuestion)), typed);
        if (!answersMatch(expectedAnswer(record, slot), typed))
            return false;
    }
    return true;
}

void showRewardPicture(HWND board, int question) {
    HWND pictureField = GetDlgItem(board, pictureFieldId(question));
    if (!pictureField)
        return;
    UniqueGdiObject<HBITMAP> reward(
        loadPictureResource(GetModuleHandleA(nullptr), IDR_REWARD_PICTURE_BASE + question,
                            kMediaResourceType, kPictureBox, kPictureBox));
    if (!reward)
        return;
    // The field owns the bitmap it shows, and shows the new one before the old one is deleted.
    HBITMAP shown = reward.release();
    UniqueGdiObject<HBITMAP> previous(reinterpret_cast<HBITMAP>(
        SendMessageA(pictureField, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown))));
    if (previous.get() == shown)
        previous.release();
}

void showRewardMessage(const QuizRecord& record, int question) {
    if (rewardMessagesSilenced || question < 1 || question > kMaxQuestions ||
        rewardMessageShowing[question])
        return;
    rewardMessageShowing[question] = true;
    const QuestionNode* node = questionAt(record, question - 1);
    MessageBoxA(nullptr, node ? node->rewardText : "", kRewardBoxCaption, MB_OK);
    rewardMessageShowing[question] = false;
}

void runQuestionReward(const QuizRecord& record, HWND board, int question) {
    if (record.rewardKind == kRewardNone || !questionFullyRight(record, board, question))
        return;
    switch (record.rewardKind) {
    case kRewardPicture:
        showRewardPicture(board, question);
        break;
    case kRewardText:
        showControl(board, rewardFieldId(question), SW_SHOW);
        break;
    case kRewardMessage:
        showControl(board, rewardFieldId(question), SW_SHOW);
        showRewardMessage(record, question);
        break;
    default:
        break; // the final reward acts once the whole quiz is right
    }
}

void showFinalRewardIfEarned(QuizRecord& record, HWND board) {
    if (record.rewardKind != kRewardFinal || record.finalRewardShown)
        return;
    const int total = answerFieldTotal(record);
    const std::vector<bool> right = rightVerdicts(board, total);
    for (int field = 1; field <= total; ++field) {
        if (!right[field])
            return;
    }
    record.finalRewardShown = 1;
    for (int question = 1; question <= record.questionCount; ++question)
        showControl(board, rewardFieldId(question), SW_SHOW);
}

// The steps that look at the whole board rather than the judged field.
void updateBoardTotals(QuizRecord& record, HWND board) {
    showFinalRewardIfEarned(record, board);
    updateScore(record, board);
}

} // namespace

DeferredBoardTotals::DeferredBoardTotals(QuizRecord& record, HWND board)
    : record_(record), board_(board) {
    ++deferredTotals;
}

DeferredBoardTotals::~DeferredBoardTotals() {
    if (--deferredTotals == 0)
        updateBoardTotals(record_, board_);
}

void judgeAnswer(QuizRecord& record, HWND board, int answerFieldId) {
    const int fieldIndex = fieldIndexOfAnswerId(answerFieldId);
    const AnswerSlot slot = answerSlotOf(fieldIndex, answerFieldsPerQuestion(record));

    char typed[kQuizTextSize];
    readControlText(board, answerFieldId, typed);
    const Verdict verdict = chooseVerdict(expectedAnswer(record, slot), typed);

    if (verdict == Verdict::kRight) {
        runQuestionReward(record, board, slot.question);
    } else {
        showControl(board, rewardFieldId(slot.question), SW_HIDE);
        record.finalRewardShown = 0;
    }
    SetDlgItemTextA(board, verdictFieldId(fieldIndex), verdictText(verdict));
    if (deferredTotals == 0)
        updateBoardTotals(record, board);
}

void silenceRewardMessages(bool silenced) {
    rewardMessagesSilenced = silenced;
}

void createAnswerFont(QuizRecord& record) {
    deleteFont(record.answerFont);
    record.answerFont = createFont({.height = 15, .weight = 100});
}
