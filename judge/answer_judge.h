// Judging one answer field of the board: its verdict, the rewards it earns, the score.
#pragma once

#include "content/quiz_record.h"

#include <windows.h>

// Judges answer field `answerFieldId` of `board` against its question's expected answer.
// Controls the board has not created are skipped.
void judgeAnswer(QuizRecord& record, HWND board, int answerFieldId);

// While one lives, judging leaves the score and the final reward alone; they are brought up
// to date once when the last one ends. Building the board judges every field, and each
// judging would otherwise recount the whole board: what the player sees is the same.
class DeferredBoardTotals {
  public:
    DeferredBoardTotals(QuizRecord& record, HWND board);
    ~DeferredBoardTotals();
    DeferredBoardTotals(const DeferredBoardTotals&) = delete;
    DeferredBoardTotals& operator=(const DeferredBoardTotals&) = delete;

  private:
    QuizRecord& record_;
    HWND board_;
};

// While silenced, a right question shows no message box (its reward field still shows). Set
// once the answers are saved for closing; start-up clears it.
void silenceRewardMessages(bool silenced);

// The font of the answer fields, made once when the board is built.
void createAnswerFont(QuizRecord& record);

// Caption of the box that shows a question's reward text.
inline constexpr const char* kRewardBoxCaption = "texte";
