// The score and the code of the reached level in the header pane, and F1's answer fill.
#pragma once

#include "content/quiz_record.h"

#include <windows.h>

#include <vector>

// Which of the verdict fields 1..fieldCount read exactly "BRAVO" (index: the field index).
// One walk over the board's controls: looking each field up by its identifier would walk
// them all again for every field.
std::vector<bool> rightVerdicts(HWND board, int fieldCount);

// Counts the questions whose every verdict field reads "BRAVO" and shows that score and its
// code in the header pane.
void updateScore(const QuizRecord& record, HWND board);

// Puts the text of `answerField` into every answer field not yet right, moving the focus
// through them (each is judged as it loses the focus), then back to `answerField`.
void tryAnswerEverywhere(HWND answerField);
