// Finds the quiz in an executable's resources, decodes it and fills the record.
#pragma once

#include "content/quiz_record.h"

#include <windows.h>

// Messages of the loader, shown with the caption kLoaderCaption.
inline constexpr const char* kLoaderCaption = "Plimo";
inline constexpr const char* kQuizTextUnreadable = "Erreur dans le d\xE9"
                                                   "cryptage des reponses";
inline constexpr const char* kCodesMissing = "Codes non trouv\xE9s.";
inline constexpr const char* kCodesEmpty = "Codes non renseign\xE9s.";
inline constexpr const char* kCodesUnreadable = "Erreur dans le d\xE9"
                                                "cryptage des codes";

// Loads from the running executable. Never stops the program: problems are shown in message
// boxes and the record keeps what could be read. Returns false when the quiz text could not be
// read: the record then holds no quiz, only its construction values.
bool loadQuiz(QuizRecord& record);

// The same from any module holding the quiz resources (PATCH 104 and 105).
bool loadQuizFromModule(HMODULE module, QuizRecord& record);
