// The fields of the whole quiz: title, creator, explanation, answers per question and their
// captions, colour, reward and codes.
#pragma once

#include "maker/quiz_document.h"
#include "studio/studio_dialogs.h"

#include <windows.h>

#include <vector>

class QuizPane {
  public:
    void create(HWND parent, HFONT font);
    // Lays the fields out in a column from (x, y); the height used.
    int layout(int x, int y, int width, int rowHeight);
    void show(const QuizSource& quiz);
    // A command of one of its controls; true when the document changed.
    bool command(int id, int code, QuizDocument& document, StudioDialogs& dialogs);
    void drawSwatch(const DRAWITEMSTRUCT& item) const;

  private:
    struct Row {
        HWND label = nullptr;
        std::vector<HWND> fields;
        int lines = 1;
    };
    bool takeText(int id, QuizDocument& document);
    bool chooseColour(QuizDocument& document, StudioDialogs& dialogs);

    HWND parent_ = nullptr;
    std::vector<Row> rows_;
    HWND title_ = nullptr, creator_ = nullptr, explanation_ = nullptr, answerCount_ = nullptr,
         firstLabel_ = nullptr, secondLabel_ = nullptr, colourButton_ = nullptr, swatch_ = nullptr,
         reward_ = nullptr, codes_ = nullptr;
    COLORREF colour_ = 0;
};
