// A stand-in for the question board and the header pane: real windows holding the controls
// that the judge and the score read and write, at the board's identifiers.
#pragma once

#include "content/quiz_record.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct QuizSetup {
    int mediaKind = kMediaPictures;
    int answerFieldCount = 1;
    int rewardKind = kRewardNone;
    // Expected answers per question: answer1, answer2.
    std::vector<std::pair<std::string, std::string>> answers;
    std::vector<std::string> codes;
    std::vector<std::string> rewardTexts;
    // Leave out the controls a board of this kind would not have.
    bool withVerdictFields = true;
};

class BoardHarness {
  public:
    explicit BoardHarness(const QuizSetup& setup);
    ~BoardHarness();
    BoardHarness(const BoardHarness&) = delete;
    BoardHarness& operator=(const BoardHarness&) = delete;

    QuizRecord& record() { return *record_; }
    HWND board() const { return board_; }
    HWND header() const { return header_; }
    HWND answerField(int fieldIndex) const;

    // Types `text` into answer field f and judges it.
    void answer(int fieldIndex, const std::string& text);
    std::string verdict(int fieldIndex) const;
    std::string score() const;
    std::string code() const;
    bool rewardShown(int question) const;
    HBITMAP picture(int question) const;

  private:
    HWND createChild(HWND parent, const char* type, const char* text, DWORD style, int id);

    std::unique_ptr<QuizRecord> record_;
    HWND board_ = nullptr;
    HWND header_ = nullptr;
};

std::string textOfControl(HWND dialog, int id);
